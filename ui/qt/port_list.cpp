#include "port_list.h"

#include "text_codec.h"

namespace korvel::qt {

void FillPortList(QComboBox* list, const ui::PortChoices& choices) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const auto& entry : choices.entries) {
        list->addItem(ToDisplay(entry.label), QByteArray::fromStdString(entry.port));
    }
    list->setCurrentIndex(choices.selected);
}

std::string ChosenPort(const QComboBox* list) {
    return list->currentData().toByteArray().toStdString();
}

void RefillPortList(QComboBox* list, const std::vector<std::string>& ports) {
    FillPortList(list, ui::MakePortChoices(ports, ChosenPort(list)));
}

}  // namespace korvel::qt
