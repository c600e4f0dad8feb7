#include "readerchecks.h"

#include "files/sequencefile.h"
#include "settings/ledcfg.h"

bool sequenceReaderHolds(const QByteArray& bytes)
{
    const SequenceReadResult read = readSequenceFile(bytes);
    if (!read.data)
        return read.record >= 1 && !read.problem.isEmpty();
    // What was accepted must survive a save and a second read unchanged.
    const SequenceReadResult again = readSequenceFile(writeSequenceFile(*read.data));
    return again.data && *again.data == *read.data;
}

bool ledCfgReaderHolds(const QByteArray& bytes)
{
    const auto port = parseLedCfg(bytes);
    if (!port)
        return true;
    return *port >= kFirstPort && *port <= kLastPort && parseLedCfg(ledCfgBytes(*port)) == port;
}
