// A packed skin as a skin file or the form data holds it: unpacked, checked, and every entry
// extracted by name and by part. Refused archives are fine; reading past the data is not.
#include <cstdint>
#include <cstring>

#include "skin/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 4) {
        std::int32_t claimed = 0;
        std::memcpy(&claimed, data, 4);
        // Long archives only take longer (the seeds are small ones); sizes past the reader's cap
        // are refused before decoding and stay in.
        if (claimed > 16 * 1024 && claimed <= kSkinMaxUnpackedSize) return 0;
    }
    TMemoryStream packed;
    if (size > 0) packed.WriteBuffer(data, static_cast<Int64>(size));
    int told = 0;
    TSkinReader reader([&](const String&) { ++told; });
    if (!reader.LoadFromStream(packed)) return 0;
    TMemoryStream target;
    for (int i = 0; i < reader.EntryCount(); ++i) {
        reader.ExtractByName(reader.EntryName(i), target);
        std::string name;
        reader.ExtractByPart(reader.EntryName(i).substr(0, 3), target, name);
    }
    std::string name;
    reader.ExtractByPart(".ini", target, name);
    return 0;
}
