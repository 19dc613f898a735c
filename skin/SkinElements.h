// The skin's elements with their pixels: the description's record, every image it names loaded
// from the archive (or from the program's own bitmaps), and what is derived from those pixels —
// the combo-box images, the combo arrow, the tool-bar gradient, the title colour and the face
// brush. The drawing code reads elements and images from here.
//
// A bitmap entry is outside input: one that is missing, whose header the bitmap reader refuses,
// or that needs more bytes than the entry has leaves its image empty; loading never raises.
//
//   TSkinElements elements;
//   elements.Load(ReadSkinDescription(ini, ArchiveImageProbe(archive)), archive);
//   TBitmap& face = elements.Images(elements.Description().Buttons).Bitmap;
#pragma once

#include <map>
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/GdiHandles.h"
#include "skin/SkinDescription.h"

class TSkinReader;

// An element's images; those it does not have stay empty.
struct TSkinElementBitmaps {
    TBitmap Bitmap;
    TBitmap Bitmap2;                   // a border element's second image
    TBitmap CheckBitmap, RadioBitmap;  // the push buttons' check boxes and radio buttons
};

// The image a record names: columns of an archive entry's bitmap, or a bitmap resource of the
// program. Empty when there is none or the entry is no bitmap the reader takes whole.
void LoadSkinImage(const TSkinReader& archive, const TSkinImage& image, TBitmap& target);

class TSkinElements {
public:
    TSkinElements();
    TSkinElements(const TSkinElements&) = delete;
    TSkinElements& operator=(const TSkinElements&) = delete;

    // Takes the description, loads its images from archive and derives the rest. The combo arrow
    // and the tool-bar gradient are kept from one load to the next: a skin with a sunken edge but
    // no combo button leaves the arrow as the last skin made it.
    void Load(TSkinDescription description, const TSkinReader& archive);

    const TSkinDescription& Description() const { return description_; }
    // The images of one of Description()'s elements, or of ComboxArrow or ToolbarGradient.
    TSkinElementBitmaps& Images(const TSkinElement& element);

    TSkinElement ComboxArrow;      // the drop-down arrow of a combo box
    TSkinElement ToolbarGradient;  // a 10 x 40 vertical gradient behind tool bars
    // The colour the frame's top piece shows near its caption; the face colour without one.
    TColor TitleColour() const { return titleColour_; }
    HBRUSH FaceBrush() const { return faceBrush_.get(); }

private:
    void LoadImages();
    void BuildComboImages();
    void BuildComboArrow();
    void BuildToolbarGradient();
    TColor ReadTitleColour();

    TSkinDescription description_;
    std::map<const TSkinElement*, std::unique_ptr<TSkinElementBitmaps>> images_;
    TColor titleColour_ = 0;
    UniqueBrush faceBrush_;
};
