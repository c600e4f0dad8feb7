#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>

// The users' manual on disk, beside the program in the build tree or under
// share/doc/glimmeron when installed; empty when neither is there.
QUrl manualFileUrl(const QString& programFolder);
// The manual built into the program, for when no browser can show the file.
QString builtInManual();
// The program's icon, drawn like the installed SVG so no SVG support is needed.
QIcon programIcon();
