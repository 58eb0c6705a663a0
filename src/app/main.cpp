#include "core/FileSizeSignal.h"
#include "app/MainWindow.h"
#include "app/MemoryTuning.h"
#include "app/QtDesktop.h"
#include "cli/SortRun.h"
#include "core/SettingsStore.h"
#include "paper/PaperWriter.h"
#include "session/Session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <sys/stat.h>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Orvella"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVELLA_VERSION));
}

// "orvella [FILE...]": text files of names to start with, besides --help and --version.
void describeCommandLine(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Sorts lists of personal names by last name.\n\n"
                       "orvella --sort [OPTIONS] [FILE...] sorts without a window, for scripts and pipelines;\n"
                       "orvella --sort --help lists its options."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Text files whose names (one a line) the input list starts with, "
                                                "in the order given."),
                                 QStringLiteral("[FILE...]"));
}

// --help and --version are answered on the terminal without a display. Qt's own
// options (-style, -platform ...) are unknown to the parser: those command lines go on
// to the window, whose application takes them out before the parser sees the rest.
void answerHelpOrVersion(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (!parser.parse(arguments))
        return;
    const bool answersOnTerminal = parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
                                   parser.isSet(QStringLiteral("version"));
    if (!answersOnTerminal)
        return;
    QCoreApplication terminal(argc, argv);
    nameApplication();
    parser.process(terminal); // prints the answer and ends the program
}

// The files named on the command line as the bytes of their arguments. A name that is
// no valid text in the locale's encoding is decoded with U+FFFD for the bytes that do not
// fit, and that text names another file or none; its bytes still name the file. By now
// argv holds only what the parser saw (QApplication takes its own options out of it),
// and the positional arguments are some of those entries decoded, in order: each is
// the next entry that decodes to it.
QList<QByteArray> commandLineFiles(const QStringList &positional, int argc, char *argv[])
{
    QList<QByteArray> files;
    int next = 1;
    for (const QString &text : positional) {
        while (next < argc && QString::fromLocal8Bit(argv[next]) != text)
            ++next;
        files << (next < argc ? QByteArray(argv[next++]) : QFile::encodeName(text));
    }
    return files;
}

// A file named on the command line that is not there is named on standard error too:
// the box that says "File not found" does not say which one.
void tellMissingFiles(const QList<QByteArray> &files)
{
    for (const QByteArray &file : files) {
        struct stat status {};
        if (::stat(file.constData(), &status) != 0)
            std::fprintf(stderr, "orvella: %s: File not found\n", file.constData());
    }
}

// The platforms Qt is told to try, in turn ("wayland;xcb"): those of Qt's -platform
// option, else of QT_QPA_PLATFORM; none when neither names any (Qt then picks one).
QList<QByteArray> chosenPlatforms(int argc, char *argv[])
{
    QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            chosen = argv[i + 1];
    }
    QList<QByteArray> platforms;
    for (const QByteArray &platform : chosen.split(';')) {
        // "xcb:option=value": the plugin's name comes before its options.
        const QByteArray name = platform.left(platform.indexOf(':')).trimmed();
        if (!name.isEmpty())
            platforms << name;
    }
    return platforms;
}

bool hasX11Display()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

// A Wayland client connects to WAYLAND_DISPLAY, a socket it was handed, or else the
// compositor's first socket.
bool hasWaylandDisplay()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat status {};
    return !runtime.isEmpty() && ::stat((runtime + "/wayland-0").constData(), &status) == 0;
}

// Whether the window has anywhere to go: an X11 or Wayland display, or a platform that
// needs none (offscreen, say) chosen in QT_QPA_PLATFORM or by Qt's -platform option.
// X11 chosen without a display, or Wayland without a compositor, has nowhere: Qt would
// abort when the window's application is made.
bool hasDisplay(int argc, char *argv[])
{
    const QList<QByteArray> platforms = chosenPlatforms(argc, argv);
    if (platforms.isEmpty())
        return hasX11Display() || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    for (const QByteArray &platform : platforms) {
        if (platform.startsWith("xcb") ? hasX11Display()
                                       : !platform.startsWith("wayland") || hasWaylandDisplay())
            return true;
    }
    return false;
}

// "--format pdf" (or "--format=pdf") among the sort's arguments.
bool asksForPdf(const QList<QByteArray> &arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--format=pdf" || (arguments[i] == "--format" && arguments.value(i + 1) == "pdf"))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    orvella::app::tuneAllocatorForLargeLists();
    orvella::core::ignoreFileSizeSignal();
    // "orvella --sort ...": the sort for scripts and pipelines, with no window and no
    // display.
    if (argc > 1 && qstrcmp(argv[1], "--sort") == 0) {
        QList<QByteArray> arguments;
        for (int i = 2; i < argc; ++i)
            arguments << QByteArray(argv[i]);
        if (!asksForPdf(arguments)) {
            QCoreApplication terminal(argc, argv);
            nameApplication();
            const orvella::core::IniSettingsStore settings;
            return orvella::cli::runSort(arguments, settings, QStringLiteral(ORVELLA_VERSION));
        }
        // Fonts and the painter need a Qt Gui application, which needs no display on the
        // offscreen platform.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication terminal(argc, argv);
        nameApplication();
        const orvella::core::IniSettingsStore settings;
        orvella::paper::PaperWriter paper;
        return orvella::cli::runSort(arguments, settings, QStringLiteral(ORVELLA_VERSION), &paper);
    }
    answerHelpOrVersion(argc, argv);
    if (!hasDisplay(argc, argv)) {
        std::fputs("orvella: no display to show the window on (X11 or Wayland); `orvella --sort` works without one\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    nameApplication();
    // Lets the desktop match the window to the installed orvella.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("orvella"));
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(application); // an unknown option is named on the terminal and ends the program

    // The composition root: the desktop and the settings store make the session, which
    // the window shows.
    orvella::app::QtDesktop desktop;
    orvella::core::IniSettingsStore settings;
    // A write that waits for another copy of the program lets the window go on.
    settings.setLockWait([&desktop] { desktop.yield(); });
    orvella::session::Session session(desktop, settings);
    orvella::paper::PaperWriter paper;
    session.context().paper = &paper;
    orvella::app::MainWindow window(session);
    window.Form_Load();
    window.show();
    // Files named on the command line (a file manager's "Open with" passes them here).
    // Without any the window starts as it always does.
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty()) {
        const QList<QByteArray> paths = commandLineFiles(files, argc, argv);
        tellMissingFiles(paths);
        window.history().run(QStringLiteral("Open Files"), [&] { session.openFiles(paths); });
    }
    return application.exec();
}
