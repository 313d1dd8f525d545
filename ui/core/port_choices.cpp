#include "port_choices.h"

#include "midi_port.h"

namespace korvel::ui {

PortChoices MakePortChoices(const std::vector<std::string>& ports, const std::string& remembered) {
    PortChoices choices;
    for (const auto& port : ports) {
        if (port == remembered) {
            choices.selected = static_cast<int>(choices.entries.size());
        }
        choices.entries.push_back({port, port});
    }
    if (!remembered.empty() && choices.selected == 0 &&
        (ports.empty() || ports.front() != remembered)) {
        choices.selected = static_cast<int>(choices.entries.size());
        choices.entries.push_back({remembered, remembered + " (missing)"});
    }
    if (choices.entries.empty()) {
        choices.entries.push_back({"", kNoPortsText});
    }
    return choices;
}

}  // namespace korvel::ui
