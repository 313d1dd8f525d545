#include "main_dialog.h"

#include "bank_names.h"
#include "side_file.h"

#include "copy_stop.h"
#include "item_operations.h"
#include "messages.h"

#include <tuple>

namespace korvel::ui {

namespace {

const char* PaneName(int pane) {
    return pane == kLeftPane ? "left" : "right";
}

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

std::string FileNameOf(const std::string& path) {
    const auto separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderOf(const std::string& path) {
    const auto separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

// Everything a command can change in an image that a save would keep: which message each
// slot holds (a copy always brings a fresh buffer) and the bank names, the only names saved.
auto Snapshot(const DumpImage& image) {
    std::array<const std::uint8_t*, kPatternSlotCount + kPlaylistSlotCount> slots{};
    for (int i = 0; i < kPatternSlotCount; ++i) {
        slots[static_cast<std::size_t>(i)] = image.patterns[static_cast<std::size_t>(i)].begin;
    }
    for (int i = 0; i < kPlaylistSlotCount; ++i) {
        slots[static_cast<std::size_t>(kPatternSlotCount + i)] =
            image.playlists[static_cast<std::size_t>(i)].begin;
    }
    return std::make_tuple(slots, image.bankNames);
}

}  // namespace

void MainDialog::Start(SettingsStore& settings) {
    const PaneSettings stored = ReadSettings(settings);
    for (int p = 0; p < 2; ++p) {
        At(p).folder = stored.folders[static_cast<std::size_t>(p)];
    }
    for (int p = 0; p < 2; ++p) {
        At(p).image->SetLayoutChoice(stored.layoutValues[static_cast<std::size_t>(p)]);
    }
    RebuildTree(kLeftPane);
    RebuildTree(kRightPane);
}

bool MainDialog::MayEnd() {
    const bool left = At(kLeftPane).changed;
    const bool right = At(kRightPane).changed;
    if (!left && !right) {
        return true;
    }
    const std::string which = left && right ? "The left and the right dump have"
                              : left        ? "The left dump has"
                                            : "The right dump has";
    return host_.AskYesNo(which + " unsaved changes.\nEnd Korvel and discard them?",
                          kKorvelCaption);
}

void MainDialog::End(SettingsStore& settings) {
    PaneSettings values;
    for (int p = 0; p < 2; ++p) {
        values.folders[static_cast<std::size_t>(p)] = At(p).folder;
        values.layoutValues[static_cast<std::size_t>(p)] = At(p).image->GetLayoutChoice();
    }
    WriteSettings(settings, values);
    At(kLeftPane).image.reset();
    At(kRightPane).image.reset();
}

bool MainDialog::MayDiscard(int pane) {
    if (!At(pane).changed) {
        return true;
    }
    return host_.AskYesNo(
        std::string("The ") + PaneName(pane) + " dump has unsaved changes.\nDiscard them?",
        kKorvelCaption);
}

void MainDialog::RebuildTree(int pane) {
    At(pane).tree = Rebuild(*At(pane).image);
    host_.TreeRebuilt(pane);
}

void MainDialog::RefreshTree(int pane) {
    const auto changes = Refresh(*At(pane).image, At(pane).tree);
    host_.TreeRefreshed(pane, changes);
}

void MainDialog::OnOpen(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    const auto path = host_.ChooseOpenFile(pane, At(pane).folder);
    if (!path) {
        return;
    }
    auto image = std::make_unique<DumpImage>();
    const LoadResult loaded = loader_(*image, *path);
    if (loaded.status == LoadStatus::cannotOpen || loaded.status == LoadStatus::notRegular) {
        return;
    }
    if (loaded.status == LoadStatus::noMemory) {
        host_.ShowMessage(loaded.message, kErrorCaption);
        return;
    }
    if (!loaded.ok()) {
        // Nothing of a file read only in part is shown, so it cannot be saved over the file.
        host_.ShowMessage(loaded.message, kReadErrorCaption);
        return;
    }
    Pane& target = At(pane);
    target.image = std::move(image);
    ReadBankNamesBeside(*target.image, *path);
    RebuildTree(pane);
    target.fileName = FileNameOf(*path);
    host_.ShowFileName(pane, target.fileName);
    target.folder = FolderOf(*path);
    target.lastFile = *path;
    target.changed = false;
    host_.ShowStatus(SkippedSummary(loaded.report));
}

void MainDialog::OnSave(int pane) {
    Pane& target = At(pane);
    const std::string startFolder = FolderOf(target.lastFile);
    const auto path = host_.ChooseSaveFile(pane, startFolder, target.fileName);
    if (!path) {
        return;
    }
    const DumpSaveResult saved = SaveDumpWithBankNames(*target.image, *path);
    if (!saved.dump.ok) {
        host_.ShowMessage("The dump could not be saved as\n" + *path + "\n\n" + saved.dump.reason,
                          kErrorCaption);
        return;
    }
    target.fileName = FileNameOf(*path);
    host_.ShowFileName(pane, target.fileName);
    target.lastFile = *path;
    target.changed = false;
    if (!saved.names.ok) {
        host_.ShowStatus("Saved " + target.fileName + ", but the bank names could not be written to " +
                         FileNameOf(saved.sideFile) + ": " + saved.names.reason);
    } else {
        host_.ShowStatus("Saved " + target.fileName);
    }
}

void MainDialog::OnNew(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    Pane& target = At(pane);
    target.image = std::make_unique<DumpImage>();
    RebuildTree(pane);
    target.fileName.clear();
    host_.ShowFileName(pane, target.fileName);
    target.changed = false;
}

void MainDialog::OnDelete(int pane) {
    const Selection selected = DecodeSelection(host_.SelectedTag(pane));
    if (selected.kind == kNoKind) {
        return;
    }
    DumpImage& image = *At(pane).image;
    const auto before = Snapshot(image);
    if (DeleteItem(image, selected) == 1) {
        At(pane).changed = At(pane).changed || Snapshot(image) != before;
        RefreshTree(pane);
    }
}

void MainDialog::OnRename(int pane) {
    const Selection selected = DecodeSelection(host_.SelectedTag(pane));
    if (selected.kind != kBankKind) {
        host_.ShowMessage(kOnlyBanksMessage, kKorvelCaption);
        return;
    }
    DumpImage& image = *At(pane).image;
    const auto text = host_.RunRenameDialog(VisibleBankText(image.GetBankName(selected.bank)));
    if (!text) {
        return;
    }
    const std::string before = image.GetBankName(selected.bank);
    image.SetBankName(selected.bank, RenamedBankName(selected.bank, *text));
    At(pane).changed = At(pane).changed || image.GetBankName(selected.bank) != before;
    RefreshTree(pane);
}

void MainDialog::OnMemLayout(int pane) {
    DumpImage& image = *At(pane).image;
    const auto choice = host_.RunLayoutDialog(image.GetLayoutChoice());
    if (!choice) {
        return;
    }
    image.SetLayoutChoice(*choice);
    RebuildTree(pane);
}

void MainDialog::OnTransfer(int sourcePane, int destinationPane) {
    const auto sourceTag = host_.SelectedTag(sourcePane);
    const auto destinationTag = host_.SelectedTag(destinationPane);
    if (!sourceTag || !destinationTag) {
        return;
    }
    const Selection from = SplitItemTag(*sourceTag);
    const Selection to = SplitItemTag(*destinationTag);
    const DumpImage& source = *At(sourcePane).image;
    DumpImage& destination = *At(destinationPane).image;
    if (const char* refusal = TransferRefusal(source, from, destination, to)) {
        host_.ShowMessage(refusal, kErrorCaption);
        return;
    }
    if (from.kind == kNoKind) {
        return;
    }
    const auto before = Snapshot(destination);
    const int result = CopyItem(destination, source, from, to);
    // A copy that stopped part way has changed the image too, so the tree shows it either way.
    At(destinationPane).changed = At(destinationPane).changed || Snapshot(destination) != before;
    RefreshTree(destinationPane);
    if (result == 0) {
        const auto stop = FindCopyStop(source, from);
        host_.ShowStatus(stop ? CopyStopText(*stop) : "Nothing was copied.");
    } else {
        host_.ShowStatus(std::string());
    }
}

}  // namespace korvel::ui
