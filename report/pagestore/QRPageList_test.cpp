#include "report/pagestore/QRPageList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>

#include "framework/rtl/Clock.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Platform.h"
#include "report/pagestore/QRCompress.h"
#include "report/pagestore/QRFileFormat.h"
#include "testing/QRPageListFiles.h"
#include "testing/QRTestPages.h"

namespace {

using qrtest::HandMadeEmf;
using qrtest::Image;
using qrtest::NewList;
using qrtest::StreamImage;
using QRPageListFiles = qrtest::PageListFiles;

constexpr Int64 kInMemory = Int64{1} << 24;

std::int32_t Int32In(const Image& image, std::size_t offset) { return GetInt32LE(&image[offset]); }
void SetInt32In(Image& image, std::size_t offset, std::int32_t value) { PutInt32LE(&image[offset], value); }

// Start of record k (from 1), following the next-record offsets of a sound image.
std::size_t RecordStart(const Image& image, int k, std::size_t headerSize = QRHeaderSize) {
    std::size_t pos = headerSize;
    for (int i = 1; i < k; ++i) pos = static_cast<std::size_t>(Int32In(image, pos + 4));
    return pos;
}

// An independent writer for file images with any header: records [n][next][data][start].
Image ImageOf(Image header, const std::vector<Image>& recordData) {
    Image image = std::move(header);
    int number = 0;
    for (const Image& data : recordData) {
        const std::size_t start = image.size();
        image.resize(start + 8 + data.size() + 4);
        SetInt32In(image, start, ++number);
        SetInt32In(image, start + 4, static_cast<std::int32_t>(image.size()));
        std::memcpy(&image[start + 8], data.data(), data.size());
        SetInt32In(image, image.size() - 4, static_cast<std::int32_t>(start));
    }
    return image;
}

Image CompressedData(const Image& page) {
    Image data(4);
    SetInt32In(data, 0, static_cast<std::int32_t>(page.size()));
    Image coded = TQRCompress::Compress(page);
    data.insert(data.end(), coded.begin(), coded.end());
    return data;
}

std::vector<Image> ThreePages() { return {HandMadeEmf(1000, 1), HandMadeEmf(600, 2), HandMadeEmf(800, 3)}; }

// ---- layout ----

TEST_F(QRPageListFiles, OnePageOf1000BytesMakesThe1140ByteFile) {
    ScopedClock clock(45271.75);
    const Image page = HandMadeEmf(1000);
    auto list = NewList(kInMemory);
    list->AddPageBytes(page);
    const String path = PathOf(L"one.QRP");
    list->WritePreparedFile(path);

    const Image file = ReadImage(path);
    ASSERT_EQ(file.size(), 1140u);
    EXPECT_EQ(file, StreamImage(*list->Stream()));
    Image header(128, 0);
    header[0] = 3;
    header[2] = 50;
    header[8] = 1;
    const double created = 45271.75;
    std::memcpy(&header[16], &created, 8);
    std::memset(&header[26], 'H', 100);
    EXPECT_EQ(Image(file.begin(), file.begin() + 128), header);
    EXPECT_EQ(Int32In(file, 128), 1);
    EXPECT_EQ(Int32In(file, 132), 1140);
    EXPECT_EQ(Image(file.begin() + 136, file.begin() + 1136), page);
    EXPECT_EQ(Int32In(file, 1136), 128);
}

TEST_F(QRPageListFiles, CompressedPageHoldsItsLengthAndTheCodedBytes) {
    const Image page = HandMadeEmf(1000);
    auto list = NewList(kInMemory, true);
    list->AddPageBytes(page);
    const Image image = StreamImage(*list->Stream());
    const Image coded = TQRCompress::Compress(page);
    ASSERT_EQ(image.size(), 128 + 8 + 4 + coded.size() + 4);
    EXPECT_EQ(image[25], 1);
    EXPECT_EQ(Int32In(image, 132), static_cast<std::int32_t>(image.size()));
    EXPECT_EQ(Int32In(image, 136), 1000);
    EXPECT_EQ(Image(image.begin() + 140, image.end() - 4), coded);
    EXPECT_EQ(Int32In(image, image.size() - 4), 128);
}

// ---- fetching ----

TEST(QRPageList, FetchesPagesInAnyOrder) {
    for (bool compressed : {false, true}) {
        for (Int64 limit : {kInMemory, Int64{1500}}) {
            SCOPED_TRACE(testing::Message() << "compressed " << compressed << ", limit " << limit);
            auto list = NewList(limit, compressed);
            const std::vector<Image> pages = ThreePages();
            for (const Image& page : pages) list->AddPageBytes(page);
            EXPECT_EQ(list->PageCount(), 3);
            EXPECT_EQ(list->Stream()->InMemory(), limit == kInMemory);
            for (int n : {3, 1, 2, 2, 1, 3}) EXPECT_EQ(list->GetPageBytes(n), pages[n - 1]) << "page " << n;
            EXPECT_EQ(list->GetPageBytes(0), std::nullopt);
            EXPECT_EQ(list->GetPageBytes(4), std::nullopt);
        }
    }
}

// A page stream that counts the reads and seeks made on it.
class CountingStream : public TQRStream {
public:
    explicit CountingStream(Int64 memoryLimit) : TQRStream(memoryLimit) {}
    int reads = 0, seeks = 0;
    Int64 Read(void* buffer, Int64 count) override {
        ++reads;
        return TQRStream::Read(buffer, count);
    }
    Int64 Seek(Int64 offset, TSeekOrigin origin) override {
        ++seeks;
        return TQRStream::Seek(offset, origin);
    }
};

TEST(QRPageList, AnyPageIsOneSeekAndOneReadAway) {
    for (Int64 limit : {kInMemory, Int64{5000}}) {
        TQRPageList list;
        auto owned = std::make_unique<CountingStream>(limit);
        CountingStream& stream = *owned;
        list.SetStream(std::move(owned));
        std::vector<Image> pages;
        for (unsigned n = 1; n <= 50; ++n) pages.push_back(HandMadeEmf(200 + 4 * n, n));
        for (const Image& page : pages) list.AddPageBytes(page);
        EXPECT_EQ(stream.InMemory(), limit == kInMemory);
        for (int n : {37, 2, 50, 1, 49}) {
            stream.reads = stream.seeks = 0;
            EXPECT_EQ(list.GetPageBytes(n), pages[n - 1]) << "page " << n;
            EXPECT_EQ(stream.reads, 1) << "page " << n;
            EXPECT_EQ(stream.seeks, 1) << "page " << n;
        }
    }
}

// Page 1 carries, inside a comment, a record of its own that claims to be page 2 and links
// to itself. A fetch starts from the checked records, wherever the stream was left.
TEST(QRPageList, FetchesNeverStartFromWhereTheStreamHappensToBe) {
    const Image decoy = HandMadeEmf(200, 77);
    Image page1 = HandMadeEmf(1000, 1);
    const std::size_t fakeAt = 128 + 8 + 100;  // in the stream; inside page 1's comment
    const std::size_t inPage = fakeAt - 136;
    SetInt32In(page1, inPage, 2);
    SetInt32In(page1, inPage + 4, static_cast<std::int32_t>(fakeAt + 12 + decoy.size()));
    std::memcpy(&page1[inPage + 8], decoy.data(), decoy.size());
    SetInt32In(page1, inPage + 8 + decoy.size(), static_cast<std::int32_t>(fakeAt));
    ASSERT_TRUE(IsValidEmf(page1));
    const Image page2 = HandMadeEmf(600, 2);
    auto list = NewList(kInMemory);
    list->AddPageBytes(page1);
    list->AddPageBytes(page2);
    for (int n : {1, 2}) {
        list->Stream()->SetPosition(static_cast<Int64>(fakeAt));
        EXPECT_EQ(list->GetPageBytes(n), n == 1 ? page1 : page2) << "page " << n;
    }
    list->Stream()->SetPosition(static_cast<Int64>(fakeAt));
    list->SeekToPage(2);
    EXPECT_EQ(list->Stream()->Position(), 1140);
    list->WindToLastPage();
    EXPECT_EQ(list->Stream()->Position(), 1140);
}

// A medium whose reads stop at a given offset while its size still counts the bytes behind
// it: a file cut short between a size query and a read.
class CutShortStream : public TQRStream {
public:
    CutShortStream() : TQRStream(kInMemory) {}
    Int64 cut = Int64{1} << 40;
    Int64 Read(void* buffer, Int64 count) override {
        return TQRStream::Read(buffer, std::clamp<Int64>(cut - Position(), 0, count));
    }
};

TEST(QRPageList, AReadCutShortIsACorruptFileNotAReadError) {
    const std::vector<Image> pages = ThreePages();
    const Int64 r3 = 1752, end = r3 + 812;
    for (Int64 cut : {r3 + 2, r3 + 100, end - 2}) {
        TQRPageList list;
        auto owned = std::make_unique<CutShortStream>();
        CutShortStream& stream = *owned;
        list.SetStream(std::move(owned));
        for (const Image& page : pages) list.AddPageBytes(page);
        ASSERT_EQ(stream.Size(), end);
        stream.cut = cut;
        EXPECT_THROW(list.GetPageBytes(3), EQRCorruptFile) << "cut at " << cut;
        EXPECT_EQ(list.GetPageBytes(2), pages[1]);
    }
}

TEST(QRPageList, SpilledStoreDeletesItsTemporaryFile) {
    auto list = NewList(2500);
    for (const Image& page : ThreePages()) list->AddPageBytes(page);
    const String temp = list->Stream()->TempFileName();
    ASSERT_FALSE(temp.empty());
    EXPECT_TRUE(FileExists(temp));
    list->SetStream(nullptr);
    EXPECT_FALSE(FileExists(temp));
}

TEST(QRPageList, WithoutAStreamOrWithABadPageNothingChanges) {
    TQRPageList list;
    EXPECT_THROW(list.AddPageBytes(HandMadeEmf(200)), EInvalidOperation);
    EXPECT_EQ(list.GetPageBytes(1), std::nullopt);

    auto stored = NewList(kInMemory);
    stored->AddPageBytes(HandMadeEmf(200));
    Image broken = HandMadeEmf(300);
    broken[40] = 0;
    EXPECT_THROW(stored->AddPageBytes(broken), EInvalidArgument);
    EXPECT_EQ(stored->PageCount(), 1);
    EXPECT_EQ(stored->Stream()->Size(), 128 + 212);
}

TEST(QRPageList, ClearedListStartsTheStreamAfresh) {
    auto list = NewList(kInMemory);
    for (const Image& page : ThreePages()) list->AddPageBytes(page);
    list->Clear();
    EXPECT_EQ(list->GetPageBytes(1), std::nullopt);
    const Image page = HandMadeEmf(1000, 9);
    list->AddPageBytes(page);
    EXPECT_EQ(list->Stream()->Size(), 1140);
    EXPECT_EQ(list->GetPageBytes(1), page);
}

// ---- failed appends ----

// A page stream on a disk that fills up after a given number of bytes.
class FillingStream : public TQRStream {
public:
    FillingStream() : TQRStream(kInMemory) {}
    Int64 room = Int64{1} << 40;
    Int64 Write(const void* buffer, Int64 count) override {
        Int64 n = std::min(count, room);
        room -= n;
        return TQRStream::Write(buffer, n);
    }
};

TEST(QRPageList, FailedAppendLeavesTheStoreAsItWas) {
    TQRPageList list;
    auto owned = std::make_unique<FillingStream>();
    FillingStream& stream = *owned;
    list.SetStream(std::move(owned));
    const std::vector<Image> pages = ThreePages();

    stream.room = 700;  // the first page, header included, does not fit
    EXPECT_THROW(list.AddPageBytes(pages[0]), EWriteError);
    EXPECT_EQ(list.PageCount(), 0);
    EXPECT_EQ(stream.Size(), 0);

    stream.room = 1140 + 300;
    list.AddPageBytes(pages[0]);
    EXPECT_THROW(list.AddPageBytes(pages[1]), EWriteError);
    EXPECT_EQ(list.PageCount(), 1);
    EXPECT_EQ(stream.Size(), 1140);

    stream.room = Int64{1} << 40;
    list.AddPageBytes(pages[1]);
    list.AddPageBytes(pages[2]);
    for (int n : {3, 1, 2}) EXPECT_EQ(list.GetPageBytes(n), pages[n - 1]);
}

// Points the system's temporary folder somewhere else for the lifetime of the object (the
// variables of Windows and of POSIX).
class TempFolderOverride {
public:
    explicit TempFolderOverride(const String& folder) {
        for (const wchar_t* name : {L"TMP", L"TEMP", L"TMPDIR"}) {
            saved_.push_back({name, platform::EnvironmentValue(name)});
            platform::SetEnvironmentValue(name, folder);
        }
    }
    ~TempFolderOverride() {
        for (const auto& [name, value] : saved_) platform::SetEnvironmentValue(name, value);
    }

private:
    std::vector<std::pair<const wchar_t*, std::optional<String>>> saved_;
};

TEST(QRPageList, AppendThatCannotSpillLeavesTheStoreInMemoryAsItWas) {
    auto list = NewList(1500);
    const std::vector<Image> pages = ThreePages();
    list->AddPageBytes(pages[0]);
    {
        TempFolderOverride missing(L"C:\\folhavida-no-such-folder\\");
        EXPECT_THROW(list->AddPageBytes(pages[1]), EFCreateError);
    }
    EXPECT_EQ(list->PageCount(), 1);
    EXPECT_TRUE(list->Stream()->InMemory());
    EXPECT_EQ(list->Stream()->Size(), 1140);
    EXPECT_EQ(list->GetPageBytes(1), pages[0]);

    list->AddPageBytes(pages[1]);
    list->AddPageBytes(pages[2]);
    EXPECT_FALSE(list->Stream()->InMemory());
    for (int n : {2, 3, 1}) EXPECT_EQ(list->GetPageBytes(n), pages[n - 1]);
}

// ---- files ----

TEST_F(QRPageListFiles, HeaderPageCountIsCheckedAgainstTheRecords) {
    auto built = NewList(kInMemory);
    std::vector<Image> pages;
    for (unsigned n = 1; n <= 7; ++n) pages.push_back(HandMadeEmf(200 + 8 * n, n));
    for (const Image& page : pages) built->AddPageBytes(page);
    Image image = StreamImage(*built->Stream());
    ASSERT_EQ(Int32In(image, 8), 1) << "the header is written with the first page";

    SetInt32In(image, 8, 5);  // fewer than held: only those are reachable
    TQRPageList fewer;
    fewer.LoadFromFile(WriteImage(L"fewer.QRP", image));
    EXPECT_EQ(fewer.PageCount(), 5);
    EXPECT_EQ(fewer.GetPageBytes(5), pages[4]);
    EXPECT_EQ(fewer.GetPageBytes(1), pages[0]);
    EXPECT_EQ(fewer.GetPageBytes(6), std::nullopt);

    SetInt32In(image, 8, 9);  // more than held: the file opens with the pages it has
    TQRPageList more;
    more.LoadFromFile(WriteImage(L"more.QRP", image));
    EXPECT_EQ(more.PageCount(), 7);
    for (int n : {7, 1, 4}) EXPECT_EQ(more.GetPageBytes(n), pages[n - 1]);
    EXPECT_EQ(more.GetPageBytes(8), std::nullopt);
}

TEST_F(QRPageListFiles, OpensTheOlderHeaderLengths) {
    const std::vector<Image> pages = ThreePages();
    Image old124(124, 'H');
    std::memset(&old124[0], 0, 22);
    old124[0] = 2;
    SetInt32In(old124, 8, 2);  // page count at 8; flag at 21 is 0 (offset 25 is filler, not 0)
    old124[122] = 0;
    old124[123] = 0;
    Image header120(120, 0), header96(96, 0);
    struct Case {
        const wchar_t* name;
        Image image;
        int pages;
    };
    const Case cases[] = {
        {L"old124.QRP", ImageOf(old124, pages), 2},
        {L"one120.QRP", ImageOf(header120, {pages[0]}), 1},
        {L"bare96.QRP", ImageOf(header96, pages), 3},  // no count in the header: the records tell
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << String(c.name).c_str());
        TQRPageList list;
        list.SetCompression(true);  // left over from an earlier run; none of these files is compressed
        list.LoadFromFile(WriteImage(c.name, c.image));
        EXPECT_EQ(list.PageCount(), c.pages);
        EXPECT_FALSE(list.Compression());
        for (int n = c.pages; n >= 1; --n) EXPECT_EQ(list.GetPageBytes(n), pages[n - 1]);
    }
}

