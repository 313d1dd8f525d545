// Korvel: one window for two W2 dumps side by side. The program ends when the window does.
// `korvel [LEFT.syx [RIGHT.syx]]` opens the files into the panes at start.
#include "main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
#include <string_view>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

void DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Copies patterns, tracks, playlists and banks between W2 sequencer dumps."));
    parser.addHelpOption();
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

// Printed here rather than by the parser, which on Windows puts them in a message box.
void PrintText(const QCommandLineParser& parser, const QCommandLineOption& version) {
#if defined(Q_OS_WIN)
    // A window program has no console of its own; the one it was started from takes the text.
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        (void)std::freopen("CONOUT$", "w", stdout);
    }
#endif
    const QString text = parser.isSet(version)
                             ? QCoreApplication::applicationName() + QLatin1Char(' ') +
                                   QCoreApplication::applicationVersion() + QLatin1Char('\n')
                             : parser.helpText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Korvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    const QCommandLineOption version = parser.addVersionOption();
    if (OnlyAsksForText(argc, argv)) {
        const QCoreApplication text(argc, argv);
        parser.parse(QCoreApplication::arguments());
        PrintText(parser, version);
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
