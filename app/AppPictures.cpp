#include "app/AppPictures.h"

#include "framework/graphics/Bitmap.h"
#include "framework/rtl/ProgramResources.h"
#include "framework/rtl/Streams.h"

void LoadBitmapResource(TBitmap& bitmap, const wchar_t* name) {
    const std::string_view data = ProgramRcData(name);
    TMemoryStream stream;
    stream.Write(data.data(), static_cast<Int64>(data.size()));
    stream.Seek(0, soFromBeginning);
    bitmap.LoadFromStream(stream);
}
