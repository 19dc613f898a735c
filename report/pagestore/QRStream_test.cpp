#include "report/pagestore/QRStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/rtl/FileUtils.h"
#include "report/pagestore/QRFileFormat.h"

namespace {

std::vector<Byte> Pattern(std::size_t size, unsigned seed) {
    std::vector<Byte> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<Byte>((i * 7 + seed) % 251);
    return bytes;
}

std::vector<Byte> ReadAll(TStream& stream) {
    std::vector<Byte> bytes(static_cast<std::size_t>(stream.Size()));
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    return bytes;
}

TEST(QRStream, StaysInMemoryUpToTheLimitAndSpillsAtTheNextByte) {
    const std::vector<Byte> data = Pattern(250001, 3);
    String tempName;
    {
        TQRStream stream(250000);
        stream.WriteBuffer(data.data(), 250000);
        EXPECT_TRUE(stream.InMemory());
        EXPECT_TRUE(stream.TempFileName().empty());

        stream.WriteBuffer(data.data() + 250000, 1);
        EXPECT_FALSE(stream.InMemory());
        tempName = stream.TempFileName();
        EXPECT_TRUE(FileExists(tempName));
        EXPECT_EQ(ExtractFilePath(tempName), GetTempDirectory());
        EXPECT_EQ(ExtractFileName(tempName).substr(0, 3), L"QRP");
        EXPECT_EQ(stream.Position(), 250001);
        EXPECT_EQ(ReadAll(stream), data);
    }
    EXPECT_FALSE(FileExists(tempName));
}

TEST(QRStream, KeepsItsTruePositionWhenAWriteInsideSpills) {
    TQRStream stream(1000);
    stream.SetSize(1500);  // larger than the limit, still in memory: only writes spill
    ASSERT_TRUE(stream.InMemory());
    const std::vector<Byte> data = Pattern(10, 9);
    stream.SetPosition(100);
    stream.WriteBuffer(data.data(), 10);
    ASSERT_FALSE(stream.InMemory());
    EXPECT_EQ(stream.Position(), 110);
    EXPECT_EQ(stream.Size(), 1500);
    Byte back[10];
    stream.SetPosition(100);
    stream.ReadBuffer(back, 10);
    EXPECT_EQ(std::vector<Byte>(back, back + 10), data);
}

TEST(QRStream, OnAUserFileReadsInPlaceAndNeverDeletesIt) {
    const String name = CreateTempFileName(L"QRT");
    const std::vector<Byte> data = Pattern(30000, 5);
    {
        TFileStream file(name, fmCreate);
        file.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
    }
    {
        TQRStream stream(name);
        EXPECT_FALSE(stream.InMemory());
        EXPECT_TRUE(stream.TempFileName().empty());
        EXPECT_EQ(stream.SourceFileName(), name);
        EXPECT_EQ(ReadAll(stream), data);
        EXPECT_THROW(stream.WriteBuffer(data.data(), 1), EWriteError);
        TQRStream second(name);  // others may read it at the same time
        EXPECT_EQ(second.Size(), 30000);
    }
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(FileSize(name), 30000);
    DeleteFile(name);
    EXPECT_THROW(TQRStream{name}, EFOpenError);
}

TEST(QRStream, CopiesEverythingAndEndsAtTheEnd) {
    for (Int64 limit : {Int64{1} << 20, Int64{100}}) {  // in memory, spilled
        TQRStream stream(limit);
        const std::vector<Byte> data = Pattern(25000, 1);  // more than two blocks
        stream.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
        stream.SetPosition(17);
        TMemoryStream target;
        stream.CopyIntoStream(target);
        EXPECT_EQ(ReadAll(target), data);
        EXPECT_EQ(stream.Position(), 25000);
    }
}

// A file image: header-sized lead, then a record prefix and bytes that start like a metafile.
std::vector<Byte> FileWithSignatureBehind(int headerLength, bool currentWords) {
    std::vector<Byte> bytes(static_cast<std::size_t>(headerLength) + 400, 'H');
    bytes[0] = currentWords ? 3 : 2;
    bytes[1] = 0;
    bytes[2] = currentWords ? 50 : 0;
    bytes[3] = 0;
    PutInt32LE(&bytes[headerLength], 1);  // page 1
    PutInt32LE(&bytes[headerLength + 4], headerLength + 400);
    const Byte signature[] = {' ', 'E', 'M', 'F', 0, 0, 1, 0};
    std::copy(std::begin(signature), std::end(signature), bytes.begin() + headerLength + 8 + 40);
    return bytes;
}

int ProbeOf(const std::vector<Byte>& image) {
    TQRStream stream(1 << 20);
    stream.WriteBuffer(image.data(), static_cast<Int64>(image.size()));
    stream.SetPosition(5);
    int size = stream.HeaderSize();
    EXPECT_EQ(stream.Position(), 5) << "the probe keeps the position";
    return size;
}

TEST(QRStream, HeaderProbeRecognisesTheKnownLengthsOnly) {
    struct Case {
        const char* name;
        std::vector<Byte> image;
        int expected;
    };
    std::vector<Byte> beyond(600, 0);  // the signature only at offsets no known header gives
    std::copy_n("EMF", 4, beyond.begin() + 300);
    std::vector<Byte> tooEarly(600, 0);  // "EMF" before offset 49 has no room for a header
    std::copy_n("EMF", 4, tooEarly.begin() + 20);
    const Case cases[] = {
        {"current words", FileWithSignatureBehind(128, true), 128},
        {"124 with other words", FileWithSignatureBehind(124, false), 124},
        {"124 with the current words", FileWithSignatureBehind(124, true), 124},
        {"120", FileWithSignatureBehind(120, false), 120},
        {"96", FileWithSignatureBehind(96, false), 96},
        {"128 found by signature", FileWithSignatureBehind(128, false), 128},
        {"signature beyond the known offsets", beyond, 128},
        {"signature too early", tooEarly, 128},
        {"nothing", std::vector<Byte>(10, 0), 128},
        {"empty", {}, 128},
    };
    for (const Case& c : cases) EXPECT_EQ(ProbeOf(c.image), c.expected) << c.name;
}

}  // namespace
