// The page decoder on any coded bytes. Input: the claimed length (two bytes, little-endian),
// then the coded bytes. What the decoder accepts must be what the coder writes for the decoded
// bytes, up to the unused bits of the last byte; and the coder's output for the input itself
// must decode back to it.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "report/pagestore/QRCompress.h"
#include "report/pagestore/QRFileFormat.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckDecoding(std::span<const Byte> coded, std::size_t length) {
    std::vector<Byte> decoded;
    try {
        decoded = TQRCompress::Decompress(coded, length);
    } catch (const EQRCorruptFile&) {
        return;
    }
    Require(decoded.size() == length);
    const std::vector<Byte> recoded = TQRCompress::Compress(decoded);
    Require(recoded.size() == coded.size());
    if (coded.empty()) return;
    const std::size_t last = coded.size() - 1;
    Require(std::equal(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(last), recoded.begin()));
    // The coder leaves the unused bits of its last byte clear; the input's may be anything.
    Require((recoded[last] & ~coded[last]) == 0);
    std::vector<Byte> trimmed(coded.begin(), coded.end());
    trimmed[last] = recoded[last];
    Require(TQRCompress::Decompress(trimmed, length) == decoded);
}

void CheckRoundTrip(std::span<const Byte> data) {
    const std::vector<Byte> coded = TQRCompress::Compress(data);
    Require(TQRCompress::CodedSizeCanHold(coded.size(), data.size()));
    const std::vector<Byte> decoded = TQRCompress::Decompress(coded, data.size());
    Require(std::equal(decoded.begin(), decoded.end(), data.begin(), data.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const Byte> input(data, size);
    if (size >= 2) CheckDecoding(input.subspan(2), GetWordLE(data));
    CheckRoundTrip(input);
    return 0;
}
