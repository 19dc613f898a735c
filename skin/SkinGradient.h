// Colour arithmetic of the skin images: blending two colours, runs of gradient colours with the
// cache that keeps the last sixteen, and how saturated a colour is. Pure; SkinBitmapUtils draws
// with it.
//
// Colours are 0x00BBGGRR values. A negative one is a system colour (index in the low byte): what
// needs its value takes a lookup for it, so that this stays free of the system.
#pragma once

#include <array>
#include <vector>

#include "framework/graphics/Colors.h"

// The RGB value of system colour `index`.
using TSystemColorLookup = TColor (*)(int index);

// c1 weighted by weight against c2: weights below 100 are percentages, 100 and above per mille
// (150 is 15 %). Each channel rounds half up and keeps its low 8 bits.
TColor BlendColors(TColor c1, TColor c2, int weight, TSystemColorLookup systemColor);

// (max - min) / max of the channels scaled to 0..255 (halves to even) for a colour with a channel
// of 160 or more; 200 for every darker colour.
int ColorSaturationLevel(TColor color);

// count colours from start to end, channel by channel (count >= 1). A rising channel ends on the
// end colour; a falling one, truncated toward zero, ends one above it.
std::vector<TColor> GradientRun(int count, TColor start, TColor end);

// The last sixteen gradient runs, the oldest replaced first. The skin's drawing shares one
// (SharedGradientCache); a test makes its own.
class TGradientCache {
public:
    static constexpr int kSlots = 16;

    // The slot holding count colours from start to end: the newest slot whose run has that
    // length, first and last colour, or else the next slot, filled. -1 for a count below 1.
    int GetGradientColors(int count, TColor start, TColor end);

    const std::vector<TColor>& Slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
    int NextSlot() const { return next_; }

private:
    int FindGradient(int count, TColor start, TColor end) const;

    std::array<std::vector<TColor>, kSlots> slots_;
    int next_ = 0;
};

// The lines of a gradient of `length` lines starting at rectStart that a clip box from clipStart
// to clipEnd (exclusive) shows, both inclusive; First > Last when none.
struct TLineSpan {
    int First = 0;
    int Last = -1;
    friend bool operator==(const TLineSpan&, const TLineSpan&) = default;
};
TLineSpan GradientLineSpan(int rectStart, int length, int clipStart, int clipEnd);
