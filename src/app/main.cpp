#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/manual.h"
#include "platform/layout.h"
#include "platform/qtplatform.h"
#include "platform/standardoutput.h"
#include "settings/ledcfg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Without a display Qt ends the program inside QApplication's constructor, with an abort
// and a paragraph about reinstalling it. Until the display is reached its messages are
// held back: on failure the first says why, in one line that also says what works
// without one; on success they go out as they would have.
QtMessageHandler g_qtOutput = nullptr;
QList<std::tuple<QtMsgType, QString, QString>> g_heldMessages;

void holdUntilDisplay(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        g_heldMessages.append({type, QString::fromUtf8(context.category), text});
        return;
    }
    QString why = text.section(QLatin1Char('.'), 0, 0);
    for (const auto& [held, category, said] : g_heldMessages) {
        if (category.startsWith(QLatin1String("qt.qpa"))) { // "could not connect to display :1"
            why = said;
            break;
        }
    }
    std::fprintf(stderr,
                 "glimmeron: the editor needs a display, and none could be opened (%s). "
                 "These work without one: --stream, --download, --list-ports, --export-png, "
                 "--export-gif (see --help).\n",
                 qPrintable(why.simplified()));
    std::_Exit(1);
}

void releaseHeldMessages()
{
    qInstallMessageHandler(g_qtOutput);
    for (const auto& [type, category, text] : std::exchange(g_heldMessages, {})) {
        const QByteArray name = category.toUtf8();
        g_qtOutput(type, QMessageLogContext(nullptr, 0, nullptr, name.constData()), text);
    }
}

// What the window adds to its client area: menu bar, status bar and a frame whose size
// is only known once shown (a title bar and borders of about 40 and 8 pixels).
QSize windowChrome()
{
    QMenuBar bar;
    bar.addMenu(QStringLiteral("&File"));
    QStatusBar status;
    status.addWidget(new QLabel(QStringLiteral("Port"), &status));
    return {16, bar.sizeHint().height() + status.sizeHint().height() + 48};
}

int runWindow(int argc, char* argv[], const CommandLine& command)
{
    g_qtOutput = qInstallMessageHandler(holdUntilDisplay);
    QApplication app(argc, argv);
    releaseHeldMessages();
    QApplication::setApplicationName(QStringLiteral("GLIMMERON"));
    // The window's class and app id match the desktop entry: docks show its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.glimmeron"));
    QApplication::setWindowIcon(programIcon());
    // Qt's own dialogs and buttons in the user's language, where Qt has a translation.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setTwipsPerPixel(fittingTwipsPerPixel(screen->availableGeometry().size(), windowChrome()));
    QtPlatform platform;
    MainWindow window(platform, ledCfgLocation(), manualFileUrl(QApplication::applicationDirPath()),
                      userConfigFolder());
    platform.setParentWindow(&window);
    window.show();
    if (!command.file.isEmpty())
        window.openFile(command.file);
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    StandardOutput::holdClosedDescriptors();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = parseCommandLine(arguments);
    if (command.action == CommandLine::Action::Window)
        return runWindow(argc, argv, command);

    // No window, and no display needed: pictures are drawn off screen.
    if (needsGui(command))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(needsGui(command) ? new QGuiApplication(argc, argv)
                                                            : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("glimmeron"));
    StandardOutput out;
    QFile err;
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
#ifdef Q_OS_UNIX
    // A reader that went away is a failed write, reported, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    const bool errIsTerminal = isatty(STDERR_FILENO) != 0, inIsTerminal = isatty(STDIN_FILENO) != 0;
#else
    const bool errIsTerminal = false, inIsTerminal = false;
#endif
    Console console{out, err, errIsTerminal, nullptr};
    if (inIsTerminal) {
        console.waitForEnter = [] {
            int c = std::getchar();
            while (c != '\n' && c != EOF)
                c = std::getchar();
            return c == '\n';
        };
    }
    QtPlatform platform;
    return runCommand(command, platform, ledCfgLocation(), console);
}
