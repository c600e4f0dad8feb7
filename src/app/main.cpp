#include "app/mainwindow.h"
#include "app/qtplatform.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("GLIMMERON"));
    QtPlatform platform;
    // LED.cfg lives in the folder the program starts in; nothing changes that folder later.
    Main_LEDFlasher_form window(
        platform, QDir::current().filePath(QStringLiteral("LED.cfg")),
        QUrl::fromLocalFile(QDir(QApplication::applicationDirPath()).filePath("manual.html")));
    platform.setParentWindow(&window);
    window.show();
    return app.exec();
}
