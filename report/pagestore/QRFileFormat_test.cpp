#include "report/pagestore/QRFileFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(QRFileFormat, ConvertsA124ByteHeaderToThe128ByteLayout) {
    TQRHeaderRecord record{};
    for (int i = 0; i < QROldHeaderSize; ++i) record[i] = static_cast<Byte>(i + 1);
    ConvertOldHeader(QROldHeaderSize, record);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(record[i], i + 1) << "format words, reserved byte, page count";
    for (int i = 0; i < 8; ++i) EXPECT_EQ(record[16 + i], 12 + i + 1) << "creation time";
    EXPECT_EQ(record[24], 20 + 1);
    EXPECT_EQ(record[25], 21 + 1) << "compression flag";
    for (int i = 0; i < 101; ++i) EXPECT_EQ(record[26 + i], 22 + i + 1) << "filler";
    EXPECT_EQ(HeaderPageCount(record), GetInt32LE(&record[8]));
}

TEST(QRFileFormat, LeavesOtherHeaderLengthsAlone) {
    for (int length : {QRHeaderSize, QROnePageHeaderSize, QRBareHeaderSize}) {
        TQRHeaderRecord record{};
        for (int i = 0; i < QRHeaderSize; ++i) record[i] = static_cast<Byte>(i * 3);
        const TQRHeaderRecord before = record;
        ConvertOldHeader(length, record);
        EXPECT_EQ(record, before) << length;
    }
}

}  // namespace
