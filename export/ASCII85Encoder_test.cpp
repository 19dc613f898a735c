#include "export/ASCII85Encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Encode(const std::string& input) {
    TMemoryStream source, destination;
    if (!input.empty()) source.WriteBuffer(input.data(), static_cast<Int64>(input.size()));
    destination.WriteBuffer("old", 3);
    EncodeASCII85(source, destination);
    return std::string(static_cast<const char*>(destination.Memory()), static_cast<std::size_t>(destination.Size()));
}

TEST(ASCII85Encoder, MatchesAnIndependentEncoder) {
    // Expected texts from Python's base64.a85encode, followed by the end marker.
    const std::string data("\x00\xFF\x10\x80\x7F\x00\x00\x00", 8);
    struct Case { std::size_t length; std::string expected; };
    const Case cases[] = {
        {0, ""}, {1, "!!"}, {2, "!<3"}, {3, "!<3T"}, {4, "!<3U\\"}, {5, "!<3U\\If"}, {8, "!<3U\\IfKHK"},
    };
    for (const auto& c : cases) EXPECT_EQ(Encode(data.substr(0, c.length)), c.expected + "~>") << c.length;
    EXPECT_EQ(Encode("Folhavida \xE9 um curr\xED" "culo"), "7W3*V@<Q?q@3FeWF_r72F`MNi@s)U+~>");
}

TEST(ASCII85Encoder, ZeroGroupsAreZAndShortGroupsNever) {
    EXPECT_EQ(Encode(std::string(8, '\0')), "zz~>");
    EXPECT_EQ(Encode(std::string(1, '\0')), "!!~>");
    EXPECT_EQ(Encode(std::string(3, '\0')), "!!!!~>");
    EXPECT_EQ(Encode(std::string(7, '\0')), "z!!!!~>");
}

TEST(ASCII85Encoder, BreaksTheLineAfterEvery41Groups) {
    std::string text = Encode(std::string(4 * 100, '\0'));
    EXPECT_EQ(text, std::string(41, 'z') + "\r\n" + std::string(41, 'z') + "\r\n" + std::string(18, 'z') + "~>");
    std::string mixed = Encode(std::string(4 * 41, '\x01'));
    ASSERT_EQ(mixed.size(), 41 * 5 + 2 + 2u);
    EXPECT_EQ(mixed.substr(41 * 5), "\r\n~>");
}

}  // namespace
