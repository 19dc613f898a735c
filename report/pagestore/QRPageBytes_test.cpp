#include "report/pagestore/QRPageBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "testing/QRTestPages.h"

namespace {

using qrtest::EmfWith;
using qrtest::NewRecord;
using qrtest::PutU32;
using qrtest::PutWord;
using qrtest::SoundRecord;

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

TEST(QRPageBytes, AcceptsSoundHandBuiltRecordsWithOffsets) {
    for (const SoundRecord& sound : qrtest::SoundRecords()) EXPECT_TRUE(IsValidEmf(EmfWith(sound.record))) << sound.name;
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
    const std::vector<SoundRecord> sound = qrtest::SoundRecords();
    for (const Hostile& hostile : cases) {
        const auto base = std::find_if(sound.begin(), sound.end(), [&](const SoundRecord& s) { return std::string(s.name) == hostile.base; });
        ASSERT_NE(base, sound.end()) << hostile.base;
        TQRPageBytes record = base->record;
        hostile.apply(record);
        EXPECT_FALSE(IsValidEmf(EmfWith(record))) << hostile.base << ": " << hostile.name;
    }
}

TEST(QRPageBytes, HeaderAndEndOfFileBlocksStayInsideTheirRecords) {
    const TQRPageBytes sound = qrtest::EmfWithHeaderBlocksAndPalette();
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

// ---- records the player trusts for counts, indices and extents ----

namespace {

// A metafile of the given records between the header (with room for 3 objects) and the end.
TQRPageBytes EmfOfRecords(const std::vector<TQRPageBytes>& records) {
    TQRPageBytes body;
    for (const TQRPageBytes& record : records) body.insert(body.end(), record.begin(), record.end());
    TQRPageBytes emf = EmfWith(body);
    PutU32(emf, 52, static_cast<Cardinal>(records.size() + 2));
    return emf;
}

TQRPageBytes Rec(Cardinal type, std::size_t size, std::initializer_list<std::pair<std::size_t, Cardinal>> fields) {
    TQRPageBytes record = NewRecord(type, size);
    for (const auto& [at, value] : fields) PutU32(record, at, value);
    return record;
}

constexpr Cardinal Stock = 0x80000000;
const TQRPageBytes SolidBrush1 = Rec(39, 24, {{8, 1}});
const TQRPageBytes Select1 = Rec(37, 12, {{8, 1}});
const TQRPageBytes Delete1 = Rec(40, 12, {{8, 1}});

// count 16-bit points (a POLYGON16, POLYLINE16 or POLYBEZIERTO16).
TQRPageBytes Poly16(Cardinal type, Cardinal count, std::size_t pointsHeld) {
    return Rec(type, 28 + 4 * pointsHeld, {{24, count}});
}

// Two polylines of two points each.
TQRPageBytes PolyPolyline16(Cardinal first, Cardinal second, Cardinal total) {
    return Rec(90, 32 + 8 + 16, {{24, 2}, {28, total}, {32, first}, {36, second}});
}

TQRPageBytes Box(Cardinal type, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return Rec(type, 24, {{8, static_cast<Cardinal>(left)}, {12, static_cast<Cardinal>(top)},
                          {16, static_cast<Cardinal>(right)}, {20, static_cast<Cardinal>(bottom)}});
}

TQRPageBytes StretchDIBits(Cardinal sourceWidth, Cardinal destinationWidth) {
    const std::vector<SoundRecord> sound = qrtest::SoundRecords();
    TQRPageBytes record =
        std::find_if(sound.begin(), sound.end(), [](const SoundRecord& s) { return std::string(s.name) == "STRETCHDIBITS"; })->record;
    PutU32(record, 40, sourceWidth);
    PutU32(record, 44, 3);
    PutU32(record, 72, destinationWidth);
    PutU32(record, 76, 3);
    return record;
}

TQRPageBytes WorldTransform(float scale, float shift) {
    TQRPageBytes record = NewRecord(35, 32);
    const float values[6] = {scale, 0, 0, scale, shift, 0};
    std::memcpy(&record[8], values, sizeof values);
    return record;
}

// EXTSELECTCLIPRGN of rects rectangles, rectsHeld of them in the record.
TQRPageBytes ClipRegion(Cardinal rects, std::size_t rectsHeld) {
    const auto dataSize = static_cast<Cardinal>(32 + 16 * rectsHeld);
    return Rec(75, 16 + dataSize, {{8, dataSize}, {12, 5}, {16, 32}, {20, 1}, {24, rects}});
}

struct Sequence {
    const char* name;
    std::vector<TQRPageBytes> records;
};

}  // namespace

TEST(QRPageBytes, AcceptsSoundObjectsShapesAndPolygons) {
    const Sequence sound[] = {
        {"brush created, selected, deleted", {SolidBrush1, Select1, Rec(37, 12, {{8, Stock | 4}}), Delete1}},
        {"hatched brush", {Rec(39, 24, {{8, 3}, {12, 2}, {20, 5}})}},
        {"font of a full LOGFONTW", {Rec(82, 104, {{8, 2}}), Rec(37, 12, {{8, 2}})}},
        {"polygons", {Poly16(86, 3, 3), Poly16(87, 2, 2), Poly16(88, 3, 3), PolyPolyline16(2, 2, 4), Rec(3, 28 + 16, {{24, 2}})}},
        {"shapes", {Box(43, 10, 10, 2400, 3400), Box(42, -50, -50, 50, 50), Rec(44, 32, {{16, 100}, {20, 100}, {24, 8}, {28, 8}})}},
        {"clipping", {ClipRegion(1, 1), Rec(75, 16, {{12, 5}}), Box(30, 0, 0, 100, 100)}},
        {"mapping", {Rec(17, 12, {{8, 8}}), Rec(9, 16, {{8, 2100}, {12, 2970}}), WorldTransform(2, 30)}},
        {"stretched bitmap", {StretchDIBits(4, 8)}},
        {"a type the check does not know", {Rec(200, 16, {{8, 0xFFFFFFFF}})}},
    };
    for (const Sequence& sequence : sound) EXPECT_TRUE(IsValidEmf(EmfOfRecords(sequence.records))) << sequence.name;
}

TEST(QRPageBytes, RejectsRecordsThePlayerWouldTrust) {
    const auto huge = static_cast<Cardinal>(1 << 24);
    const Sequence hostile[] = {
        {"brush created at the handle count", {Rec(39, 24, {{8, 4}})}},
        {"brush created far beyond the table", {Rec(39, 24, {{8, 0x7FFFFFFF}})}},
        {"brush created at the reserved index", {Rec(39, 24, {{8, 0}})}},
        {"brush whose hatch is a pointer", {Rec(39, 24, {{8, 1}, {12, 6}})}},
        {"brush of an unknown hatch", {Rec(39, 24, {{8, 1}, {12, 2}, {20, 6}})}},
        {"object selected beyond the table", {SolidBrush1, Rec(37, 12, {{8, 4}})}},
        {"object selected before it is created", {Select1}},
        {"stock object beyond the last", {Rec(37, 12, {{8, Stock | 20}})}},
        {"object deleted beyond the table", {Rec(40, 12, {{8, 0x10000}})}},
        {"stock object deleted", {Rec(40, 12, {{8, Stock | 4}})}},
        {"object deleted twice", {SolidBrush1, Delete1, Delete1}},
        {"object selected after it is deleted", {SolidBrush1, Delete1, Select1}},
        {"selection shorter than its index", {SolidBrush1, Rec(37, 8, {})}},
        {"font shorter than a LOGFONTW", {Rec(82, 100, {{8, 1}})}},
        {"palette of more entries than the record", {Rec(49, 24, {{8, 1}, {12, 3u << 16 | 0x300}})}},
        {"pen of a pattern without a bitmap", {Rec(95, 52, {{8, 1}, {36, 6}})}},
        {"pen of more dashes than the record", {Rec(95, 60, {{8, 1}, {48, 3}})}},
        {"POLYGON16 of more points than the record", {Poly16(86, 4, 3)}},
        {"POLYLINE16 of more points than the record", {Poly16(87, 3, 2)}},
        {"POLYBEZIERTO16 of more points than the record", {Poly16(88, 4, 3)}},
        {"POLYGON16 whose point bytes overflow 32 bits", {Poly16(86, 0x40000001, 3)}},
        {"POLYPOLYLINE16 counts beyond its points", {PolyPolyline16(2, 3, 5)}},
        {"POLYPOLYLINE16 counts other than its total", {PolyPolyline16(2, 2, 3)}},
        {"POLYPOLYLINE16 of more polylines than counts", {Rec(90, 40, {{24, 3}, {28, 0}})}},
        {"POLYGON point beyond the bound", {Rec(3, 28 + 16, {{24, 2}, {28, huge}})}},
        {"huge ellipse", {Box(42, -0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF)}},
        {"rectangle beyond the bound", {Box(43, 0, 0, huge, 10)}},
        {"rectangle shorter than its corners", {Rec(43, 16, {})}},
        {"STRETCHDIBITS of a source zero wide", {StretchDIBits(0, 8)}},
        {"STRETCHDIBITS to a destination beyond the bound", {StretchDIBits(4, huge)}},
        {"transform that is not a number", {WorldTransform(std::numeric_limits<float>::quiet_NaN(), 0)}},
        {"transform of a huge scale", {WorldTransform(1e6f, 0)}},
        {"transform shifting beyond the bound", {WorldTransform(1, 1e9f)}},
        {"clip region of more rectangles than its data", {ClipRegion(2, 1)}},
        {"clip region data beyond the record", {Rec(75, 48, {{8, 48}, {16, 32}, {20, 1}})}},
        {"comment of more data than the record", {Rec(70, 16, {{8, 8}})}},
    };
    for (const Sequence& sequence : hostile) EXPECT_FALSE(IsValidEmf(EmfOfRecords(sequence.records))) << sequence.name;
}

TEST(QRPageBytes, BoundsCoordinatesByAPaperAndBitmapsByThePictureLimits) {
    for (Cardinal right : {Cardinal{100}, Cardinal{0x7FFFFFFF}}) {  // the frame's right edge
        TQRPageBytes page = EmfOfRecords({Box(43, 0, 0, 3000000, 10)});
        PutU32(page, 32, right);
        EXPECT_FALSE(IsValidEmf(page)) << "a rectangle 30 m wide, frame to " << right;
        page = EmfOfRecords({Box(43, 0, 0, 100000, 10)});
        PutU32(page, 32, right);
        EXPECT_EQ(IsValidEmf(page), right > 100000) << "a rectangle of 1 m, frame to " << right;
    }

    // 5000 x 5000 run-length coded in 36 bytes: 25 megapixels once decoded.
    const std::vector<SoundRecord> sound = qrtest::SoundRecords();
    TQRPageBytes rle = std::find_if(sound.begin(), sound.end(), [](const SoundRecord& s) {
                           return std::string(s.name) == "BITBLT of run-length bits";
                       })->record;
    ASSERT_TRUE(IsValidEmf(EmfWith(rle)));
    PutU32(rle, 104, 5000);
    PutU32(rle, 108, 5000);
    EXPECT_FALSE(IsValidEmf(EmfWith(rle)));
}
