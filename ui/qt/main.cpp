// Korvel: one window for two W2 dumps side by side. The program ends when the window does.
#include <QApplication>
#include <QIcon>

#include "main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel"));
    korvel::qt::MainWindow window(korvel::qt::DefaultSettingsPath());
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    window.exec();
    return 0;
}