// An uncompressed page whose frame bytes put "EMF" and a zero at file offset 169, where the
// probe looks for the page behind a 120-byte header. Compressed pages can do the same by chance.
TEST_F(QRPageListFiles, SignatureInsidePageDataDoesNotFoolTheProbe) {
    Image page = HandMadeEmf(1000);
    std::memcpy(&page[169 - 136], "EMF", 4);  // rclFrame, free for any value
    ASSERT_TRUE(IsValidEmf(page));
    for (bool compressed : {false, true}) {
        auto built = NewList(kInMemory, compressed);
        built->AddPageBytes(page);
        const Image image = StreamImage(*built->Stream());
        ASSERT_EQ(std::memcmp(&image[169], "EMF", 4) == 0, !compressed);
        TQRPageList loaded;
        loaded.LoadFromFile(WriteImage(compressed ? L"chance-z.QRP" : L"chance.QRP", image));
        EXPECT_EQ(loaded.Stream()->HeaderSize(), 128);
        EXPECT_EQ(loaded.PageCount(), 1);
        EXPECT_EQ(loaded.GetPageBytes(1), page);
    }
}

struct Corruption {
    const char* name;
    bool compressed;
    std::function<void(Image&)> damage;
    int failingPage;  // 0: the load fails
};

TEST_F(QRPageListFiles, CorruptFilesFailCleanly) {
    const std::vector<Image> pages = ThreePages();
    auto r = [](const Image& image, int k) { return RecordStart(image, k); };
    auto setAt = [](std::size_t offset, std::int32_t value) {
        return [=](Image& image) { SetInt32In(image, offset, value); };
    };
    const std::size_t r2 = 1140, r3 = 1752;  // record starts in the plain image
    const Corruption cases[] = {
        {"empty file", false, [](Image& i) { i.clear(); }, 0},
        {"shorter than a header", false, [](Image& i) { i.resize(50); }, 0},
        {"negative page count", false, setAt(8, -1), 0},
        {"next offset outside the file", false, setAt(r2 + 4, 0x7FFFFFF0), 0},
        {"next offset negative", false, setAt(r2 + 4, -8), 0},
        {"next offset pointing backwards", false, setAt(r2 + 4, 128), 0},
        {"next offset pointing at its own record", false, setAt(r2 + 4, r2), 0},
        {"trailing offset pointing elsewhere", false, setAt(r3 - 4, 128), 0},
        {"last offset of the file looping back", false, [&](Image& i) { SetInt32In(i, i.size() - 4, r2); }, 0},
        {"page numbers out of order", false, setAt(r2, 3), 0},
        {"a page number the walk never meets", false, setAt(r3, 7), 0},
        {"cut inside the last record", false, [](Image& i) { i.resize(i.size() - 100); }, 0},
        {"bytes behind the last record", false, [](Image& i) { i.insert(i.end(), 4, 0); }, 0},
        {"signature only before offset 49", false, [](Image& i) { i.assign(600, 0); std::memcpy(&i[20], "EMF", 4); }, 0},
        {"last page no metafile", false, setAt(r3 + 8 + 40, 0), 0},
        {"metafile nBytes beyond its record", false, setAt(r2 + 8 + 48, 0x7FFFFFF0), 2},
        {"metafile nBytes short of its record", false, setAt(r2 + 8 + 48, 400), 2},
        {"metafile record beyond nBytes", false, setAt(r2 + 8 + 92, 0x10000), 2},
        {"compressed length negative", true, [&](Image& i) { SetInt32In(i, r(i, 2) + 8, -1); }, 2},
        {"compressed length huge", true, [&](Image& i) { SetInt32In(i, r(i, 2) + 8, 0x7FFFFFFF); }, 2},
        {"compressed length beyond the coded data", true, [&](Image& i) { SetInt32In(i, r(i, 2) + 8, 5000); }, 2},
        {"compressed record without a length", true,
         [&](Image& i) { i = ImageOf(Image(i.begin(), i.begin() + 128), {CompressedData(pages[0]), {1, 0}, CompressedData(pages[2])}); }, 2},
        {"coded data ending early", true,
         [&](Image& i) {
             Image shortened = CompressedData(pages[1]);
             shortened.resize(shortened.size() - 3);
             i = ImageOf(Image(i.begin(), i.begin() + 128), {CompressedData(pages[0]), shortened, CompressedData(pages[2])});
         },
         2},
        {"coded data of no metafile", true,
         [&](Image& i) {
             i = ImageOf(Image(i.begin(), i.begin() + 128),
                         {CompressedData(pages[0]), CompressedData(Image(600, 7)), CompressedData(pages[2])});
         },
         2},
    };
    for (const Corruption& c : cases) {
        SCOPED_TRACE(c.name);
        auto built = NewList(kInMemory, c.compressed);
        for (const Image& page : pages) built->AddPageBytes(page);
        built->WriteHeader();
        Image image = StreamImage(*built->Stream());
        ASSERT_TRUE(c.compressed || (r(image, 2) == r2 && r(image, 3) == r3));
        c.damage(image);
        const String path = WriteImage(L"damaged.QRP", image);
        TQRPageList list;
        if (c.failingPage == 0) {
            EXPECT_THROW(list.LoadFromFile(path), EQRCorruptFile);
            EXPECT_EQ(list.Stream(), nullptr);
            EXPECT_EQ(list.PageCount(), 0);
            continue;
        }
        list.LoadFromFile(path);
        EXPECT_THROW(list.GetPageBytes(c.failingPage), EQRCorruptFile);
        EXPECT_EQ(list.GetPageBytes(1), pages[0]) << "the store stays usable";
    }
}

