#include "report/pagestore/QRPageBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
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
