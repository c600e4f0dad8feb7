#pragma once

#include "device/portmap.h"

#include <memory>

class Platform;
class SerialLink;

// The port of a download, open at 2400,n,8,1; or, when it has no device or does not
// open, no link and the words for the user (which name the ports that do exist).
struct DownloadPort
{
    int number = 0;
    SerialPortEntry entry;
    std::unique_ptr<SerialLink> link;
    QString problem;
};

DownloadPort openDownloadPort(Platform& platform, int number);
