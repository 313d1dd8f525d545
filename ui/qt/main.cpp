// Korvel: one window for two W2 dumps side by side. The program ends when the window does.
// `korvel [LEFT.syx [RIGHT.syx]]` opens the files into the panes at start.
#include "main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <string_view>

namespace {

void DescribeCommandLine(QCommandLineParser& parser) {
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
}

// --help and --version answer without a display, as on a server or in a package's test.
bool OnlyAsksForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--help" || word == "-h" || word == "--help-all" || word == "--version" ||
            word == "-v") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Korvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    if (OnlyAsksForText(argc, argv)) {
        const QCoreApplication text(argc, argv);
        parser.process(text);  // prints and ends
        return 0;
    }
    QApplication app(argc, argv);
    parser.process(app);
    korvel::qt::MainWindow window(korvel::qt::DefaultSettingsPath());
    QApplication::setWindowIcon(window.windowIcon());
    window.OpenAtStart(parser.positionalArguments());
    window.show();
    window.exec();
    return 0;
}
