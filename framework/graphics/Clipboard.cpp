#include "framework/graphics/Clipboard.h"

#include <cstring>

#include "framework/classes/ComponentScope.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/GdiHandles.h"
#include "framework/graphics/Metafile.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/Streams.h"

namespace {

// Holds the clipboard open for a scope.
class OpenScope {
public:
    explicit OpenScope(TClipboard& clipboard) : clipboard_(clipboard) { clipboard_.Open(); }
    ~OpenScope() { clipboard_.Close(); }
    OpenScope(const OpenScope&) = delete;
    OpenScope& operator=(const OpenScope&) = delete;

private:
    TClipboard& clipboard_;
};

// A packed DIB (header, colour table, bits) in movable global memory, from a BMP file image: the
// image less its file header, which it must therefore hold more than.
UniqueGlobal PackedDib(TBitmap& bitmap) {
    constexpr Int64 fileHeader = 14;
    TMemoryStream bmp;
    bitmap.SaveToStream(bmp);
    if (bmp.Size() <= fileHeader) throw EClipboardException(L"Cannot copy the picture: its bitmap image is incomplete");
    const Int64 size = bmp.Size() - fileHeader;
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size)));
    if (!memory) throw EOutOfMemory(L"Out of memory");
    void* target = GlobalLock(memory.get());
    std::memcpy(target, static_cast<const Byte*>(bmp.Memory()) + fileHeader, static_cast<size_t>(size));
    GlobalUnlock(memory.get());
    return memory;
}

// Puts data on the open clipboard, which owns it from then on.
template <typename Owner>
void PutOnClipboard(UINT format, Owner data) {
    if (!SetClipboardData(format, data.get())) throw EClipboardException(L"Cannot copy to the clipboard");
    (void)data.release();
}

}  // namespace

TClipboard::TClipboard() = default;

TClipboard::~TClipboard() {
    while (openCount_ > 0) Close();
}

void TClipboard::Open() {
    if (openCount_ == 0) {
        if (!window_) {
            window_.reset(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          GetModuleHandleW(nullptr), nullptr));
            if (!window_) throw EClipboardException(L"Cannot open clipboard");
        }
        // Another program may hold it for a moment.
        bool opened = false;
        for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
            opened = OpenClipboard(window_.get()) != 0;
            if (!opened) Sleep(20);
        }
        if (!opened) throw EClipboardException(L"Cannot open clipboard");
    }
    ++openCount_;
}

void TClipboard::Close() {
    if (openCount_ == 0) return;
    if (--openCount_ == 0) CloseClipboard();
}

void TClipboard::Clear() {
    OpenScope open(*this);
    EmptyClipboard();
}

bool TClipboard::HasFormat(UINT format) const { return IsClipboardFormatAvailable(format) != 0; }

String TClipboard::AsText() {
    OpenScope open(*this);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* chars = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (chars == nullptr) return String();
    String text(chars);
    GlobalUnlock(data);
    return text;
}

void TClipboard::Assign(TGraphic& graphic) {
    if (graphic.Empty()) throw EClipboardException(L"Cannot copy an empty picture");
    if (auto* metafile = dynamic_cast<TMetafile*>(&graphic)) {
        UniqueEnhMetafile copy(CopyEnhMetaFileW(metafile->Handle(), nullptr));
        if (!copy) throw EOutOfMemory(L"Out of system resources");
        OpenScope open(*this);
        EmptyClipboard();
        PutOnClipboard(CF_ENHMETAFILE, std::move(copy));
        return;
    }
    TBitmap converted;
    auto* bitmap = dynamic_cast<TBitmap*>(&graphic);
    if (!bitmap) {
        converted.Assign(graphic);
        bitmap = &converted;
    }
    UniqueGlobal dib = PackedDib(*bitmap);
    OpenScope open(*this);
    EmptyClipboard();
    PutOnClipboard(CF_DIB, std::move(dib));
}

void TClipboard::Assign(TPicture& picture) {
    if (!picture.Graphic()) {
        Clear();
        return;
    }
    Assign(*picture.Graphic());
}

// The application scope's, with its owner window: both go when the scope ends.
TClipboard& Clipboard() { return ScopeObject<TClipboard>(); }
