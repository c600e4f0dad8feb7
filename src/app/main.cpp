#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/manual.h"
#include "platform/layout.h"
#include "platform/qtplatform.h"
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
#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

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
    QApplication app(argc, argv);
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
    QFile out, err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
#ifdef Q_OS_UNIX
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
