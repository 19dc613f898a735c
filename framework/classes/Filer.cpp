#include "framework/classes/Filer.h"

#include <cstdint>

#include "framework/rtl/Format.h"
#include "framework/rtl/Streams.h"

void CheckBinaryLength(TStream& stream, Int64 length) {
    if (length < 0 || length > stream.Size() - stream.Position())
        throw EReadError(Format(L"Invalid binary data length %d", {length}));
}

std::vector<Byte> ReadLengthPrefixedBytes(TStream& stream) {
    Byte prefix[4];
    stream.ReadBuffer(prefix, 4);
    auto length = static_cast<std::int32_t>(static_cast<std::uint32_t>(prefix[0]) |
                                            static_cast<std::uint32_t>(prefix[1]) << 8 |
                                            static_cast<std::uint32_t>(prefix[2]) << 16 |
                                            static_cast<std::uint32_t>(prefix[3]) << 24);
    CheckBinaryLength(stream, length);
    std::vector<Byte> bytes(static_cast<size_t>(length));
    if (length > 0) stream.ReadBuffer(bytes.data(), length);
    return bytes;
}

void WriteLengthPrefixedBytes(TStream& stream, const std::vector<Byte>& bytes) {
    auto length = static_cast<std::uint32_t>(bytes.size());
    Byte prefix[4] = {static_cast<Byte>(length), static_cast<Byte>(length >> 8),
                      static_cast<Byte>(length >> 16), static_cast<Byte>(length >> 24)};
    stream.WriteBuffer(prefix, 4);
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}
