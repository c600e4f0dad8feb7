#pragma once

#include <QString>
#include <functional>

// Device behind serial port number n: COM<n> on Windows, /dev/ttyS<n-1> elsewhere,
// unless GLIMMERON_PORT_<n> names another device (a USB adapter, say).
QString portDeviceName(int number,
                       const std::function<QString(const QString&)>& environment = nullptr);
