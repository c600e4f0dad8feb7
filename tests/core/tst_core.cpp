// The portable rules without Qt: what the desktop and the web edition both rely on.
#include "core/colourtable.h"
#include "core/downloadstream.h"
#include "core/sequencefile.h"
#include "core/teststep.h"
#include "readerchecks.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (!ok) {
        ++failures;
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    }
}

std::string golden(const char* name)
{
    std::ifstream in(std::string(GOLDEN_DIR "/sequencefile/") + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void fileWritesTheWorkedExamples()
{
    const SequenceData worked{.events = {5, 2, 15},
                              .colourIndexes = {1, 7, 7, 7, 0, 0, 0, 0},
                              .lastEvent = 2,
                              .servoModes = {0, 1, 15, 15}};
    for (const auto& [file, data] :
         {std::pair("worked-example.dat", worked), std::pair("start-up.dat", SequenceData{})}) {
        const std::string bytes = golden(file);
        check(!bytes.empty() && sequenceFileBytes(data) == bytes, file);
        check(readSequenceBytes(bytes).data == data, std::string(file) + " reads back");
    }
    const SequenceFileRead bad = readSequenceBytes(golden("worked-example.dat").substr(0, 20));
    check(!bad.data && bad.record == 5 &&
              bad.problem.find("ends after 4 records") != std::string::npos,
          "a short file names its last record: " + bad.problem);
}

void streamAndItsPace()
{
    DownloadValues v;
    v.events[0] = 1, v.events[1] = 2, v.events[2] = 3;
    v.servoModes = {15, 3, 0, 15};
    v.lastEvent = 2;
    std::string expected = "*\r\n\x01\r\n\x02\r\n\x03\r\n";
    for (int i = 3; i < 50; ++i)
        expected += std::string(1, '\0') + "\r\n";
    expected += "\x0F\r\n\x03\r\n" + std::string(1, '\0') + "\r\n\x0F\r\n\x1E\r\n\x02\r\n";
    check(downloadStream(v) == expected && expected.size() == 171, "the worked example stream");
    v.events[4] = 13, v.events[5] = 10;
    check(downloadStream(v).substr(15, 6) == "\r\r\n\n\r\n", "CR and LF values go out raw");
    const int pauses[][2] = {{1, 0}, {2, 500}, {3, 50}, {57, 50}};
    for (const auto& [record, ms] : pauses)
        check(downloadPauseBefore(record) == ms, "pause before record " + std::to_string(record));
}

void colourCodes()
{
    const std::pair<const char*, Rgb> rows[] = {
        {"&HFFFF", {255, 255, 0}}, {"&hff0000", {0, 0, 255}}, {"&H", {}}, {"&HFFG", {}}};
    for (const auto& [code, rgb] : rows)
        check(rgbFromValue(colourCodeValue(code)) == rgb, code);
    check(tableRgb(3) == Rgb{255, 255, 0} && tableRgb(8) == Rgb{}, "table entries");
}

void testRunPace()
{
    // previous deadline, now, period: the next deadline.
    const long long rows[][4] = {{0, 0, 20, 20}, {20, 25, 20, 40}, {40, 61, 20, 81}};
    for (const auto& r : rows)
        check(nextStepDeadline(r[0], r[1], r[2]) == r[3], "deadline after " + std::to_string(r[0]));
    check(nextTestSlot(4, 5) == 5 && nextTestSlot(5, 5) == 0 && nextTestSlot(0, 0) == 0,
          "passes wrap after the last event");
}

// What the fuzzers kept, and the patterns, still pass the fuzzers' checks.
void keptInputsHold()
{
    namespace fs = std::filesystem;
    const std::pair<const char*, bool (*)(std::string_view)> targets[] = {
        {GOLDEN_DIR "/sequencefile", sequenceReaderHolds},
        {PATTERN_DIR, sequenceReaderHolds},
        {GOLDEN_DIR "/ledcfg", ledCfgReaderHolds},
        {GOLDEN_DIR "/eventstext", eventsTextReaderHolds},
        {GOLDEN_DIR "/eventedits", eventEditsHold}};
    for (const auto& [folder, holds] : targets) {
        int count = 0;
        for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
            std::ifstream in(file.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            check(holds(bytes), file.path().string());
            ++count;
        }
        check(count > 0, std::string(folder) + " holds inputs");
    }
}

} // namespace

int main()
{
    fileWritesTheWorkedExamples();
    streamAndItsPace();
    colourCodes();
    testRunPace();
    keptInputsHold();
    if (failures == 0)
        std::puts("core rules: all passed");
    return failures == 0 ? 0 : 1;
}
