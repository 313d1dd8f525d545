// The core's data as the page reads it: a pane's tree, the command table, port choices,
// backups and recent files.
#pragma once

#include "backups.h"

#include "commands.h"
#include "dump_tree.h"
#include "port_choices.h"
#include "recent_files.h"

#include <string>
#include <vector>

namespace korvel::web {

// Nodes as {text, icon, tag, mark, compared, namesDiffer, children}.
std::string ForestJson(const ui::Forest& forest);
std::string PathJson(const ui::NodePath& path);
std::string CommandsJson();
std::string PortChoicesJson(const ui::PortChoices& choices);
std::string BackupsJson(const BackupList& list);
std::string RecentJson(const std::vector<ui::RecentEntry>& entries);

}  // namespace korvel::web
