#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skin/SkinRead.h"
#include "skin/SkinWrite.h"

namespace {

using Bytes = std::vector<Byte>;

void PutInt32(Bytes& out, std::int64_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<Byte>(static_cast<std::uint32_t>(value) >> shift));
}

// An archive written field by field, so that any field can lie.
struct RawArchive {
    std::int32_t version = kSkinArchiveVersion;
    std::string names = "frametop.bmp\r\nskin.ini\r\n";
    std::optional<std::int64_t> nameLength;  // none: the names' true length
    std::vector<std::int64_t> sizes = {3, 2};
    std::string data = "TOPab";
    std::size_t keep = SIZE_MAX;  // bytes kept of the whole

    Bytes Bytes_() const {
        Bytes out;
        PutInt32(out, version);
        PutInt32(out, nameLength.value_or(static_cast<std::int64_t>(names.size())));
        out.insert(out.end(), 8, 0xEE);
        out.insert(out.end(), names.begin(), names.end());
        for (std::int64_t size : sizes) PutInt32(out, size);
        out.insert(out.end(), data.begin(), data.end());
        out.resize(std::min(out.size(), keep));
        return out;
    }
};

// The default archive with some fields made to lie.
RawArchive With(const std::function<void(RawArchive&)>& change) {
    RawArchive archive;
    change(archive);
    return archive;
}

bool LoadPacked(TSkinReader& reader, const Bytes& packed) {
    TMemoryStream stream;
    stream.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
    return reader.LoadFromStream(stream);
}

std::string Extract(const TSkinReader& reader, const std::string& name) {
    TMemoryStream target;
    reader.ExtractByName(name, target);
    std::string bytes(static_cast<std::size_t>(target.Size()), '\0');
    target.Read(bytes.data(), target.Size());
    return bytes;
}

TEST(SkinReader, FindsEntriesByNameInAnyCaseAndByLowerCasePart) {
    TSkinReader reader;
    ASSERT_TRUE(LoadPacked(reader, PackSkin(RawArchive{}.Bytes_())));
    ASSERT_EQ(reader.EntryCount(), 2);
    EXPECT_EQ(Extract(reader, "FRAMETOP.BMP"), "TOP");
    EXPECT_EQ(Extract(reader, "skin.ini"), "ab");
    EXPECT_EQ(Extract(reader, "missing.bmp"), "");

    TMemoryStream target;
    std::string name = "unchanged";
    reader.ExtractByPart(".INI", target, name);
    EXPECT_EQ(target.Size(), 0);
    EXPECT_EQ(name, "unchanged");
    reader.ExtractByPart(".ini", target, name);
    EXPECT_EQ(target.Size(), 2);
    EXPECT_EQ(target.Position(), 0);
    EXPECT_EQ(name, "skin.ini");
}

TEST(SkinReader, TheWriterListsNamesInLowerCaseWithTheDescriptionLast) {
    const Bytes archive = WriteSkinArchive({{"Skin.INI", {'a'}}, {"FrameTop.bmp", {'t', 'o', 'p'}}});
    RawArchive expected;
    expected.names = "frametop.bmp\r\nskin.ini\r\n";
    expected.sizes = {3, 1};
    expected.data = "topa";
    Bytes want = expected.Bytes_();
    std::fill(want.begin() + 8, want.begin() + 16, 0);
    EXPECT_EQ(archive, want);
    EXPECT_THROW(WriteSkinArchive(std::vector<TSkinEntry>(1002, {"a.bmp", {}})), EInvalidArgument);
}

// n names, one a line ("e0.bmp", "e1.bmp", ...).
std::string Names(int n) {
    std::string names;
    for (int i = 0; i < n; ++i) {
        names += 'e';
        names += std::to_string(i);
        names += ".bmp\r\n";
    }
    return names;
}

TEST(SkinReader, RefusesArchivesThatLie) {
    struct Case {
        const char* name;
        RawArchive archive;
    };
    const Case cases[] = {
        {"1002 names", With([](RawArchive& a) { a.names = Names(1002), a.sizes.assign(1002, 0), a.data = ""; })},
        {"name list past the end", With([](RawArchive& a) { a.nameLength = 1000; })},
        {"negative name list", With([](RawArchive& a) { a.nameLength = -5; })},
        {"a negative size", With([](RawArchive& a) { a.sizes = {-1, 6}; })},
        {"sizes past the data", With([](RawArchive& a) { a.sizes = {3, 3}; })},
        {"sizes adding up past 32 bits", With([](RawArchive& a) { a.sizes = {0x7FFFFFFF, 0x7FFFFFFF}; })},
        {"size table past the end", With([](RawArchive& a) { a.sizes = {}, a.data = ""; })},
        {"header cut short", With([](RawArchive& a) { a.keep = 12; })},
    };
    for (const Case& c : cases) {
        TSkinReader reader;
        EXPECT_FALSE(LoadPacked(reader, PackSkin(c.archive.Bytes_()))) << c.name;
        EXPECT_EQ(reader.EntryCount(), 0) << c.name;
    }
    // 1001 entries is the most an archive holds.
    RawArchive most = With([](RawArchive& a) { a.names = Names(1001), a.sizes.assign(1001, 0), a.data = ""; });
    TSkinReader reader;
    EXPECT_TRUE(LoadPacked(reader, PackSkin(most.Bytes_())));
    EXPECT_EQ(reader.EntryCount(), 1001);
}

TEST(SkinReader, AnotherVersionIsToldOnceAndRefused) {
    std::vector<String> messages;
    TSkinReader reader([&](const String& message) { messages.push_back(message); });
    EXPECT_FALSE(LoadPacked(reader, PackSkin(With([](RawArchive& a) { a.version = 19999; }).Bytes_())));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader.EntryCount(), 0);
    EXPECT_TRUE(LoadPacked(reader, PackSkin(RawArchive{}.Bytes_())));
    EXPECT_EQ(messages.size(), 1u);
}

TEST(SkinReader, RefusesUnpackedSizesOutOfRangeBeforeDecoding) {
    for (std::int64_t size : {std::int64_t{-1}, std::int64_t{kSkinMaxUnpackedSize} + 1, std::int64_t{0x7FFFFFFF}}) {
        Bytes packed;
        PutInt32(packed, size);
        packed.push_back(0);
        TSkinReader reader;
        TMemoryStream in, out;
        in.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
        EXPECT_FALSE(reader.UnpackStream(in, out)) << size;
        EXPECT_EQ(out.Size(), 0) << size;
        EXPECT_FALSE(reader.LoadFromStream(in)) << size;
    }
    TSkinReader reader;
    TMemoryStream tooShort;
    tooShort.WriteBuffer("\x01\x00", 2);
    EXPECT_FALSE(reader.LoadFromStream(tooShort));
}

TEST(SkinReader, UnpacksTruncatedStreamsToTheirFullSize) {
    const Bytes archive = RawArchive{}.Bytes_();
    Bytes packed = PackSkin(archive);
    packed.resize(6);
    TSkinReader reader;
    TMemoryStream in, out;
    in.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
    ASSERT_TRUE(reader.UnpackStream(in, out));
    EXPECT_EQ(out.Size(), static_cast<Int64>(archive.size()));
}

}  // namespace
