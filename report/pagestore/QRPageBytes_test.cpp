#include "report/pagestore/QRPageBytes.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/QRTestPages.h"

namespace {

TEST(QRPageBytes, AcceptsHandMadeAndDrawnMetafiles) {
    EXPECT_TRUE(IsValidEmf(qrtest::HandMadeEmf(1000)));
    EXPECT_TRUE(IsValidEmf(qrtest::HandMadeEmf(120)));
    TQRPageBytes drawn = qrtest::DrawnPageEmf(1);
    ASSERT_FALSE(drawn.empty());
    EXPECT_TRUE(IsValidEmf(drawn));
}

struct Damage {
    const char* name;
    std::function<void(TQRPageBytes&)> apply;
};

TEST(QRPageBytes, RejectsDamagedMetafiles) {
    using qrtest::PutU32;
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

}  // namespace
