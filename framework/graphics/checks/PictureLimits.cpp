#include "framework/graphics/checks/PictureLimits.h"

namespace {

Int64 Magnitude(Int64 value) { return value < 0 ? (value == INT64_MIN ? INT64_MAX : -value) : value; }

}  // namespace

TPictureLimit ExceededPictureLimit(Int64 width, Int64 height, Int64 rowBytes) {
    width = Magnitude(width);
    height = Magnitude(height);
    rowBytes = Magnitude(rowBytes);
    if (width != 0 && height > MaxPicturePixels / width) return TPictureLimit::Pixels;
    if (rowBytes != 0 && height > MaxPictureBytes / rowBytes) return TPictureLimit::Bytes;
    return TPictureLimit::None;
}

String PictureLimitMessage(TPictureLimit limit) {
    return limit == TPictureLimit::Bytes ? L"The picture needs more than 64 MB of memory once decoded, the most a picture may take"
                                         : L"The picture has more than 16 megapixels, the most a picture may have";
}
