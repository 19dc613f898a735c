// A drop-down list of named colours: each item shows a swatch and the colour's name ("Black",
// "MoneyGreen", "BtnFace"). Which groups it lists is Style; Selected is the chosen colour, which
// is added as a custom item when no listed colour has that value.
#pragma once

#include <vector>

#include "framework/classes/Set.h"
#include "framework/controls/StdCtrls.h"
#include "framework/graphics/Colors.h"

FV_ENUM(TColorBoxStyle, cbStandardColors, cbExtendedColors, cbSystemColors)
using TColorBoxStyles = TSet<TColorBoxStyle>;

struct TNamedColor {
    TColor Color;
    String Name;  // without the "cl" of its identifier
};

// The colours a box of the given style lists, in list order: the sixteen standard colours,
// then the four extended ones, then the system colours.
std::vector<TNamedColor> ColorBoxColors(TColorBoxStyles style);

class TColorBox : public TComboBox {
    FV_CLASS(TColorBox, TComboBox)
public:
    explicit TColorBox(TComponent* owner);
    static void Publish(TPublisher<TColorBox>& p);

    TColorBoxStyles ColorStyle() const { return colorStyle_; }
    void SetColorStyle(TColorBoxStyles value);
    TColor Selected() const;
    void SetSelected(TColor value);
    // The colour of item index; clNone outside the list.
    TColor Colors(int index) const;
    int ColorCount() const { return static_cast<int>(colors_.size()); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Loaded() override;

private:
    void Rebuild();
    void DrawItem(const DRAWITEMSTRUCT& item);

    TColorBoxStyles colorStyle_{cbStandardColors, cbExtendedColors, cbSystemColors};
    std::vector<TColor> colors_;
    TColor selected_ = clBlack;
};
