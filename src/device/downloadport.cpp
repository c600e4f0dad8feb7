#include "device/downloadport.h"

#include "device/downloadtexts.h"
#include "platform/platform.h"
#include "platform/seriallink.h"

DownloadPort openDownloadPort(Platform& platform, int number)
{
    const PortMap ports(platform.serialPorts());
    DownloadPort port{number, ports.entry(number), platform.createSerialLink(), QString()};
    QString error;
    if (port.entry.device.isEmpty() || !port.link->open(port.entry.device, &error)) {
        port.problem = downloadPortProblem(number, port.entry, error, ports);
        port.link.reset();
    }
    return port;
}
