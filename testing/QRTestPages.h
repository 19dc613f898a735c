// Page metafiles for the page-store tests and fuzz seeds: hand-built byte images of an exact size.
// Pages drawn through the GDI are in QRDrawnPages.h.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "report/pagestore/QRFileFormat.h"
#include "report/pagestore/QRPageBytes.h"

namespace qrtest {

inline void PutU32(TQRPageBytes& bytes, std::size_t offset, Cardinal value) {
    PutInt32LE(bytes.data() + offset, static_cast<std::int32_t>(value));
}

// A metafile of exactly totalSize bytes (a multiple of 4, at least 120): the header record,
// one comment record carrying a pattern derived from seed, and the end-of-file record.
inline TQRPageBytes HandMadeEmf(std::size_t totalSize, unsigned seed = 1) {
    constexpr std::size_t kHeader = EmfMinHeaderSize, kEof = 20;
    TQRPageBytes emf(totalSize, 0);
    PutU32(emf, 0, EmfRecordHeader);
    PutU32(emf, 4, kHeader);
    PutU32(emf, 16, 100);  // bounds right, bottom
    PutU32(emf, 20, 100);
    PutU32(emf, 40, EmfSignature);
    PutU32(emf, 44, 0x10000);  // version
    PutU32(emf, 48, static_cast<Cardinal>(totalSize));
    PutU32(emf, 52, 3);  // records
    emf[56] = 1;         // handles
    PutU32(emf, 72, 1024);
    PutU32(emf, 76, 768);
    PutU32(emf, 80, 320);
    PutU32(emf, 84, 240);
    const std::size_t comment = totalSize - kHeader - kEof;
    PutU32(emf, kHeader, 70);  // EMR_GDICOMMENT
    PutU32(emf, kHeader + 4, static_cast<Cardinal>(comment));
    PutU32(emf, kHeader + 8, static_cast<Cardinal>(comment - 12));
    unsigned state = seed;
    for (std::size_t i = kHeader + 12; i < kHeader + comment; ++i) {
        state = state * 1103515245u + 12345u;
        emf[i] = static_cast<Byte>((state >> 16) % 23);  // skewed, so it compresses a little
    }
    const std::size_t eof = totalSize - kEof;
    PutU32(emf, eof, EmfRecordEof);
    PutU32(emf, eof + 4, kEof);
    PutU32(emf, eof + 12, 16);
    PutU32(emf, eof + 16, kEof);
    return emf;
}

// ---- records that carry offsets, built by hand ----

inline std::size_t Padded(std::size_t size) { return (size + 3) / 4 * 4; }

inline void PutWord(TQRPageBytes& bytes, std::size_t offset, Word value) {
    bytes[offset] = static_cast<Byte>(value);
    bytes[offset + 1] = static_cast<Byte>(value >> 8);
}

inline TQRPageBytes NewRecord(Cardinal type, std::size_t size) {
    TQRPageBytes record(size, 0);
    PutU32(record, 0, type);
    PutU32(record, 4, static_cast<Cardinal>(size));
    return record;
}

// Appends a block to a record, keeping the record size right; returns the block's offset.
inline Cardinal Append(TQRPageBytes& record, const TQRPageBytes& block) {
    const auto at = static_cast<Cardinal>(record.size());
    record.insert(record.end(), block.begin(), block.end());
    record.resize(Padded(record.size()));
    PutU32(record, 4, static_cast<Cardinal>(record.size()));
    return at;
}

// A BITMAPINFO: the 40-byte header and colorCount RGB quads.
inline TQRPageBytes BitmapInfo(int width, int height, Word bitCount, Cardinal colorCount = 0) {
    TQRPageBytes info(40 + 4 * colorCount, 0);
    PutU32(info, 0, 40);
    PutU32(info, 4, static_cast<Cardinal>(width));
    PutU32(info, 8, static_cast<Cardinal>(height));
    PutWord(info, 12, 1);
    PutWord(info, 14, bitCount);
    return info;
}

// Lays a bitmap into a record: header and bits appended, their offset and size fields set.
inline void AttachBitmap(TQRPageBytes& record, std::size_t headerFields, std::size_t bitsFields, const TQRPageBytes& info,
                  std::size_t bitsSize) {
    PutU32(record, headerFields, Append(record, info));
    PutU32(record, headerFields + 4, static_cast<Cardinal>(info.size()));
    PutU32(record, bitsFields, Append(record, TQRPageBytes(bitsSize, 0x33)));
    PutU32(record, bitsFields + 4, static_cast<Cardinal>(bitsSize));
}

// A 4 x 3 picture of 24 bits (12-byte rows) and its 1-bit mask (4-byte rows).
inline void AttachSource(TQRPageBytes& r, std::size_t header, std::size_t bits) { AttachBitmap(r, header, bits, BitmapInfo(4, 3, 24), 36); }
inline void AttachMask(TQRPageBytes& r, std::size_t header, std::size_t bits) { AttachBitmap(r, header, bits, BitmapInfo(4, 3, 1, 2), 12); }

// The source's width and height at offset at: the whole 4 x 3 picture.
inline void SourceExtent(TQRPageBytes& r, std::size_t at) {
    PutU32(r, at, 4);
    PutU32(r, at + 4, 3);
}

// An EMRTEXT at offset at: count characters of charSize bytes, then their spacing.
inline void AttachText(TQRPageBytes& record, std::size_t at, const std::wstring& text, Cardinal charSize) {
    TQRPageBytes chars;
    for (wchar_t c : text)
        for (Cardinal i = 0; i < charSize; ++i) chars.push_back(static_cast<Byte>(c >> (8 * i)));
    PutU32(record, at + 8, static_cast<Cardinal>(text.size()));
    PutU32(record, at + 12, Append(record, chars));
    PutU32(record, at + 36, Append(record, TQRPageBytes(4 * text.size(), 7)));
}

// The metafile of one page: a header record of headerSize bytes, the record, the end of file.
inline TQRPageBytes EmfWith(const TQRPageBytes& record, std::size_t headerSize = 88) {
    TQRPageBytes emf = qrtest::HandMadeEmf(120);  // header, an empty comment, end of file
    emf.erase(emf.begin() + 88, emf.begin() + 100);
    emf.insert(emf.begin() + 88, headerSize - 88, 0);
    PutU32(emf, 4, static_cast<Cardinal>(headerSize));
    emf[56] = 4;  // handles: the records may create objects 1 to 3
    emf.insert(emf.begin() + static_cast<std::ptrdiff_t>(headerSize), record.begin(), record.end());
    PutU32(emf, 48, static_cast<Cardinal>(emf.size()));
    return emf;
}

struct SoundRecord {
    const char* name;
    TQRPageBytes record;
};

inline std::vector<SoundRecord> SoundRecords() {
    std::vector<SoundRecord> records;
    auto add = [&](const char* name, Cardinal type, std::size_t fixedSize, auto&& fill) {
        TQRPageBytes r = NewRecord(type, fixedSize);
        fill(r);
        records.push_back({name, std::move(r)});
    };
    add("BITBLT", 76, 100, [](TQRPageBytes& r) { AttachSource(r, 84, 92); });
    add("BITBLT without a source", 76, 100, [](TQRPageBytes&) {});
    add("BITBLT of run-length bits", 76, 100, [](TQRPageBytes& r) {
        TQRPageBytes info = BitmapInfo(4, 3, 8);
        PutU32(info, 16, 1);   // BI_RLE8
        PutU32(info, 20, 36);  // coded size
        PutU32(r, 80, 2);      // no colour table: palette indices
        AttachBitmap(r, 84, 92, info, 36);
    });
    add("STRETCHBLT", 77, 108, [](TQRPageBytes& r) { AttachSource(r, 84, 92); SourceExtent(r, 100); });
    add("MASKBLT", 78, 128, [](TQRPageBytes& r) { AttachSource(r, 84, 92); AttachMask(r, 112, 120); });
    add("PLGBLT", 79, 140, [](TQRPageBytes& r) { AttachSource(r, 96, 104); AttachMask(r, 124, 132); });
    add("SETDIBITSTODEVICE", 80, 76, [](TQRPageBytes& r) { AttachSource(r, 48, 56); SourceExtent(r, 40); PutU32(r, 72, 3); });
    add("STRETCHDIBITS", 81, 80, [](TQRPageBytes& r) { AttachSource(r, 48, 56); SourceExtent(r, 40); });
    add("ALPHABLEND", 114, 108, [](TQRPageBytes& r) { AttachSource(r, 84, 92); SourceExtent(r, 100); });
    add("TRANSPARENTBLT", 116, 108, [](TQRPageBytes& r) { AttachSource(r, 84, 92); SourceExtent(r, 100); });
    add("CREATEMONOBRUSH", 93, 32, [](TQRPageBytes& r) { PutU32(r, 8, 1); PutU32(r, 12, 2); AttachBitmap(r, 16, 24, BitmapInfo(8, 8, 1), 32); });
    add("CREATEDIBPATTERNBRUSHPT", 94, 32, [](TQRPageBytes& r) { PutU32(r, 8, 1); AttachBitmap(r, 16, 24, BitmapInfo(8, 8, 8, 256), 64); });
    add("EXTCREATEPEN", 95, 52, [](TQRPageBytes& r) { PutU32(r, 8, 1); AttachBitmap(r, 12, 20, BitmapInfo(8, 8, 4, 16), 32); });
    add("EXTTEXTOUTW", 84, 76, [](TQRPageBytes& r) { AttachText(r, 36, L"Ana", 2); });
    add("EXTTEXTOUTA", 83, 76, [](TQRPageBytes& r) { AttachText(r, 36, L"Ana", 1); });
    add("POLYTEXTOUTW", 97, 120, [](TQRPageBytes& r) { PutU32(r, 36, 2); AttachText(r, 40, L"Ana", 2); AttachText(r, 80, L"Bela", 2); });
    add("POLYTEXTOUTA", 96, 120, [](TQRPageBytes& r) { PutU32(r, 36, 2); AttachText(r, 40, L"Ana", 1); AttachText(r, 80, L"Bela", 1); });
    add("SMALLTEXTOUT", 108, 60, [](TQRPageBytes& r) { PutU32(r, 16, 4); });
    add("SMALLTEXTOUT of bytes, no frame", 108, 40, [](TQRPageBytes& r) { PutU32(r, 16, 4); PutU32(r, 20, 0x300); });
    return records;
}

// A header of 108 bytes with a description and a pixel format behind it, and a palette at the
// end of the file.
inline TQRPageBytes EmfWithHeaderBlocksAndPalette() {
    TQRPageBytes emf = EmfWith(NewRecord(70, 12), 108);
    const std::wstring description = L"Folhavida";
    TQRPageBytes blocks((description.size() + 1) * 2 + 40, 0);
    for (std::size_t i = 0; i < description.size(); ++i) PutWord(blocks, 2 * i, description[i]);
    emf.insert(emf.begin() + 108, blocks.begin(), blocks.end());
    const auto headerSize = static_cast<Cardinal>(108 + blocks.size());
    PutU32(emf, 4, headerSize);
    PutU32(emf, 60, static_cast<Cardinal>(description.size() + 1));
    PutU32(emf, 64, 108);
    PutU32(emf, 88, 40);
    PutU32(emf, 92, headerSize - 40);
    PutU32(emf, 68, 2);  // palette entries
    TQRPageBytes eof = NewRecord(EmfRecordEof, 28);
    PutU32(eof, 8, 2);
    PutU32(eof, 12, 16);
    PutU32(eof, 24, 28);
    emf.resize(emf.size() - 20);
    emf.insert(emf.end(), eof.begin(), eof.end());
    PutU32(emf, 48, static_cast<Cardinal>(emf.size()));
    return emf;
}

}  // namespace qrtest
