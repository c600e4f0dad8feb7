#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

constexpr int kFirstPort = 1;
constexpr int kLastPort = 20;

QByteArray ledCfgBytes(int port);
// The port number of LED.cfg's first record, when it is one of 1..20.
std::optional<int> parseLedCfg(const QByteArray& bytes);

struct LedCfgLoad
{
    int port = kFirstPort;
    QString problem; // empty when the file was fine or missing (first run)
};
LedCfgLoad loadLedCfg(const QString& path);
