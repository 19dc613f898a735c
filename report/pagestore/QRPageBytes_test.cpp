#include "report/pagestore/QRPageBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "testing/QRTestPages.h"

namespace {

using qrtest::PutU32;

TEST(QRPageBytes, AcceptsHandMadeMetafiles) {
    EXPECT_TRUE(IsValidEmf(qrtest::HandMadeEmf(1000)));
    EXPECT_TRUE(IsValidEmf(qrtest::HandMadeEmf(120)));
}

struct Damage {
    const char* name;
    std::function<void(TQRPageBytes&)> apply;
};

TEST(QRPageBytes, RejectsDamagedMetafiles) {
    const Damage damages[] = {
        {"first record is no header", [](TQRPageBytes& e) { PutU32(e, 0, 70); }},
        {"signature", [](TQRPageBytes& e) { e[40] = 'X'; }},
        {"nBytes beyond the buffer", [](TQRPageBytes& e) { PutU32(e, 48, 1004); }},
        {"nBytes short of the buffer", [](TQRPageBytes& e) { PutU32(e, 48, 996); }},
        {"header record smaller than a header", [](TQRPageBytes& e) { PutU32(e, 4, 80); }},
        {"header record beyond the buffer", [](TQRPageBytes& e) { PutU32(e, 4, 2000); }},
        {"record size not a multiple of 4", [](TQRPageBytes& e) { PutU32(e, 92, 891); }},
        {"record runs past the end", [](TQRPageBytes& e) { PutU32(e, 92, 0x7FFFFFF0); }},
        {"zero-sized record", [](TQRPageBytes& e) { PutU32(e, 92, 0); }},
        {"record count", [](TQRPageBytes& e) { PutU32(e, 52, 4); }},
        {"no end-of-file record last", [](TQRPageBytes& e) { PutU32(e, 980, 70); }},
        {"description outside the header", [](TQRPageBytes& e) { PutU32(e, 60, 10); PutU32(e, 64, 80); }},
        {"truncated", [](TQRPageBytes& e) { e.resize(996); }},
        {"too short for a header", [](TQRPageBytes& e) { e.resize(40); }},
        {"empty", [](TQRPageBytes& e) { e.clear(); }},
    };
    for (const Damage& damage : damages) {
        TQRPageBytes emf = qrtest::HandMadeEmf(1000);
        damage.apply(emf);
        EXPECT_FALSE(IsValidEmf(emf)) << damage.name;
    }
}

// ---- hand-built hostile records ----

std::size_t Padded(std::size_t size) { return (size + 3) / 4 * 4; }

void PutWord(TQRPageBytes& bytes, std::size_t offset, Word value) {
    bytes[offset] = static_cast<Byte>(value);
    bytes[offset + 1] = static_cast<Byte>(value >> 8);
}

TQRPageBytes NewRecord(Cardinal type, std::size_t size) {
    TQRPageBytes record(size, 0);
    PutU32(record, 0, type);
    PutU32(record, 4, static_cast<Cardinal>(size));
    return record;
}

// Appends a block to a record, keeping the record size right; returns the block's offset.
Cardinal Append(TQRPageBytes& record, const TQRPageBytes& block) {
    const auto at = static_cast<Cardinal>(record.size());
    record.insert(record.end(), block.begin(), block.end());
    record.resize(Padded(record.size()));
    PutU32(record, 4, static_cast<Cardinal>(record.size()));
    return at;
}

// A BITMAPINFO: the 40-byte header and colorCount RGB quads.
TQRPageBytes BitmapInfo(int width, int height, Word bitCount, Cardinal colorCount = 0) {
    TQRPageBytes info(40 + 4 * colorCount, 0);
    PutU32(info, 0, 40);
    PutU32(info, 4, static_cast<Cardinal>(width));
    PutU32(info, 8, static_cast<Cardinal>(height));
    PutWord(info, 12, 1);
    PutWord(info, 14, bitCount);
    return info;
}

// Lays a bitmap into a record: header and bits appended, their offset and size fields set.
void AttachBitmap(TQRPageBytes& record, std::size_t headerFields, std::size_t bitsFields, const TQRPageBytes& info,
                  std::size_t bitsSize) {
    PutU32(record, headerFields, Append(record, info));
    PutU32(record, headerFields + 4, static_cast<Cardinal>(info.size()));
    PutU32(record, bitsFields, Append(record, TQRPageBytes(bitsSize, 0x33)));
    PutU32(record, bitsFields + 4, static_cast<Cardinal>(bitsSize));
}

// A 4 x 3 picture of 24 bits (12-byte rows) and its 1-bit mask (4-byte rows).
void AttachSource(TQRPageBytes& r, std::size_t header, std::size_t bits) { AttachBitmap(r, header, bits, BitmapInfo(4, 3, 24), 36); }
void AttachMask(TQRPageBytes& r, std::size_t header, std::size_t bits) { AttachBitmap(r, header, bits, BitmapInfo(4, 3, 1, 2), 12); }

// An EMRTEXT at offset at: count characters of charSize bytes, then their spacing.
void AttachText(TQRPageBytes& record, std::size_t at, const std::wstring& text, Cardinal charSize) {
    TQRPageBytes chars;
    for (wchar_t c : text)
        for (Cardinal i = 0; i < charSize; ++i) chars.push_back(static_cast<Byte>(c >> (8 * i)));
    PutU32(record, at + 8, static_cast<Cardinal>(text.size()));
    PutU32(record, at + 12, Append(record, chars));
    PutU32(record, at + 36, Append(record, TQRPageBytes(4 * text.size(), 7)));
}

// The metafile of one page: a header record of headerSize bytes, the record, the end of file.
TQRPageBytes EmfWith(const TQRPageBytes& record, std::size_t headerSize = 88) {
    TQRPageBytes emf = qrtest::HandMadeEmf(120);  // header, an empty comment, end of file
    emf.erase(emf.begin() + 88, emf.begin() + 100);
    emf.insert(emf.begin() + 88, headerSize - 88, 0);
    PutU32(emf, 4, static_cast<Cardinal>(headerSize));
    emf.insert(emf.begin() + static_cast<std::ptrdiff_t>(headerSize), record.begin(), record.end());
    PutU32(emf, 48, static_cast<Cardinal>(emf.size()));
    return emf;
}

struct SoundRecord {
    const char* name;
    TQRPageBytes record;
};

std::vector<SoundRecord> SoundRecords() {
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
    add("STRETCHBLT", 77, 108, [](TQRPageBytes& r) { AttachSource(r, 84, 92); });
    add("MASKBLT", 78, 128, [](TQRPageBytes& r) { AttachSource(r, 84, 92); AttachMask(r, 112, 120); });
    add("PLGBLT", 79, 140, [](TQRPageBytes& r) { AttachSource(r, 96, 104); AttachMask(r, 124, 132); });
    add("SETDIBITSTODEVICE", 80, 76, [](TQRPageBytes& r) { AttachSource(r, 48, 56); PutU32(r, 72, 3); });
    add("STRETCHDIBITS", 81, 80, [](TQRPageBytes& r) { AttachSource(r, 48, 56); });
    add("ALPHABLEND", 114, 108, [](TQRPageBytes& r) { AttachSource(r, 84, 92); });
    add("TRANSPARENTBLT", 116, 108, [](TQRPageBytes& r) { AttachSource(r, 84, 92); });
    add("CREATEMONOBRUSH", 93, 32, [](TQRPageBytes& r) { PutU32(r, 12, 2); AttachBitmap(r, 16, 24, BitmapInfo(8, 8, 1), 32); });
    add("CREATEDIBPATTERNBRUSHPT", 94, 32, [](TQRPageBytes& r) { AttachBitmap(r, 16, 24, BitmapInfo(8, 8, 8, 256), 64); });
    add("EXTCREATEPEN", 95, 52, [](TQRPageBytes& r) { AttachBitmap(r, 12, 20, BitmapInfo(8, 8, 4, 16), 32); });
    add("EXTTEXTOUTW", 84, 76, [](TQRPageBytes& r) { AttachText(r, 36, L"Ana", 2); });
    add("EXTTEXTOUTA", 83, 76, [](TQRPageBytes& r) { AttachText(r, 36, L"Ana", 1); });
    add("POLYTEXTOUTW", 97, 120, [](TQRPageBytes& r) { PutU32(r, 36, 2); AttachText(r, 40, L"Ana", 2); AttachText(r, 80, L"Bela", 2); });
    add("POLYTEXTOUTA", 96, 120, [](TQRPageBytes& r) { PutU32(r, 36, 2); AttachText(r, 40, L"Ana", 1); AttachText(r, 80, L"Bela", 1); });
    add("SMALLTEXTOUT", 108, 60, [](TQRPageBytes& r) { PutU32(r, 16, 4); });
    add("SMALLTEXTOUT of bytes, no frame", 108, 40, [](TQRPageBytes& r) { PutU32(r, 16, 4); PutU32(r, 20, 0x300); });
    return records;
}

TEST(QRPageBytes, AcceptsSoundHandBuiltRecordsWithOffsets) {
    for (const SoundRecord& sound : SoundRecords()) EXPECT_TRUE(IsValidEmf(EmfWith(sound.record))) << sound.name;
}

struct Hostile {
    const char* base;  // the sound record it starts from
    const char* name;
    std::function<void(TQRPageBytes&)> apply;
};

std::function<void(TQRPageBytes&)> Set(std::size_t offset, Cardinal value) {
    return [=](TQRPageBytes& r) { PutU32(r, offset, value); };
}

TEST(QRPageBytes, RejectsRecordsWhoseOffsetsLeadOutside) {
    const Hostile cases[] = {
        {"BITBLT", "shorter than its fields", [](TQRPageBytes& r) { r.resize(96); PutU32(r, 4, 96); }},
        {"BITBLT", "header offset beyond the record", Set(84, 0x7FFFFFF0)},
        {"BITBLT", "header offset into the fixed fields", Set(84, 40)},
        {"BITBLT", "header size beyond the record", Set(88, 400)},
        {"BITBLT", "header size smaller than a header", Set(88, 12)},
        {"BITBLT", "bits offset beyond the record", Set(92, 0xFFFFFFFC)},
        {"BITBLT", "bits size beyond the record", Set(96, 0x80000000)},
        {"BITBLT", "fewer bits than the picture", Set(96, 32)},
        {"BITBLT", "header's own size beyond its block", Set(100, 44)},
        {"BITBLT", "header's own size too small", Set(100, 12)},
        {"BITBLT", "taller picture", Set(108, 4)},
        {"BITBLT", "taller picture, top-down", Set(108, static_cast<Cardinal>(-4))},
        {"BITBLT", "wider picture", Set(104, 5)},
        {"BITBLT", "negative width", Set(104, static_cast<Cardinal>(-4))},
        {"BITBLT", "huge picture", [](TQRPageBytes& r) { PutU32(r, 104, 0x7FFFFFFF); PutU32(r, 108, 0x7FFFFFFF); }},
        {"BITBLT", "bit count no picture has", [](TQRPageBytes& r) { PutWord(r, 114, 7); }},
        {"BITBLT", "colour table beyond the header block", [](TQRPageBytes& r) { PutWord(r, 114, 8); }},
        {"BITBLT", "colours used beyond the header block", Set(132, 1)},
        {"BITBLT", "bitfields masks beyond the header block", [](TQRPageBytes& r) { PutWord(r, 114, 16); PutU32(r, 116, 3); }},
        {"BITBLT", "unknown compression", Set(116, 9)},
        {"BITBLT", "palette colours beyond the header block", [](TQRPageBytes& r) { PutWord(r, 114, 1); PutU32(r, 80, 1); }},
        {"BITBLT of run-length bits", "more coded bytes than the bits", Set(120, 37)},
        {"BITBLT of run-length bits", "run-length coding of 24-bit pixels", [](TQRPageBytes& r) { PutWord(r, 114, 24); }},
        {"BITBLT of run-length bits", "no coded size", Set(120, 0)},
        {"BITBLT without a source", "bits without a header", [](TQRPageBytes& r) { PutU32(r, 92, 0); PutU32(r, 96, 4); r.resize(104); PutU32(r, 4, 104); PutU32(r, 92, 100); }},
        {"MASKBLT", "mask header beyond the record", Set(112, 0x1000)},
        {"MASKBLT", "fewer mask bits than the mask", Set(124, 8)},
        {"PLGBLT", "mask bits beyond the record", Set(132, 0x7FFFFFF0)},
        {"PLGBLT", "source header size beyond the record", Set(100, 0x10000)},
        {"SETDIBITSTODEVICE", "more scan lines than bits", Set(72, 4)},
        {"STRETCHDIBITS", "bits offset into the fixed fields", Set(56, 60)},
        {"ALPHABLEND", "header beyond the record", Set(84, 0x200)},
        {"TRANSPARENTBLT", "bits beyond the record", Set(96, 0x200)},
        {"CREATEMONOBRUSH", "fewer bits than the pattern", Set(28, 28)},
        {"CREATEDIBPATTERNBRUSHPT", "colour table cut short", Set(20, 1020)},
        {"EXTCREATEPEN", "header offset beyond the record", Set(12, 0x7FFFFFFF)},
        {"EXTTEXTOUTW", "shorter than its fields", [](TQRPageBytes& r) { r.resize(72); PutU32(r, 4, 72); }},
        {"EXTTEXTOUTW", "string offset beyond the record", Set(48, 0x7FFFFFF0)},
        {"EXTTEXTOUTW", "string offset into the fixed fields", Set(48, 8)},
        {"EXTTEXTOUTW", "string running past the record's end", Set(48, 92)},
        {"EXTTEXTOUTW", "spacing running past the record's end", Set(72, 88)},
        {"EXTTEXTOUTW", "more characters than the record holds", Set(44, 9)},
        {"EXTTEXTOUTW", "character count overflowing", Set(44, 0x80000001)},
        {"EXTTEXTOUTW", "spacing offset beyond the record", Set(72, 0x1000)},
        {"EXTTEXTOUTW", "spacing with vertical steps", Set(52, 0x2000)},
        {"EXTTEXTOUTA", "more characters than the record holds", Set(44, 12)},
        {"POLYTEXTOUTW", "more strings than the record holds", Set(36, 3)},
        {"POLYTEXTOUTW", "string count overflowing", Set(36, 0x08000000)},
        {"POLYTEXTOUTW", "second string beyond the record", Set(80 + 12, 0x1000)},
        {"POLYTEXTOUTW", "second spacing into the fixed fields", Set(80 + 36, 100)},
        {"POLYTEXTOUTA", "first count too large", Set(40 + 8, 40)},
        {"SMALLTEXTOUT", "more characters than the record holds", Set(16, 5)},
        {"SMALLTEXTOUT of bytes, no frame", "frame taking the characters' room", Set(20, 0x200)},
        {"SMALLTEXTOUT of bytes, no frame", "wide characters", Set(20, 0x100)},
    };
    const std::vector<SoundRecord> sound = SoundRecords();
    for (const Hostile& hostile : cases) {
        const auto base = std::find_if(sound.begin(), sound.end(), [&](const SoundRecord& s) { return std::string(s.name) == hostile.base; });
        ASSERT_NE(base, sound.end()) << hostile.base;
        TQRPageBytes record = base->record;
        hostile.apply(record);
        EXPECT_FALSE(IsValidEmf(EmfWith(record))) << hostile.base << ": " << hostile.name;
    }
}

// A header of 108 bytes with a description and a pixel format behind it, and a palette at the
// end of the file.
TQRPageBytes EmfWithHeaderBlocksAndPalette() {
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

TEST(QRPageBytes, HeaderAndEndOfFileBlocksStayInsideTheirRecords) {
    const TQRPageBytes sound = EmfWithHeaderBlocksAndPalette();
    ASSERT_TRUE(IsValidEmf(sound));
    const std::size_t eof = sound.size() - 28;
    const Damage damages[] = {
        {"description beyond the header", Set(60, 40)},
        {"description inside the header's fields", Set(64, 100)},
        {"description offset far outside", Set(64, 0xFFFFFFF0)},
        {"pixel format smaller than one", Set(88, 20)},
        {"pixel format beyond the header", Set(88, 44)},
        {"pixel format inside the header's fields", Set(92, 96)},
        {"palette offset beyond the record", Set(eof + 12, 20)},
        {"palette offset into the fixed fields", Set(eof + 12, 4)},
        {"more palette entries than the record holds", [=](TQRPageBytes& e) { PutU32(e, eof + 8, 3); PutU32(e, 68, 3); }},
        {"palette count other than the header's", Set(68, 1)},
        {"trailing size other than the record's", Set(sound.size() - 4, 24)},
    };
    for (const Damage& damage : damages) {
        TQRPageBytes emf = sound;
        damage.apply(emf);
        EXPECT_FALSE(IsValidEmf(emf)) << damage.name;
    }
}

}  // namespace
