// The LZHUF decoder over any stream: the input is a packed skin file (an Int32 count, then the
// stream). Whatever the bits, exactly count bytes come out and no read asks past the input.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "skin/Lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::uint32_t count = 0;
    std::memcpy(&count, data, 4);  // little-endian hosts only, as the fuzzers run
    // Long outputs only take longer: a large count is decoded up to 8 KB.
    count = std::min<std::uint32_t>(count, 8 * 1024);
    std::size_t at = 4;
    std::int64_t written = 0;
    TLZH lzh;
    lzh.LZHUnpack(
        count, [&](const Byte*, Int64 n) { written += n; },
        [&](Byte* buffer, Int64 n) {
            const std::size_t take = std::min(static_cast<std::size_t>(n), size - at);
            std::memcpy(buffer, data + at, take);
            at += take;
            return static_cast<Int64>(take);
        });
    if (written != static_cast<std::int64_t>(count)) std::abort();
    return 0;
}
