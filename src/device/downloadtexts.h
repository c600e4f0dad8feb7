#pragma once

#include <QString>

class PortMap;
class QTime;
struct SerialPortEntry;

// What the user reads about a download, the same in the window and on the command line.
QString downloadTitle();
QString downloadPrompt();
// The port has no device or would not open; names the ports that do exist.
QString downloadPortProblem(int number, const SerialPortEntry& port, const QString& reason,
                            const PortMap& ports);
QString downloadBrokenOff(int number, const QString& device, const QString& reason);
QString downloadDone(int number, const QString& device, const QTime& at);
