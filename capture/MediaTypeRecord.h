// The stored forms the capture components keep in form descriptions, and the arithmetic of a
// video frame's bitmap header. Pure byte work: nothing here calls COM or DirectShow.
//
// A media type is stored as the 72-byte 32-bit layout of AM_MEDIA_TYPE, field by field and
// little-endian, followed by its format block:
//   0 majortype (16)  16 subtype (16)  32 bFixedSizeSamples (4)  36 bTemporalCompression (4)
//  40 lSampleSize (4) 44 formattype (16) 60 pUnk (4)  64 cbFormat (4)  68 pbFormat (4)
// The layout is the same for 32- and 64-bit programs; pointer fields are written as zero and
// never trusted when read. A device moniker is stored as a 32-bit length and that many bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <guiddef.h>

#include "framework/rtl/System.h"

// A media type without its pointers: what a stored record may carry.
struct TMediaTypeFields {
    GUID MajorType{};
    GUID SubType{};
    std::int32_t FixedSizeSamples = 0;
    std::int32_t TemporalCompression = 0;
    std::uint32_t SampleSize = 0;
    GUID FormatType{};
    std::vector<Byte> Format;  // cbFormat bytes
};

constexpr std::size_t MediaTypeRecordSize = 72;

std::vector<Byte> WriteMediaTypeData(const TMediaTypeFields& fields);
// Raises EReadError when bytes are shorter than the record or cbFormat disagrees with the
// bytes that follow the record. Stored pointers are dropped.
TMediaTypeFields ReadMediaTypeData(const std::vector<Byte>& bytes);

// The format types whose blocks carry a BITMAPINFOHEADER.
extern const GUID FormatVideoInfo;   // {05589F80-C356-11CE-BF01-00AA0055595A}
extern const GUID FormatVideoInfo2;  // {F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}

// Where the 40-byte bitmap header of a video format block starts: 48 for VideoInfo, 72 for
// VideoInfo2; nothing for another format type or a block too short to hold the header there.
std::optional<std::size_t> BitmapHeaderOffset(const GUID& formatType, std::size_t formatLength);

// Bytes of an uncompressed DIB's pixels (rows padded to 32 bits), computed in 64 bits; nothing
// for a width, height or bit count that gives no image, or more than maxBytes.
std::optional<std::uint64_t> DibImageSize(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                                          std::uint64_t maxBytes = 0x7FFFFFFF);

// A device moniker that cannot be saved through a stream is kept by its display name: the
// class identifier DisplayNameBlockTag (of no class, so OleLoadFromStream never takes such a
// block for a saved object), then the name in UTF-16LE.
extern const GUID DisplayNameBlockTag;  // {5C2E8A31-7F40-4B1D-9E63-2A41D0C7B18F}
std::vector<Byte> EncodeDisplayNameBlock(const String& displayName);
// The display name of such a block; nothing for any other block.
std::optional<String> DecodeDisplayNameBlock(const std::vector<Byte>& block);
