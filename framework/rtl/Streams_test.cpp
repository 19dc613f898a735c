#include "framework/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/rtl/FileUtils.h"

namespace {

// A temporary file name, deleted again when the test ends.
class TempFile {
public:
    TempFile() : name_(CreateTempFileName(L"fvs")) {}
    ~TempFile() { DeleteFile(name_); }
    const String& Name() const { return name_; }

private:
    String name_;
};

class ReadOnlyView : public TCustomMemoryStream {
public:
    ReadOnlyView(void* memory, Int64 size) { SetPointer(memory, size); }
};

template <typename E>
String MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return L"<no exception>";
}

}  // namespace

TEST(MemoryStreamTest, GrowsOnWriteAndReadsBack) {
    TMemoryStream stream;
    std::string chunk(1000, 'x');
    for (int i = 0; i < 100; ++i) {
        chunk[0] = static_cast<char>('a' + i % 26);
        stream.WriteBuffer(chunk.data(), 1000);
    }
    EXPECT_EQ(stream.Size(), 100000);
    EXPECT_EQ(stream.Position(), 100000);
    EXPECT_EQ(static_cast<const char*>(stream.Memory())[99000], 'a' + 99 % 26);
    stream.SetPosition(26000);
    char c = 0;
    stream.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'a');
    EXPECT_EQ(stream.Seek(-1, soFromEnd), 99999);
    EXPECT_EQ(stream.Seek(-9, soFromCurrent), 99990);
}

TEST(MemoryStreamTest, SetSizeKeepsDataAndClampsPosition) {
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    stream.SetSize(3);
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_EQ(stream.Position(), 3);
    stream.SetSize(5);
    EXPECT_EQ(std::memcmp(stream.Memory(), "abc\0\0", 5), 0);
    stream.SetPosition(8);  // writing past the end fills the gap with zeros
    stream.WriteBuffer("z", 1);
    EXPECT_EQ(stream.Size(), 9);
    EXPECT_EQ(std::memcmp(stream.Memory(), "abc\0\0\0\0\0z", 9), 0);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStreamTest, ShortReadRaisesReadError) {
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    stream.SetPosition(1);
    char buffer[8];
    EXPECT_EQ(stream.Read(buffer, 8), 2);  // Read itself just reports the short transfer
    stream.SetPosition(1);
    EXPECT_EQ(MessageOf<EReadError>([&] { stream.ReadBuffer(buffer, 3); }), L"Stream read error");
}

TEST(MemoryStreamTest, ReadOnlyViewRefusesWrites) {
    char data[] = "view";
    ReadOnlyView view(data, 4);
    char out[4];
    view.ReadBuffer(out, 4);
    EXPECT_EQ(std::memcmp(out, "view", 4), 0);
    view.SetPosition(0);
    EXPECT_EQ(MessageOf<EWriteError>([&] { view.WriteBuffer("x", 1); }), L"Stream write error");
    EXPECT_EQ(data[0], 'v');
}

TEST(StreamTest, CopyFrom) {
    TStringStream source("0123456789");
    source.SetPosition(10);
    TMemoryStream all;
    EXPECT_EQ(all.CopyFrom(source, 0), 10);  // 0 = the whole source, from its start
    EXPECT_EQ(all.Size(), 10);
    EXPECT_EQ(std::memcmp(all.Memory(), "0123456789", 10), 0);

    source.SetPosition(4);
    TStringStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(part.DataString(), "456");
    EXPECT_EQ(source.Position(), 7);
    EXPECT_THROW(part.CopyFrom(source, 4), EReadError);
}

TEST(StringStreamTest, ReadAndWriteStrings) {
    TStringStream stream("hello world");
    EXPECT_EQ(stream.ReadString(5), "hello");
    EXPECT_EQ(stream.ReadString(100), " world");
    EXPECT_EQ(stream.ReadString(1), "");
    stream.SetPosition(6);
    stream.WriteString("there!");
    EXPECT_EQ(stream.DataString(), "hello there!");
    stream.SetSize(5);
    EXPECT_EQ(stream.DataString(), "hello");
    EXPECT_EQ(stream.Position(), 5);
}

TEST(FileStreamTest, WritesAndReadsAFile) {
    TempFile file;
    {
        TFileStream out(file.Name(), fmCreate);
        out.WriteBuffer("abcdef", 6);
        out.SetSize(4);
        EXPECT_EQ(out.Size(), 4);
    }
    EXPECT_EQ(FileSize(file.Name()), 4);
    {
        TFileStream in(file.Name(), fmOpenRead);
        char buffer[4];
        in.ReadBuffer(buffer, 4);
        EXPECT_EQ(std::memcmp(buffer, "abcd", 4), 0);
        EXPECT_THROW(in.ReadBuffer(buffer, 1), EReadError);
        EXPECT_THROW(in.WriteBuffer("x", 1), EWriteError);  // opened for reading only
    }
    TMemoryStream memory;
    memory.LoadFromFile(file.Name());
    EXPECT_EQ(memory.Size(), 4);
    memory.Seek(0, soFromEnd);
    memory.WriteBuffer("Z", 1);
    memory.SaveToFile(file.Name());
    EXPECT_EQ(FileSize(file.Name()), 5);
    // The handle was closed by the destructors, so the file can go.
    EXPECT_TRUE(DeleteFile(file.Name()));
}

TEST(FileStreamTest, OpenErrorsNameTheFileAndTheReason) {
    String missing = GetTempDirectory() + L"fv-no-such-dir\\missing.bin";
    String message = MessageOf<EFOpenError>([&] { TFileStream s(missing, fmOpenRead); });
    String prefix = L"Cannot open file \"" + missing + L"\". ";
    ASSERT_EQ(message.substr(0, prefix.size()), prefix);
    EXPECT_GT(message.size(), prefix.size());

    message = MessageOf<EFCreateError>([&] { TFileStream s(missing, fmCreate); });
    prefix = L"Cannot create file \"" + missing + L"\". ";
    ASSERT_EQ(message.substr(0, prefix.size()), prefix);
    EXPECT_GT(message.size(), prefix.size());
}
