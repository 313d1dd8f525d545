#include "page_json.h"

#include "json_text.h"

namespace korvel::web {

namespace {

template <typename List, typename Write>
std::string ArrayOf(const List& list, Write write) {
    std::string text = "[";
    for (const auto& entry : list) {
        if (text.size() > 1) {
            text += ',';
        }
        text += write(entry);
    }
    return text + "]";
}

const char* ScopeWord(ui::CommandScope scope) {
    switch (scope) {
        case ui::CommandScope::paneButton:
            return "paneButton";
        case ui::CommandScope::pane:
            return "pane";
        case ui::CommandScope::window:
            break;
    }
    return "window";
}

std::string NodeJson(const ui::TreeNode& node) {
    return JsonObject()
        .Add("text", node.text)
        .Add("icon", node.icon)
        .Add("tag", static_cast<long long>(node.tag))
        .Add("mark", MarkWord(node.mark))
        .Add("compared", node.compared)
        .Add("namesDiffer", node.namesDiffer)
        .AddJson("children", ArrayOf(node.children, NodeJson))
        .Text();
}

}  // namespace

std::string ForestJson(const ui::Forest& forest) {
    return ArrayOf(forest, NodeJson);
}

std::string PathJson(const ui::NodePath& path) {
    return JsonObject()
        .Add("bank", path.bank)
        .Add("child", path.child)
        .Add("pattern", path.pattern)
        .Text();
}

std::string CommandsJson() {
    int index = 0;
    return ArrayOf(ui::Commands(), [&index](const ui::Command& command) {
        return JsonObject()
            .Add("index", index++)
            .Add("name", command.name)
            .Add("text", command.text)
            .Add("keys", command.keys)
            .Add("tooltip", command.tooltip)
            .Add("scope", ScopeWord(command.scope))
            .Add("treeKeys", command.treeKeys)
            .Add("nodeMenu", command.nodeMenu)
            .Add("windowMenu", command.windowMenu)
            .Add("usesMidi", ui::UsesMidi(command.id))
            .Add("accessibleName", command.accessibleName ? command.accessibleName : "")
            .Text();
    });
}

std::string PortChoicesJson(const ui::PortChoices& choices) {
    return JsonObject()
        .Add("selected", choices.selected)
        .AddJson(
            "entries",
            ArrayOf(
                choices.entries,
                [](const ui::PortChoice& choice) {
                    return JsonObject().Add("port", choice.port).Add("label", choice.label).Text();
                }))
        .Text();
}

std::string BackupsJson(const BackupList& list) {
    return JsonObject()
        .Add("problem", list.problem)
        .AddJson("backups", ArrayOf(list.backups,
                                    [](const Backup& backup) {
                                        return JsonObject()
                                            .Add("path", backup.path)
                                            .Add("when", backup.when)
                                            .Add("change", backup.change)
                                            .Add("messages", backup.messages)
                                            .Add("readable", backup.readable)
                                            .Text();
                                    }))
        .Text();
}

std::string RecentJson(const std::vector<ui::RecentEntry>& entries) {
    return ArrayOf(entries, [](const ui::RecentEntry& entry) {
        return JsonObject().Add("path", entry.path).Add("present", entry.present).Text();
    });
}

}  // namespace korvel::web
