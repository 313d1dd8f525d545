// Korvel: one window for two W2 dumps side by side. The program ends when the window does.
#include "main_window.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel"));
    korvel::qt::MainWindow window(korvel::qt::DefaultSettingsPath());
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    window.exec();
    return 0;
}
