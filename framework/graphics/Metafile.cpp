#include "framework/graphics/Metafile.h"

#include <cstring>
#include <vector>

#include "framework/graphics/ScreenMetrics.h"
#include "framework/graphics/checks/EmfCheck.h"
#include "framework/graphics/checks/WmfCheck.h"

namespace {

const wchar_t kInvalidMetafile[] = L"Metafile is not valid";
constexpr uint32_t kMaxMetafileBytes = 256u * 1024 * 1024;

int MMToPixels(int hundredthsMM) { return MulDiv(hundredthsMM, ScreenMetrics::PixelsPerInch(), 2540); }
int PixelsToMM(int pixels) { return MulDiv(pixels, 2540, ScreenMetrics::PixelsPerInch()); }

uint32_t ReadU32(const Byte* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Records of types the check does not know (written by another GDI version, say) were not
// checked, so they are not played.
int CALLBACK PlayCheckedRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int handles, LPARAM) {
    if (IsCheckedEmfRecordType(record->iType)) PlayEnhMetaFileRecord(dc, table, record, static_cast<UINT>(handles));
    return 1;
}

}  // namespace

// ---- TMetafile ----

int TMetafile::Width() const { return MMToPixels(mmWidth_); }
int TMetafile::Height() const { return MMToPixels(mmHeight_); }

void TMetafile::SetWidth(int width) { SetMMWidth(PixelsToMM(width)); }
void TMetafile::SetHeight(int height) { SetMMHeight(PixelsToMM(height)); }

int TMetafile::MMWidth() const { return mmWidth_; }
int TMetafile::MMHeight() const { return mmHeight_; }

void TMetafile::SetMMWidth(int width) {
    if (width == mmWidth_) return;
    mmWidth_ = width;
    Changed();
}

void TMetafile::SetMMHeight(int height) {
    if (height == mmHeight_) return;
    mmHeight_ = height;
    Changed();
}

void TMetafile::SetHandle(UniqueEnhMetafile owned) {
    const HENHMETAFILE handle = owned.get();
    if (handle) {
        ENHMETAHEADER header{};
        if (!GetEnhMetaFileHeader(handle, sizeof header, &header)) throw EInvalidGraphic(kInvalidMetafile);
        mmWidth_ = header.rclFrame.right - header.rclFrame.left;
        mmHeight_ = header.rclFrame.bottom - header.rclFrame.top;
    }
    handle_ = std::move(owned);
    fromStream_ = false;
    Changed();
}

UniqueEnhMetafile TMetafile::ReleaseHandle() {
    UniqueEnhMetafile handle = std::move(handle_);
    if (handle) Changed();
    return handle;
}

void TMetafile::Clear() {
    handle_.reset();
    fromStream_ = false;
    mmWidth_ = mmHeight_ = 0;
    Changed();
}

void TMetafile::AssignGraphic(const TGraphic& source) {
    auto* other = dynamic_cast<const TMetafile*>(&source);
    if (!other) AssignError(source);
    UniqueEnhMetafile copy;
    if (other->handle_) {
        copy.reset(CopyEnhMetaFileW(other->handle_.get(), nullptr));
        if (!copy) throw EOutOfMemory(L"Out of system resources");
    }
    handle_ = std::move(copy);
    fromStream_ = other->fromStream_;
    mmWidth_ = other->mmWidth_;
    mmHeight_ = other->mmHeight_;
    Changed();
}

void TMetafile::Draw(TCanvas& canvas, const TRect& r) {
    if (!handle_) return;
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    HDC dc = canvas.Handle();
    SavedDCState state(dc);  // playback may leave objects, clipping and modes behind
    if (fromStream_)
        EnumEnhMetaFile(dc, handle_.get(), PlayCheckedRecord, nullptr, &rc);
    else
        PlayEnhMetaFile(dc, handle_.get(), &rc);
}

