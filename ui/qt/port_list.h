// Filling a port list of the MIDI dialogs from the core's choices, and reading it back.
#pragma once

#include "port_choices.h"

#include <QComboBox>

#include <string>

namespace korvel::qt {

void FillPortList(QComboBox* list, const ui::PortChoices& choices);
// The port of the chosen entry; empty for none.
std::string ChosenPort(const QComboBox* list);

}  // namespace korvel::qt
