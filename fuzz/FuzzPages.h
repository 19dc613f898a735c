// Page lists over a fuzzer's bytes, shared by the page-store targets.
#pragma once

#include <cstdlib>
#include <memory>
#include <optional>
#include <span>

#include "report/pagestore/QRFileFormat.h"
#include "report/pagestore/QRPageBytes.h"
#include "report/pagestore/QRPageList.h"
#include "report/pagestore/QRStream.h"

namespace fuzz {

inline void Require(bool condition) {
    if (!condition) std::abort();
}

// A page stream holding bytes, in memory.
inline std::unique_ptr<TQRStream> StreamOf(std::span<const Byte> bytes) {
    auto stream = std::make_unique<TQRStream>(Int64{1} << 30);
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

// Page n, or nothing: none outside 1..PageCount, and a page that comes back is a sound metafile.
// The damage the store reports is EQRCorruptFile and nothing else.
struct Fetched {
    bool corrupt = false;
    std::optional<TQRPageBytes> page;
    bool operator==(const Fetched&) const = default;
};

inline Fetched Fetch(TQRPageList& list, int n) {
    Fetched result;
    try {
        result.page = list.GetPageBytes(n);
    } catch (const EQRCorruptFile&) {
        result.corrupt = true;
    }
    const bool inRange = n >= 1 && n <= list.PageCount();
    Require(inRange || (!result.corrupt && !result.page));
    if (result.page) Require(IsValidEmf(*result.page));
    return result;
}

}  // namespace fuzz