namespace {
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

uint16_t ReadU16(const Byte* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
}  // namespace

void TMetafile::LoadFromStream(TStream& stream) {
    const Int64 start = stream.Position();
    Byte first[6] = {};
    const Int64 got = stream.Read(first, sizeof first);
    stream.SetPosition(start);
    if (got == sizeof first && ReadU32(first) == kPlaceableKey) return LoadWindowsMetafile(stream, start, true);
    if (got == sizeof first && (ReadU16(first) == 1 || ReadU16(first) == 2) && ReadU16(first + 2) == 9)
        return LoadWindowsMetafile(stream, start, false);
    LoadEnhanced(stream, start);
}

void TMetafile::LoadWindowsMetafile(TStream& stream, Int64 start, bool placeable) {
    METAFILEPICT picture{};
    int mmWidth = 0, mmHeight = 0;
    if (placeable) {
        Byte header[22];
        if (stream.Read(header, sizeof header) != sizeof header) throw EInvalidGraphic(kInvalidMetafile);
        uint16_t checksum = 0;
        for (int i = 0; i < 10; ++i) checksum ^= ReadU16(header + 2 * i);
        const int left = static_cast<int16_t>(ReadU16(header + 6)), top = static_cast<int16_t>(ReadU16(header + 8));
        const int right = static_cast<int16_t>(ReadU16(header + 10)), bottom = static_cast<int16_t>(ReadU16(header + 12));
        const int unitsPerInch = ReadU16(header + 14);
        if (checksum != ReadU16(header + 20) || unitsPerInch == 0 || right <= left || bottom <= top)
            throw EInvalidGraphic(kInvalidMetafile);
        mmWidth = MulDiv(right - left, 2540, unitsPerInch);
        mmHeight = MulDiv(bottom - top, 2540, unitsPerInch);
        picture.mm = MM_ANISOTROPIC;
        picture.xExt = mmWidth;
        picture.yExt = mmHeight;
    }
    const Int64 metaStart = stream.Position();
    Byte metaHeader[18];
    if (stream.Read(metaHeader, sizeof metaHeader) != sizeof metaHeader) throw EInvalidGraphic(kInvalidMetafile);
    const Int64 total = Int64{ReadU32(metaHeader + 6)} * 2;  // the size is counted in 16-bit words
    if ((ReadU16(metaHeader) != 1 && ReadU16(metaHeader) != 2) || ReadU16(metaHeader + 2) != 9 ||
        total < Int64{sizeof metaHeader} || total > kMaxMetafileBytes || total > stream.Size() - metaStart)
        throw EInvalidGraphic(kInvalidMetafile);
    std::vector<Byte> data(static_cast<size_t>(total));
    std::memcpy(data.data(), metaHeader, sizeof metaHeader);
    stream.ReadBuffer(data.data() + sizeof metaHeader, total - Int64{sizeof metaHeader});
    if (!IsSoundWmf(data)) {
        stream.SetPosition(start);
        throw EInvalidGraphic(kInvalidMetafile);
    }
    UniqueEnhMetafile handle(SetWinMetaFileBits(static_cast<UINT>(total), data.data(), nullptr, placeable ? &picture : nullptr));
    if (!handle) {
        stream.SetPosition(start);
        throw EInvalidGraphic(kInvalidMetafile);
    }
    SetHandle(std::move(handle));
    if (placeable) {
        mmWidth_ = mmWidth;
        mmHeight_ = mmHeight;
    }
}

void TMetafile::LoadEnhanced(TStream& stream, Int64 start) {
    Byte head[88];
    if (stream.Read(head, sizeof head) != sizeof head) throw EInvalidGraphic(kInvalidMetafile);
    const uint32_t total = ReadU32(head + 48);
    if (ReadU32(head) != EMR_HEADER || ReadU32(head + 40) != ENHMETA_SIGNATURE || total < sizeof head ||
        total > kMaxMetafileBytes || total > stream.Size() - start)
        throw EInvalidGraphic(kInvalidMetafile);
    std::vector<Byte> data(total);
    std::memcpy(data.data(), head, sizeof head);
    if (stream.Read(data.data() + sizeof head, total - sizeof head) != static_cast<Int64>(total - sizeof head) ||
        !IsSoundEmf(data))
        throw EInvalidGraphic(kInvalidMetafile);
    UniqueEnhMetafile handle(SetEnhMetaFileBits(total, data.data()));
    if (!handle) throw EInvalidGraphic(kInvalidMetafile);
    SetHandle(std::move(handle));
    fromStream_ = true;
}

void TMetafile::SaveToStream(TStream& stream) {
    if (!handle_) return;
    UINT size = GetEnhMetaFileBits(handle_.get(), 0, nullptr);
    std::vector<Byte> data(size);
    GetEnhMetaFileBits(handle_.get(), size, data.data());
    stream.WriteBuffer(data.data(), size);
}

// ---- TMetafileCanvas ----

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, HDC referenceDevice) : metafile_(metafile) {
    const auto screen = ScreenDC();
    HDC reference = referenceDevice ? referenceDevice : screen.get();
    RECT frame{0, 0, metafile.MMWidth(), metafile.MMHeight()};
    const bool hasFrame = frame.right > 0 && frame.bottom > 0;
    recording_.reset(CreateEnhMetaFileW(reference, nullptr, hasFrame ? &frame : nullptr, nullptr));
    if (!recording_) throw EOutOfMemory(L"Out of system resources");
    SetHandle(recording_.get());
}

TMetafileCanvas::~TMetafileCanvas() {
    SetHandle(nullptr);
    const int mmWidth = metafile_.MMWidth();
    const int mmHeight = metafile_.MMHeight();
    UniqueEnhMetafile result(CloseEnhMetaFile(recording_.release()));
    if (!result) return;
    try {
        metafile_.SetHandle(std::move(result));
        // A frame chosen before recording wins over the one GDI measured.
        if (mmWidth > 0 && mmHeight > 0) {
            metafile_.SetMMWidth(mmWidth);
            metafile_.SetMMHeight(mmHeight);
        }
    } catch (...) {
        // A destructor must not throw; SetHandle owns the handle even when it raised.
    }
}
