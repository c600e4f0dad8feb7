// libFuzzer target: any bytes through the check that FUZZ_READER names.
#include "readerchecks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!FUZZ_READER({reinterpret_cast<const char*>(data), size}))
        std::abort();
    return 0;
}