// Someone else writes to a prepared-report file while it is open: the pages read from then on
// must be the ones checked when it was opened, or the fetch fails as a damaged file.
TEST_F(QRPageListFiles, AFileChangedUnderAnOpenReportIsCorrupt) {
    const std::vector<Image> pages = ThreePages();
    auto built = NewList(kInMemory);
    for (const Image& page : pages) built->AddPageBytes(page);
    built->WriteHeader();
    const Image image = StreamImage(*built->Stream());
    const std::size_t r3 = 1752;
    struct Change {
        const char* name;
        std::function<void(TFileStream&)> apply;
        int firstFailing;  // the earlier pages are still read
    };
    auto writeAt = [](Int64 offset, std::int32_t value) {
        return [=](TFileStream& f) {
            Byte field[4];
            PutInt32LE(field, value);
            f.SetPosition(offset);
            f.WriteBuffer(field, 4);
        };
    };
    const Change changes[] = {
        {"cut inside the last record", [](TFileStream& f) { f.SetSize(2000); }, 3},
        {"cut to the header", [](TFileStream& f) { f.SetSize(128); }, 1},
        {"emptied", [](TFileStream& f) { f.SetSize(0); }, 1},
        {"page number rewritten", writeAt(r3, 4), 3},
        {"next offset rewritten", writeAt(r3 + 4, 1000), 3},
        {"trailing offset rewritten", writeAt(static_cast<Int64>(image.size()) - 4, 1140), 3},
        {"page data rewritten", writeAt(r3 + 8 + 40, 0), 3},
        {"replaced by a shifted copy",
         [&](TFileStream& f) {
             const Image shifted = ImageOf(Image(132, 0), pages);
             f.SetPosition(0);
             f.WriteBuffer(shifted.data(), static_cast<Int64>(shifted.size()));
         },
         1},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        const String path = WriteImage(L"changing.QRP", image);
        TQRPageList list;
        list.LoadFromFile(path);
        {
            TFileStream other(path, fmOpenReadWrite | fmShareDenyNone);
            change.apply(other);
        }
        for (int n = 1; n < change.firstFailing; ++n) EXPECT_EQ(list.GetPageBytes(n), pages[n - 1]);
        for (int n = 3; n >= change.firstFailing; --n) EXPECT_THROW(list.GetPageBytes(n), EQRCorruptFile) << n;
    }
}

