#include "app/AppPictures.h"

#include "framework/classes/ComponentResource.h"
#include "framework/graphics/Bitmap.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/WinApi.h"

void LoadBitmapResource(TBitmap& bitmap, const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) throw EResNotFound(Format(L"Resource %s not found", {String(name)}));
    TMemoryStream stream;
    stream.Write(data, SizeofResource(module, resource));
    stream.Seek(0, soFromBeginning);
    bitmap.LoadFromStream(stream);
}
