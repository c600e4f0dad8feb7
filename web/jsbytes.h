#pragma once

// Byte arrays between the page and the core.
#include <emscripten/val.h>

#include <string>
#include <vector>

namespace jsbytes {

inline emscripten::val bytesOf(const std::string& s)
{
    const auto* data = reinterpret_cast<const unsigned char*>(s.data());
    return emscripten::val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(s.size(), data));
}

inline std::string stringOf(const emscripten::val& bytes)
{
    const std::vector<unsigned char> v =
        emscripten::convertJSArrayToNumberVector<unsigned char>(bytes);
    return std::string(v.begin(), v.end());
}

} // namespace jsbytes
