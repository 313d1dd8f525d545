// The entries of a port list in the MIDI dialogs: the ports there are, with the remembered port
// preselected where the MIDI layer's matcher finds it, and shown as missing rather than
// silently replaced by another where it does not.
#pragma once

#include <string>
#include <vector>

namespace korvel::ui {

struct PortChoice {
    std::string port;   // the name to open; empty for the "No MIDI ports found" entry
    std::string label;  // what the list shows
};

struct PortChoices {
    std::vector<PortChoice> entries;
    int selected = 0;  // the remembered port's entry, or the first
};

PortChoices MakePortChoices(const std::vector<std::string>& ports, const std::string& remembered);

}  // namespace korvel::ui
