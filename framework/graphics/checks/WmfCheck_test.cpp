#include "framework/graphics/checks/WmfCheck.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

using Bytes = std::vector<Byte>;

void PutWord(Bytes& b, std::size_t at, unsigned value) {
    b[at] = static_cast<Byte>(value);
    b[at + 1] = static_cast<Byte>(value >> 8);
}

void PutU32(Bytes& b, std::size_t at, unsigned value) {
    PutWord(b, at, value & 0xFFFF);
    PutWord(b, at + 2, value >> 16);
}

// A record of a function and its parameters, as 16-bit words.
Bytes Record(unsigned function, std::initializer_list<unsigned> params) {
    Bytes record(6 + 2 * params.size());
    PutU32(record, 0, static_cast<unsigned>(record.size() / 2));
    PutWord(record, 4, function);
    std::size_t at = 6;
    for (unsigned param : params) {
        PutWord(record, at, param);
        at += 2;
    }
    return record;
}

// A record of a function, parameter words and then a packed bitmap of width x height pixels at
// 24 bits with bitsSize bytes of bits.
Bytes DibRecord(unsigned function, std::initializer_list<unsigned> params, int width, int height, std::size_t bitsSize) {
    Bytes record = Record(function, params);
    Bytes dib(40 + bitsSize, 0x11);
    PutU32(dib, 0, 40);
    PutU32(dib, 4, static_cast<unsigned>(width));
    PutU32(dib, 8, static_cast<unsigned>(height));
    PutWord(dib, 12, 1);
    PutWord(dib, 14, 24);
    PutU32(dib, 16, 0);
    PutU32(dib, 32, 0);
    record.insert(record.end(), dib.begin(), dib.end());
    if (record.size() % 2 != 0) record.push_back(0);
    PutU32(record, 0, static_cast<unsigned>(record.size() / 2));
    return record;
}

// A metafile of the records with a table of objects slots, ended by the end-of-file record.
Bytes Wmf(const std::vector<Bytes>& records, unsigned objects = 2) {
    Bytes wmf(18, 0);
    PutWord(wmf, 0, 1);
    PutWord(wmf, 2, 9);
    PutWord(wmf, 4, 0x300);
    PutWord(wmf, 10, objects);
    for (const Bytes& r : records) wmf.insert(wmf.end(), r.begin(), r.end());
    const Bytes eof = Record(0, {});
    wmf.insert(wmf.end(), eof.begin(), eof.end());
    PutU32(wmf, 6, static_cast<unsigned>(wmf.size() / 2));
    return wmf;
}

const Bytes Brush = Record(0x02FC, {0, 0x00FF, 0, 0});  // solid red
const Bytes Select0 = Record(0x012D, {0});
const Bytes Delete0 = Record(0x01F0, {0});

struct Case {
    const char* name;
    Bytes wmf;
};

TEST(WmfCheck, AcceptsSoundMetafiles) {
    const Case sound[] = {
        {"empty", Wmf({})},
        {"shapes and state", Wmf({Record(0x0103, {8}), Record(0x020C, {100, 100}), Record(0x041B, {90, 90, 10, 10}),
                                  Record(0x0418, {50, 50, 0, 0}), Record(0x0416, {80, 80, 0, 0})})},
        {"brush created, selected, deleted, created again", Wmf({Brush, Select0, Delete0, Brush, Select0}, 1)},
        {"polygon and text", Wmf({Record(0x0324, {3, 0, 0, 10, 0, 10, 10}), Record(0x0521, {3, 'A' | 'n' << 8, 'a', 5, 5})})},
        {"stretched bitmap", Wmf({DibRecord(0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 10, 10, 0, 0}, 2, 2, 16)})},
        {"comment", Wmf({Record(0x0626, {15, 4, 0x4241, 0x4443})})},
    };
    for (const Case& c : sound) EXPECT_TRUE(IsSoundWmf(c.wmf)) << c.name;
}

TEST(WmfCheck, RejectsHostileMetafiles) {
    Bytes shortSize = Wmf({});
    PutU32(shortSize, 6, 0x80000010);  // a size in words that wraps to a small byte count
    Bytes noEof = Wmf({Record(0x0103, {8})});
    noEof.resize(noEof.size() - 6);
    PutU32(noEof, 6, static_cast<unsigned>(noEof.size() / 2));
    Bytes longRecord = Wmf({Record(0x0103, {8})});
    PutU32(longRecord, 18, 1000);
    const Case hostile[] = {
        {"size other than the file's", shortSize},
        {"no end-of-file record", noEof},
        {"record beyond the file", longRecord},
        {"object created with no free slot", Wmf({Brush, Brush}, 1)},
        {"object selected beyond the table", Wmf({Brush, Record(0x012D, {7})})},
        {"object selected before it is created", Wmf({Select0})},
        {"object deleted twice", Wmf({Brush, Delete0, Delete0})},
        {"clip region that was never made", Wmf({Record(0x012C, {0})})},
        {"brush whose hatch is a pointer", Wmf({Record(0x02FC, {6, 0, 0, 0})})},
        {"polygon of more points than the record", Wmf({Record(0x0324, {4, 0, 0, 10, 0, 10, 10})})},
        {"polypolygon counts beyond the record", Wmf({Record(0x0538, {2, 3, 3, 0, 0, 1, 1, 2, 2})})},
        {"text longer than the record", Wmf({Record(0x0521, {9, 0, 5, 5})})},
        {"ext text longer than the record", Wmf({Record(0x0A32, {5, 5, 40, 0, 0x4141})})},
        {"escape longer than the record", Wmf({Record(0x0626, {15, 40, 0})})},
        {"palette of more entries than the record", Wmf({Record(0x00F7, {0x300, 4, 0, 0})})},
        {"font shorter than a LOGFONT", Wmf({Record(0x02FB, {10, 0, 0})})},
        {"window scaled by a zero denominator", Wmf({Record(0x0410, {0, 1, 1, 1})})},
        {"bitmap of fewer bits than rows", Wmf({DibRecord(0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 10, 10, 0, 0}, 2, 2, 12)})},
        {"bitmap stretched from nothing", Wmf({DibRecord(0x0F43, {0x0020, 0x00CC, 0, 0, 2, 0, 0, 10, 10, 0, 0}, 2, 2, 16)})},
        {"bitmap of 65536 x 32768", Wmf({DibRecord(0x0940, {0x0020, 0x00CC, 0, 0, 2, 2, 0, 0}, 65536, 32768, 16)})},
        {"record of an unknown function", Wmf({Record(0x0922, {0, 0, 0, 0, 0, 0, 0, 0})})},
    };
    for (const Case& c : hostile) EXPECT_FALSE(IsSoundWmf(c.wmf)) << c.name;
}

}  // namespace
