// The metafile check on any bytes. What it accepts must at least be records that tile the
// buffer from a header to an end-of-file record, checked here by a walk of its own.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "report/pagestore/QRFileFormat.h"
#include "report/pagestore/QRPageBytes.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

Cardinal U32(std::span<const Byte> bytes, std::size_t at) { return static_cast<Cardinal>(GetInt32LE(&bytes[at])); }

void CheckTiling(std::span<const Byte> bytes) {
    Require(bytes.size() >= static_cast<std::size_t>(EmfMinHeaderSize) && bytes.size() % 4 == 0);
    Require(U32(bytes, 0) == EmfRecordHeader && U32(bytes, 40) == EmfSignature && U32(bytes, 48) == bytes.size());
    std::size_t at = 0, records = 0;
    Cardinal type = 0;
    while (at < bytes.size()) {
        Require(bytes.size() - at >= 8);
        type = U32(bytes, at);
        const Cardinal size = U32(bytes, at + 4);
        Require(size >= 8 && size % 4 == 0 && size <= bytes.size() - at);
        at += size;
        ++records;
    }
    Require(type == EmfRecordEof && records == U32(bytes, 52));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const Byte> bytes(data, size);
    if (IsValidEmf(bytes)) CheckTiling(bytes);
    return 0;
}
