// Byte layout of the prepared-report file, which is also the page store's stream layout:
// a header, then one record per page ([number][next offset][page data][own offset]).
// All integers are little-endian; offsets are absolute. No OS calls here.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "framework/rtl/System.h"

// A prepared-report file (or a page store's stream) whose structure does not hold together.
FV_DECLARE_EXCEPTION(EQRCorruptFile, EReadError);
[[noreturn]] void RaiseCorruptFile();

constexpr int QRHeaderSize = 128;      // the header this code writes
constexpr int QROldHeaderSize = 124;   // older writers; the fields sit 4 bytes lower from offset 12 on
constexpr int QROnePageHeaderSize = 120;
constexpr int QRBareHeaderSize = 96;   // carries nothing a reader takes
constexpr Word QRFormatWord1 = 3;
constexpr Word QRFormatWord2 = 50;
constexpr int QRRecordPrefixSize = 8;  // page number, next-record offset
constexpr int QRRecordSuffixSize = 4;  // the record's own start offset
constexpr int QRRecordOverhead = QRRecordPrefixSize + QRRecordSuffixSize;

// The memory limit of the page store: the largest page metafile it writes or reads. Pages of
// a report are far smaller; a file that claims more is damaged, and this keeps a 32-bit
// process from trying to allocate whatever a damaged length field says.
constexpr Int64 QRMaxPageBytes = 64 * 1024 * 1024;
// The largest data of one record: a page, or a compressed page's length and coded bytes
// (a page whose code would be longer is refused when it is appended).
constexpr Int64 QRMaxRecordDataBytes = QRMaxPageBytes + 4;

using TQRHeaderRecord = std::array<Byte, QRHeaderSize>;

// Field offsets inside the 128-byte header.
constexpr int QRHeaderPageCountOffset = 8;
constexpr int QRHeaderCreatedOffset = 16;
constexpr int QRHeaderCompressionOffset = 25;

inline std::int32_t GetInt32LE(const Byte* p) {
    return static_cast<std::int32_t>(static_cast<Cardinal>(p[0]) | static_cast<Cardinal>(p[1]) << 8 |
                                     static_cast<Cardinal>(p[2]) << 16 | static_cast<Cardinal>(p[3]) << 24);
}

inline Word GetWordLE(const Byte* p) { return static_cast<Word>(p[0] | p[1] << 8); }

inline void PutInt32LE(Byte* p, std::int32_t value) {
    auto v = static_cast<Cardinal>(value);
    p[0] = static_cast<Byte>(v);
    p[1] = static_cast<Byte>(v >> 8);
    p[2] = static_cast<Byte>(v >> 16);
    p[3] = static_cast<Byte>(v >> 24);
}

// The header as written: format words, page count, creation time, compression flag, "H" filler.
TQRHeaderRecord BuildQRHeader(int pageCount, TDateTime created, bool compressed);

// True when the first bytes carry the format words of the 128-byte header.
bool HasCurrentFormatWords(const Byte* firstFourBytes);

// Moves the fields of a 124-byte header (read into the record's first bytes) to their
// 128-byte places; other header sizes are left as they are.
void ConvertOldHeader(int headerSize, TQRHeaderRecord& record);

int HeaderPageCount(const TQRHeaderRecord& record);
bool HeaderCompressed(const TQRHeaderRecord& record);
