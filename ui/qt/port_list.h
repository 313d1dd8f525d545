// Filling a port list of the MIDI dialogs from the core's choices, and reading it back.
#pragma once

#include "port_choices.h"

#include "midi_port.h"

#include <QComboBox>

#include <functional>
#include <string>
#include <vector>

namespace korvel::qt {

void FillPortList(QComboBox* list, const ui::PortChoices& choices);
// The port of the chosen entry; empty for none.
std::string ChosenPort(const QComboBox* list);

// Reads the system's ports afresh; the lists' Refresh buttons call it.
using PortLister = std::function<midi::MidiPortList()>;

// Fills the list anew from `ports`, keeping the chosen port where it is still there.
void RefillPortList(QComboBox* list, const std::vector<std::string>& ports);

}  // namespace korvel::qt
