#include "capture/MediaTypeRecord.h"

#include <gtest/gtest.h>

#include "capture/DirectShow.h"
#include "capture/MediaType.h"
#include "capture/PersistentMemory.h"
#include "framework/classes/Filer.h"
#include "framework/rtl/Streams.h"

namespace {

const GUID Video = {0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const GUID Rgb24 = {0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

void PutU32(std::vector<Byte>& bytes, size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<Byte>(value >> (8 * i));
}

std::vector<Byte> StoredData(TPersistent& object) {
    std::vector<Byte> stored;
    struct TCapture : TFiler {
        std::vector<Byte>* out;
        void DefineProperty(const String&, const TReaderProc&, const TWriterProc&, bool) override {}
        void DefineBinaryProperty(const String& name, const TStreamProc&, const TStreamProc& write, bool hasData) override {
            if (name != L"data" || !hasData) return;
            TMemoryStream stream;
            write(stream);
            out->resize(static_cast<size_t>(stream.Size()));
            stream.SetPosition(0);
            if (!out->empty()) stream.ReadBuffer(out->data(), static_cast<Int64>(out->size()));
        }
        TComponent* Root() const override { return nullptr; }
    } filer;
    filer.out = &stored;
    object.DefineProperties(filer);
    return stored;
}

void LoadData(TPersistent& object, const std::vector<Byte>& bytes) {
    struct TFeed : TFiler {
        const std::vector<Byte>* in;
        void DefineProperty(const String&, const TReaderProc&, const TWriterProc&, bool) override {}
        void DefineBinaryProperty(const String& name, const TStreamProc& read, const TStreamProc&, bool) override {
            if (name != L"data") return;
            TMemoryStream stream;
            if (!in->empty()) stream.WriteBuffer(in->data(), static_cast<Int64>(in->size()));
            stream.SetPosition(0);
            read(stream);
        }
        TComponent* Root() const override { return nullptr; }
    } filer;
    filer.in = &bytes;
    object.DefineProperties(filer);
}

}  // namespace

TEST(MediaTypeData, RoundTripsThroughTheStoredLayout) {
    struct Case {
        Cardinal cbFormat;
        size_t storedSize;
    };
    for (const Case& c : {Case{0, 72}, Case{88, 160}}) {
        TMediaType type(Video);
        type.SetSubType(Rgb24);
        type.SetFormatType(FormatVideoInfo);
        if (c.cbFormat != 0) {
            type.Record().pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(c.cbFormat));
            type.Record().cbFormat = c.cbFormat;
            for (Cardinal i = 0; i < c.cbFormat; ++i) type.Record().pbFormat[i] = static_cast<BYTE>(i * 7);
        }
        const std::vector<Byte> stored = StoredData(type);
        ASSERT_EQ(stored.size(), c.storedSize) << "cbFormat " << c.cbFormat;
        EXPECT_EQ(stored[32], 0xFF) << "the fixed-size flag keeps all its bits";
        EXPECT_EQ(stored[40], 1) << "sample size";

        TMediaType back;
        LoadData(back, stored);
        EXPECT_TRUE(back.IsEqual(type)) << "cbFormat " << c.cbFormat;
        EXPECT_EQ(back.FormatLength(), c.cbFormat);
        EXPECT_EQ(back.Record().pbFormat == nullptr, c.cbFormat == 0);
        EXPECT_EQ(back.Record().bFixedSizeSamples, -1);
        EXPECT_EQ(back.Record().lSampleSize, 1u);
    }
}

TEST(MediaTypeData, StoredPointersAreNeverTrusted) {
    TMediaType type(Video);
    std::vector<Byte> stored = StoredData(type);
    PutU32(stored, 60, 0x12345678);  // pUnk
    PutU32(stored, 68, 0xDEADBEEF);  // pbFormat with cbFormat 0
    TMediaType back;
    LoadData(back, stored);
    EXPECT_EQ(back.Record().pUnk, nullptr);
    EXPECT_EQ(back.Record().pbFormat, nullptr);
    EXPECT_EQ(back.FormatLength(), 0u);
}

TEST(MediaTypeData, ACorruptRecordRaisesAndLeavesTheTypeAsItWas) {
    TMediaType original(Video);
    original.SetSubType(Rgb24);
    const std::vector<Byte> good = StoredData(original);
    std::vector<Byte> tooLong = good;
    PutU32(tooLong, 64, 88);  // declares a block that is not there
    std::vector<Byte> trailing = good;
    trailing.push_back(0);
    const std::vector<Byte> shortRecord(good.begin(), good.begin() + 71);
    for (const auto& bad : {tooLong, trailing, shortRecord}) {
        TMediaType target(Video);
        target.SetSubType(Rgb24);
        EXPECT_THROW(LoadData(target, bad), EReadError) << bad.size() << " bytes";
        EXPECT_TRUE(target.IsEqual(original));
    }
}

TEST(MediaTypeData, AnEmptyMemoryBlockIsStoredAsFourZeroBytes) {
    TBaseFilter filter;
    filter.StoreMoniker(nullptr);
    EXPECT_EQ(StoredData(filter), (std::vector<Byte>{0, 0, 0, 0}));
    EXPECT_FALSE(filter.CreateFilter());
    TPersistentMemory memory;
    LoadData(memory, {3, 0, 0, 0, 1, 2, 3});
    EXPECT_EQ(memory.Data(), (std::vector<Byte>{1, 2, 3}));
    EXPECT_THROW(LoadData(memory, {9, 0, 0, 0, 1}), EReadError) << "a length beyond the bytes";
}

TEST(MediaTypeData, CopyChecksItsArguments) {
    TMediaType type(Video);
    EXPECT_THROW(CopyMediaTypeRecord(type.Record(), type.Record()), EAssertionFailed);
    AM_MEDIA_TYPE broken{};
    broken.cbFormat = 16;
    AM_MEDIA_TYPE target{};
    EXPECT_THROW(CopyMediaTypeRecord(target, broken), EAssertionFailed);
}

TEST(MediaTypeData, BitmapHeaderOffsetByFormatType) {
    struct Case {
        GUID format;
        size_t length;
        std::optional<size_t> offset;
    };
    const GUID other = {0x05589F81, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
    for (const Case& c : {Case{FormatVideoInfo, 88, 48}, Case{FormatVideoInfo2, 112, 72},
                          Case{FormatVideoInfo, 87, std::nullopt}, Case{FormatVideoInfo2, 88, std::nullopt},
                          Case{other, 200, std::nullopt}}) {
        EXPECT_EQ(BitmapHeaderOffset(c.format, c.length), c.offset) << c.length;
    }
}

TEST(MediaTypeData, DibImageSizeIn64Bits) {
    EXPECT_EQ(DibImageSize(320, 240, 24), 230400u);
    EXPECT_EQ(DibImageSize(321, -240, 24), 964u * 240) << "rows padded to 32 bits, top-down height";
    EXPECT_EQ(DibImageSize(0, 240, 24), std::nullopt);
    EXPECT_EQ(DibImageSize(320, 0, 24), std::nullopt);
    EXPECT_EQ(DibImageSize(0x7FFFFFFF, 0x7FFFFFFF, 32), std::nullopt) << "no overflow into a small size";
}

TEST(MediaTypeData, DisplayNameBlocks) {
    const String name = L"@device:sw:{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\{6A3F8B52}";
    EXPECT_EQ(DecodeDisplayNameBlock(EncodeDisplayNameBlock(name)), name);
    EXPECT_EQ(DecodeDisplayNameBlock({}), std::nullopt);
    EXPECT_EQ(DecodeDisplayNameBlock(std::vector<Byte>(20, 0)), std::nullopt) << "a saved object's block";
}
