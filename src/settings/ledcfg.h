#pragma once

#include "core/portnumbers.h"

#include <QByteArray>
#include <QString>
#include <optional>

QByteArray ledCfgBytes(int port);
// The port number of LED.cfg's first record, when it is one of 1..20.
std::optional<int> parseLedCfg(const QByteArray& bytes);

struct LedCfgLoad
{
    int port = kFirstPort;
    QString problem; // empty when the file was fine or missing (first run)
};
LedCfgLoad loadLedCfg(const QString& path);

// Where the port number is kept: an LED.cfg in the start folder, named bare so that a
// folder of any name works, when there is one (a copy of the program kept with its own
// file); otherwise the user's, $XDG_CONFIG_HOME/glimmeron/LED.cfg.
QString ledCfgLocation();
// The folder for the user's own files of this program: LED.cfg, the recent files.
QString userConfigFolder();
