#include "readerchecks.h"

#include "core/portnumbers.h"
#include "core/sequencefile.h"
#include "settings/ledcfg.h"

bool sequenceReaderHolds(const QByteArray& bytes)
{
    const SequenceFileRead read = readSequenceBytes(bytes.toStdString());
    if (!read.data)
        return read.record >= 1 && !read.problem.empty();
    // What was accepted must survive a save and a second read unchanged.
    const SequenceFileRead again = readSequenceBytes(sequenceFileBytes(*read.data));
    return again.data && *again.data == *read.data;
}

bool ledCfgReaderHolds(const QByteArray& bytes)
{
    const auto port = parseLedCfg(bytes);
    if (!port)
        return true;
    return *port >= kFirstPort && *port <= kLastPort && parseLedCfg(ledCfgBytes(*port)) == port;
}
