// The check of icon files a user loads as pictures. The system's icon maker trusts the image it
// is given: a bitmap that claims more rows or colours than its entry holds makes it read and
// allocate as the header says. The check runs before the image reaches it.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "framework/rtl/System.h"

// The image of an icon file to draw: where it lies in the file and the size its entry gives.
struct TIconImage {
    std::size_t offset;
    std::size_t size;
    int width;
    int height;
};

// The largest, then deepest, image of an icon file, when the file is sound: the directory (a
// resource type of 1 and at least one entry) lies inside it, every entry's image lies inside it,
// and the chosen image is a PNG or a bitmap no larger than its entry says, whose colour table,
// colour bits and mask bits lie inside the entry.
std::optional<TIconImage> ChooseIconImage(std::span<const Byte> file);