TEST_F(QRPageListFiles, SavingNeverTruncatesTheFileBeingRead) {
    const std::vector<Image> pages = ThreePages();
    const String path = PathOf(L"shared.QRP");
    auto first = NewList(kInMemory);
    for (const Image& page : pages) first->AddPageBytes(page);
    first->WriteHeader();
    first->WritePreparedFile(path);
    const Image firstImage = StreamImage(*first->Stream());

    TQRPageList reader;
    reader.LoadFromFile(path);
    auto second = NewList(kInMemory);
    second->AddPageBytes(HandMadeEmf(400, 8));
    try {
        second->WritePreparedFile(path);  // may be refused while the file is open
    } catch (const EFCreateError&) {
    }
    for (int n : {1, 3, 2}) EXPECT_EQ(reader.GetPageBytes(n), pages[n - 1]);
    const Image now = ReadImage(path);
    EXPECT_TRUE(now == firstImage || now == StreamImage(*second->Stream())) << "whole old or whole new";
    EXPECT_EQ(FilesInFolder(), std::vector<String>{L"shared.QRP"}) << "no temporary file left";

    EXPECT_THROW(second->WritePreparedFile(PathOf(L"no-such-folder\\x.QRP")), EFCreateError);
}

TEST_F(QRPageListFiles, SavingOntoTheLoadedFileReplacesItAndReadsOn) {
    const std::vector<Image> pages = ThreePages();
    const String path = PathOf(L"own.QRP");
    auto built = NewList(kInMemory);
    for (const Image& page : pages) built->AddPageBytes(page);
    built->WriteHeader();
    built->WritePreparedFile(path);
    const Image saved = ReadImage(path);

    TQRPageList loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.GetPageBytes(3), pages[2]);
    loaded.WritePreparedFile(path);
    EXPECT_EQ(ReadImage(path), saved);
    EXPECT_EQ(FilesInFolder(), std::vector<String>{L"own.QRP"}) << "no temporary file left";
    ASSERT_NE(loaded.Stream(), nullptr);
    EXPECT_EQ(loaded.Stream()->SourceFileName(), path) << "reads the new file";
    for (int n : {2, 1, 3}) EXPECT_EQ(loaded.GetPageBytes(n), pages[n - 1]);

    // Held open by another reader the file cannot be replaced: it stays whole, and so does the list.
    TQRPageList other;
    other.LoadFromFile(path);
    try {
        loaded.WritePreparedFile(path);
    } catch (const EFCreateError&) {
    }
    EXPECT_EQ(ReadImage(path), saved);
    for (int n : {3, 1}) EXPECT_EQ(loaded.GetPageBytes(n), pages[n - 1]);
    EXPECT_EQ(FilesInFolder(), std::vector<String>{L"own.QRP"});
}

