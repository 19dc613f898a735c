#include "capture/MediaTypeRecord.h"

#include <cstring>

#include "framework/rtl/Format.h"

const GUID FormatVideoInfo = {0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
const GUID FormatVideoInfo2 = {0xF72A76A0, 0xEB0A, 0x11D0, {0xAC, 0xE4, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA}};

namespace {

void PutU32(std::vector<Byte>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<Byte>(value >> (8 * i)));
}

void PutGuid(std::vector<Byte>& out, const GUID& guid) {
    PutU32(out, guid.Data1);
    out.push_back(static_cast<Byte>(guid.Data2));
    out.push_back(static_cast<Byte>(guid.Data2 >> 8));
    out.push_back(static_cast<Byte>(guid.Data3));
    out.push_back(static_cast<Byte>(guid.Data3 >> 8));
    out.insert(out.end(), guid.Data4, guid.Data4 + 8);
}

std::uint32_t GetU32(const Byte* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

GUID GetGuid(const Byte* p) {
    GUID guid{};
    guid.Data1 = GetU32(p);
    guid.Data2 = static_cast<unsigned short>(p[4] | p[5] << 8);
    guid.Data3 = static_cast<unsigned short>(p[6] | p[7] << 8);
    std::memcpy(guid.Data4, p + 8, 8);
    return guid;
}

}  // namespace

std::vector<Byte> WriteMediaTypeData(const TMediaTypeFields& fields) {
    std::vector<Byte> out;
    out.reserve(MediaTypeRecordSize + fields.Format.size());
    PutGuid(out, fields.MajorType);
    PutGuid(out, fields.SubType);
    PutU32(out, static_cast<std::uint32_t>(fields.FixedSizeSamples));
    PutU32(out, static_cast<std::uint32_t>(fields.TemporalCompression));
    PutU32(out, fields.SampleSize);
    PutGuid(out, fields.FormatType);
    PutU32(out, 0);  // pUnk
    PutU32(out, static_cast<std::uint32_t>(fields.Format.size()));
    PutU32(out, 0);  // pbFormat
    out.insert(out.end(), fields.Format.begin(), fields.Format.end());
    return out;
}

TMediaTypeFields ReadMediaTypeData(const std::vector<Byte>& bytes) {
    if (bytes.size() < MediaTypeRecordSize)
        throw EReadError(Format(L"Media type data of %d bytes is shorter than its %d-byte record",
                                {static_cast<int>(bytes.size()), static_cast<int>(MediaTypeRecordSize)}));
    const Byte* p = bytes.data();
    TMediaTypeFields fields;
    fields.MajorType = GetGuid(p);
    fields.SubType = GetGuid(p + 16);
    fields.FixedSizeSamples = static_cast<std::int32_t>(GetU32(p + 32));
    fields.TemporalCompression = static_cast<std::int32_t>(GetU32(p + 36));
    fields.SampleSize = GetU32(p + 40);
    fields.FormatType = GetGuid(p + 44);
    const std::uint64_t cbFormat = GetU32(p + 64);
    const std::uint64_t left = bytes.size() - MediaTypeRecordSize;
    if (cbFormat != left)
        throw EReadError(Format(L"Media type data declares a format block of %d bytes but carries %d",
                                {static_cast<Int64>(cbFormat), static_cast<Int64>(left)}));
    fields.Format.assign(bytes.begin() + MediaTypeRecordSize, bytes.end());
    return fields;
}

std::optional<std::size_t> BitmapHeaderOffset(const GUID& formatType, std::size_t formatLength) {
    constexpr std::size_t headerSize = 40;
    std::size_t offset = 0;
    if (IsEqualGUID(formatType, FormatVideoInfo))
        offset = 48;
    else if (IsEqualGUID(formatType, FormatVideoInfo2))
        offset = 72;
    else
        return std::nullopt;
    if (formatLength < offset + headerSize) return std::nullopt;
    return offset;
}

std::optional<std::uint64_t> DibImageSize(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                                          std::uint64_t maxBytes) {
    if (width <= 0 || height == 0 || bitCount == 0) return std::nullopt;
    const std::uint64_t absHeight = height < 0 ? -static_cast<std::int64_t>(height) : height;
    const std::uint64_t rowBits = static_cast<std::uint64_t>(width) * bitCount;
    const std::uint64_t rowBytes = (rowBits + 31) / 32 * 4;
    const std::uint64_t size = rowBytes * absHeight;
    if (size > maxBytes) return std::nullopt;
    return size;
}

const GUID DisplayNameBlockTag = {0x5C2E8A31, 0x7F40, 0x4B1D, {0x9E, 0x63, 0x2A, 0x41, 0xD0, 0xC7, 0xB1, 0x8F}};

std::vector<Byte> EncodeDisplayNameBlock(const String& displayName) {
    std::vector<Byte> out;
    PutGuid(out, DisplayNameBlockTag);
    for (wchar_t c : displayName) {
        const auto unit = static_cast<std::uint16_t>(c);
        out.push_back(static_cast<Byte>(unit));
        out.push_back(static_cast<Byte>(unit >> 8));
    }
    return out;
}

std::optional<String> DecodeDisplayNameBlock(const std::vector<Byte>& block) {
    if (block.size() < 16 || (block.size() - 16) % 2 != 0) return std::nullopt;
    if (!IsEqualGUID(GetGuid(block.data()), DisplayNameBlockTag)) return std::nullopt;
    String name;
    for (std::size_t i = 16; i < block.size(); i += 2)
        name.push_back(static_cast<wchar_t>(block[i] | block[i + 1] << 8));
    return name;
}
