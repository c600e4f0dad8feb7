#include "app/layout.h"
#include "app/mainwindow.h"
#include "app/qtplatform.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

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

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("GLIMMERON"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setTwipsPerPixel(fittingTwipsPerPixel(screen->availableGeometry().size(), windowChrome()));
    QtPlatform platform;
    // LED.cfg lives in the folder the program starts in; nothing changes that folder later.
    Main_LEDFlasher_form window(
        platform, QDir::current().filePath(QStringLiteral("LED.cfg")),
        QUrl::fromLocalFile(QDir(QApplication::applicationDirPath()).filePath("manual.html")));
    platform.setParentWindow(&window);
    window.show();
    return app.exec();
}