// A page stream whose medium fails after a given number of bytes have been read.
class FailingReadStream : public TQRStream {
public:
    FailingReadStream() : TQRStream(kInMemory) {}
    Int64 readable = Int64{1} << 40;
    Int64 Read(void* buffer, Int64 count) override {
        if (count > readable) throw EReadError(L"Stream read error");
        readable -= count;
        return TQRStream::Read(buffer, count);
    }
};

TEST_F(QRPageListFiles, FailedSaveLeavesTheOldFileWhole) {
    const Image old = ImageOf(Image(128, 0), {HandMadeEmf(400, 4)});
    const String path = WriteImage(L"old.QRP", old);
    TQRPageList list;
    auto owned = std::make_unique<FailingReadStream>();
    FailingReadStream& stream = *owned;
    list.SetStream(std::move(owned));
    for (const Image& page : ThreePages()) list.AddPageBytes(page);

    stream.readable = 1000;  // the copy breaks off after its first block
    EXPECT_THROW(list.WritePreparedFile(path), EReadError);
    EXPECT_EQ(ReadImage(path), old);
    EXPECT_EQ(FilesInFolder(), std::vector<String>{L"old.QRP"});
}

TEST_F(QRPageListFiles, MissingFileLeavesTheListWithoutAStream) {
    auto list = NewList(kInMemory);
    list->AddPageBytes(HandMadeEmf(200));
    EXPECT_THROW(list->LoadFromFile(PathOf(L"missing.QRP")), EFOpenError);
    EXPECT_EQ(list->Stream(), nullptr);
    EXPECT_EQ(list->GetPageBytes(1), std::nullopt);
}

