#include "port_choices.h"

#include "midi_port.h"
#include "port_match.h"

namespace korvel::ui {

PortChoices MakePortChoices(const std::vector<std::string>& ports, const std::string& remembered) {
    PortChoices choices;
    const auto found = remembered.empty() ? std::nullopt : midi::MatchPort(ports, remembered).name;
    for (const auto& port : ports) {
        if (found && port == *found) {
            choices.selected = static_cast<int>(choices.entries.size());
        }
        choices.entries.push_back({port, port});
    }
    if (!remembered.empty() && !found) {
        choices.selected = static_cast<int>(choices.entries.size());
        choices.entries.push_back({remembered, remembered + " (missing)"});
    }
    if (choices.entries.empty()) {
        choices.entries.push_back({"", midi::kNoPortsText});
    }
    return choices;
}

}  // namespace korvel::ui
