// Korvel: one window for two W2 dumps side by side. The program ends when the window does.
// `korvel [LEFT.syx [RIGHT.syx]]` opens the files into the panes at start.
#include "main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel"));
    QApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Copies patterns, tracks, playlists and banks between W2 sequencer dumps."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("left"),
                                 QStringLiteral("A dump to open in the left pane."),
                                 QStringLiteral("[LEFT.syx"));
    parser.addPositionalArgument(QStringLiteral("right"),
                                 QStringLiteral("A dump to open in the right pane."),
                                 QStringLiteral("[RIGHT.syx]]"));
    parser.process(app);  // --help and --version print and end here
    korvel::qt::MainWindow window(korvel::qt::DefaultSettingsPath());
    QApplication::setWindowIcon(window.windowIcon());
    window.OpenAtStart(parser.positionalArguments());
    window.show();
    window.exec();
    return 0;
}