// ---- concurrency ----

TEST(QRPageList, FetchesWhileAnotherThreadAppends) {
    auto list = NewList(50000, true);
    std::vector<Image> pages;
    for (unsigned n = 1; n <= 200; ++n) pages.push_back(HandMadeEmf(120 + 4 * (n % 50), n));
    std::atomic<bool> done{false};
    std::atomic<int> fetched{0};
    std::thread writer([&] {
        // The rest arrives only once the reader is at work, however the threads are scheduled.
        list->AddPageBytes(pages[0]);
        const auto patience = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (fetched == 0 && std::chrono::steady_clock::now() < patience) std::this_thread::yield();
        for (std::size_t i = 1; i < pages.size(); ++i) list->AddPageBytes(pages[i]);
        done = true;
    });
    int mismatches = 0, appendedMeanwhile = 0;
    for (unsigned i = 0; !done || fetched < 50; ++i) {
        const int count = list->PageCount();
        if (count == 0) continue;
        const int n = 1 + static_cast<int>((i * 7919u) % static_cast<unsigned>(count));
        if (list->GetPageBytes(n) != pages[n - 1]) ++mismatches;
        if (!done) ++appendedMeanwhile;
        ++fetched;
    }
    writer.join();
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(appendedMeanwhile, 0) << "no fetch overlapped the appends";
    EXPECT_EQ(list->PageCount(), 200);
}

}  // namespace
