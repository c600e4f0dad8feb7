#include "core/usertexts.h"

#include "core/downloadstream.h"

std::string downloadDoneLine(std::string_view where, std::string_view time)
{
    return "Downloaded " + std::to_string(3 * kDownloadRecords) + " bytes to the GLIMMERON on " +
           std::string(where) + " at " + std::string(time);
}

std::string downloadBrokenOffText(std::string_view where, std::string_view reason)
{
    return "The download to the GLIMMERON on " + std::string(where) +
           " stopped part-way: " + std::string(reason) +
           ".\r\rThe download is incomplete. Check the cable, then program the device again.";
}

std::string invalidSequenceText(std::string_view file, int record, std::string_view problem)
{
    return "The file " + std::string(file) + " is not a valid sequence data file. Record " +
           std::to_string(record) + ": " + std::string(problem) + ".";
}

std::string unreadableFileText(std::string_view file, std::string_view reason)
{
    return "The file " + std::string(file) + " could not be read: " + std::string(reason) + ".";
}

std::string tooLongReason(long long size)
{
    return size < 0 ? std::string("it is far too long for this kind of file")
                    : "it is " + std::to_string(size) +
                          " bytes long, far too long for this kind of file";
}

std::string invalidLinkText(std::string_view problem)
{
    return "The link could not be opened, as " + std::string(problem) +
           ". Copy the whole link again from where it was shared.";
}

std::string linkOverChangesText(std::string_view sequenceName)
{
    return "The changes to " + std::string(sequenceName) +
           " are not saved.\r\rOpen the sequence of the link in their place? Undo brings them "
           "back.";
}

std::string linkCopiedLine(std::string_view link)
{
    return "Copied a link to this sequence (" + std::to_string(link.size()) +
           " characters): whoever opens it gets the sequence as it is now.";
}
