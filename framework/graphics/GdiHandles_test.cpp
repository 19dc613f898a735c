#include "framework/graphics/GdiHandles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Makes a handle of one kind, owns it for a moment, and tells whether the handle still exists.
struct OwnedKind {
    const char* kind;
    std::function<void*()> makeAndDrop;  // returns the (now freed) handle
    std::function<bool(void*)> exists;
};

template <class Owner, class Make>
std::function<void*()> Dropped(Make make) {
    return [make] {
        Owner owner(make());
        EXPECT_TRUE(owner);
        return static_cast<void*>(owner.get());
    };
}

bool GdiObjectExists(void* handle) { return GetObjectType(static_cast<HGDIOBJ>(handle)) != 0; }

}  // namespace

TEST(GdiHandles, EachOwnerFreesItsKindOfHandle) {
    const OwnedKind kinds[] = {
        {"bitmap", Dropped<UniqueBitmap>([] { return CreateBitmap(4, 4, 1, 32, nullptr); }), GdiObjectExists},
        {"font", Dropped<UniqueFont>([] { return CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"); }),
         GdiObjectExists},
        {"pen", Dropped<UniquePen>([] { return CreatePen(PS_SOLID, 1, 0); }), GdiObjectExists},
        {"brush", Dropped<UniqueBrush>([] { return CreateSolidBrush(0); }), GdiObjectExists},
        {"region", Dropped<UniqueRegion>([] { return CreateRectRgn(0, 0, 4, 4); }), GdiObjectExists},
        {"memory DC", Dropped<UniqueDC>([] { return CreateCompatibleDC(nullptr); }), GdiObjectExists},
        {"metafile recording", Dropped<UniqueMetafileRecording>([] {
             return CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
         }),
         GdiObjectExists},
        {"enhanced metafile", Dropped<UniqueEnhMetafile>([] {
             return CloseEnhMetaFile(CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
         }),
         GdiObjectExists},
        {"window", Dropped<UniqueWindow>([] {
             return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
         }),
         [](void* h) { return IsWindow(static_cast<HWND>(h)) != 0; }},
    };
    for (const OwnedKind& k : kinds) {
        void* freed = k.makeAndDrop();
        EXPECT_FALSE(k.exists(freed)) << k.kind;
    }
}
