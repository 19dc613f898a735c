#include "framework/graphics/checks/PictureLimits.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureLimits, NameTheLimitAPictureExceeds) {
    struct Case {
        Int64 width, height, rowBytes;
        TPictureLimit expected;
    } cases[] = {
        {4096, 4096, 4 * 4096, TPictureLimit::None},         // both limits, exactly
        {4097, 4096, 3 * 4097, TPictureLimit::Pixels},
        {65536, -32768, 0, TPictureLimit::Pixels},           // a bottom-up height counts as its rows
        {INT64_MAX, INT64_MAX, INT64_MAX, TPictureLimit::Pixels},
        {2048, 4096, 16 * 2048, TPictureLimit::Bytes},       // 8 megapixels of 128 bits
        {1, 1, INT64_MIN, TPictureLimit::Bytes},
        {0, 0, 0, TPictureLimit::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExceededPictureLimit(c.width, c.height, c.rowBytes), c.expected) << c.width << " x " << c.height;
    EXPECT_NE(PictureLimitMessage(TPictureLimit::Pixels).find(L"16 megapixels"), String::npos);
    EXPECT_NE(PictureLimitMessage(TPictureLimit::Bytes).find(L"64 MB"), String::npos);
}

}  // namespace
