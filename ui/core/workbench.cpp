#include "workbench.h"

namespace korvel::ui {

Workbench::Workbench(Host& host, DumpLoader loader) : Workbench(host, host, host) {
    for (auto& pane : panes_) {
        pane.document.SetLoader(loader);
    }
}

Workbench::Workbench(Prompts& prompts, PaneViews& views, Services& services)
    : views_(views),
      dialogs_(services),
      files_(*this, prompts, services),
      edits_(*this, prompts, views, services),
      compare_(*this, views),
      link_(*this, prompts, services, files_) {
    Listen(kLeftPane);
    Listen(kRightPane);
}

void Workbench::Listen(int pane) {
    At(pane).document.SetListener([this, pane](const DocumentEvent& event) { Show(pane, event); });
}

void Workbench::Show(int pane, const DocumentEvent& event) {
    const bool contentChanged = event.change != DocumentChange::saved;
    if (contentChanged) {
        compare_.Recompare();
    }
    switch (event.change) {
        case DocumentChange::replaced:
            RebuildTree(pane);
            views_.ShowFileName(pane, document(pane).FileName());
            break;
        case DocumentChange::layout:
            RebuildTree(pane);
            break;
        case DocumentChange::edited:
            RefreshTree(pane, TextRule::keepShown);
            break;
        case DocumentChange::restored:
            // Texts a step put in go away with it, so the tree reads as it did before the step.
            RefreshTree(pane, TextRule::restoreDefaults);
            break;
        case DocumentChange::saved:
            views_.ShowFileName(pane, document(pane).FileName());
            break;
    }
    if (event.historyMoved) {
        views_.HistoryChanged(pane);
    }
    views_.ShowUnsaved(pane, IsChanged(pane));
    if (contentChanged && compare_.IsComparing()) {
        // The other tree's marks follow, and the status line says what differs now.
        RefreshTree(OtherPane(pane), TextRule::keepShown);
        Say({});
    }
}

void Workbench::Say(const std::string& text) {
    const auto summary = compare_.Summary();
    if (!summary) {
        views_.ShowStatus(text);
        return;
    }
    views_.ShowStatus(text.empty() ? *summary : text + " \u00B7 " + *summary);
}

void Workbench::RebuildTree(int pane) {
    const auto side = compare_.SideOf(pane);
    At(pane).tree = Rebuild(image(pane), side ? &*side : nullptr);
    views_.TreeRebuilt(pane);
}

void Workbench::RefreshTree(int pane, TextRule texts) {
    const auto side = compare_.SideOf(pane);
    const auto changes = Refresh(image(pane), At(pane).tree, texts, side ? &*side : nullptr);
    views_.TreeRefreshed(pane, changes);
}

DropAnswer Workbench::MayDrop(int pane, const Drag& drag, std::optional<ItemTag> target) const {
    if (!drag.fromPane) {
        return {!drag.files.empty(), false};
    }
    if (*drag.fromPane == pane || !target) {
        return {};  // within one tree a drag does nothing
    }
    // Every node of the other tree takes the drop, so a refusal says why as "-->" does; only
    // a node that would copy is highlighted.
    return {true, edits_.WouldAcceptDrop(*drag.fromPane, pane, *target)};
}

void Workbench::OnDrop(int pane, const Drag& drag, std::optional<ItemTag> target) {
    if (drag.fromPane) {
        if (target && *drag.fromPane != pane) {
            edits_.OnDropTransfer(*drag.fromPane, pane, *target);
        }
    } else if (drag.files.size() >= 2) {
        files_.OnOpenNamed(kLeftPane, drag.files[0]);
        files_.OnOpenNamed(kRightPane, drag.files[1]);
    } else if (drag.files.size() == 1) {
        files_.OnOpenNamed(pane, drag.files[0]);
    }
}

void Workbench::Start(SettingsStore& settings) {
    const PaneSettings stored = ReadSettings(settings);
    for (int p = 0; p < 2; ++p) {
        At(p).folder = stored.folders[static_cast<std::size_t>(p)];
        At(p).recent.Read(settings, p);
    }
    for (int p = 0; p < 2; ++p) {
        edits_.ApplyLayoutChoice(p, stored.layoutValues[static_cast<std::size_t>(p)]);
    }
    link_.Start(settings);
}

void Workbench::End(SettingsStore& settings) {
    PaneSettings values;
    for (int p = 0; p < 2; ++p) {
        values.folders[static_cast<std::size_t>(p)] = At(p).folder;
        values.layoutValues[static_cast<std::size_t>(p)] = image(p).Layout().Choice();
    }
    WriteSettings(settings, values);
    link_.End(settings);
    for (int p = 0; p < 2; ++p) {
        At(p).recent.Write(settings, p);
    }
}

}  // namespace korvel::ui
