#include "skin/SkinGradient.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int Red(TColor c) { return c & 0xFF; }
int Green(TColor c) { return (c >> 8) & 0xFF; }
int Blue(TColor c) { return (c >> 16) & 0xFF; }
TColor Rgb(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }

TColor Resolve(TColor c, TSystemColorLookup systemColor) {
    if (c >= 0) return c;
    return systemColor ? systemColor(c & 0xFF) : 0;
}

}  // namespace

TColor BlendColors(TColor c1, TColor c2, int weight, TSystemColorLookup systemColor) {
    c1 = Resolve(c1, systemColor);
    c2 = Resolve(c2, systemColor);
    // 64-bit: a weight from outside may be any integer.
    const std::int64_t w = weight;
    const std::int64_t scale = weight < 100 ? 100 : 1000;
    auto channel = [&](int a, int b) {
        return static_cast<int>(((a * w + b * (scale - w) + scale / 2) / scale) & 0xFF);
    };
    return Rgb(channel(Red(c1), Red(c2)), channel(Green(c1), Green(c2)), channel(Blue(c1), Blue(c2)));
}

int ColorSaturationLevel(TColor color) {
    const int r = Red(color), g = Green(color), b = Blue(color);
    if (r < 160 && g < 160 && b < 160) return 200;
    const int high = std::max({r, g, b});
    const int low = std::min({r, g, b});
    const double s = static_cast<double>(high - low) / high;  // high >= 160 here
    return static_cast<int>(std::nearbyint(s * 255));           // the default mode: halves to even
}

std::vector<TColor> GradientRun(int count, TColor start, TColor end) {
    std::vector<TColor> run;
    if (count < 1) return run;
    const int r0 = Red(start), g0 = Green(start), b0 = Blue(start);
    const int dr = Red(end) - r0, dg = Green(end) - g0, db = Blue(end) - b0;
    run.reserve(static_cast<std::size_t>(count));
    if (count == 1) {
        run.push_back(Rgb(r0 + dr / 2, g0 + dg / 2, b0 + db / 2));
        return run;
    }
    // 64-bit products: a gradient of millions of lines (a huge rectangle) stays exact.
    const std::int64_t m = count - 1;
    auto step = [m](int base, int delta, std::int64_t i) {
        return base + static_cast<int>((i * delta + m / 2) / m);
    };
    for (std::int64_t i = 0; i <= m; ++i) run.push_back(Rgb(step(r0, dr, i), step(g0, dg, i), step(b0, db, i)));
    return run;
}

int TGradientCache::FindGradient(int count, TColor start, TColor end) const {
    for (int i = kSlots - 1; i >= 0; --i) {
        const auto& run = slots_[static_cast<std::size_t>(i)];
        if (static_cast<int>(run.size()) == count && run.front() == start && run.back() == end) return i;
    }
    return -1;
}

int TGradientCache::GetGradientColors(int count, TColor start, TColor end) {
    if (count < 1) return -1;
    if (const int found = FindGradient(count, start, end); found >= 0) return found;
    const int slot = next_;
    next_ = (next_ + 1) % kSlots;
    slots_[static_cast<std::size_t>(slot)] = GradientRun(count, start, end);
    return slot;
}

TLineSpan GradientLineSpan(int rectStart, int length, int clipStart, int clipEnd) {
    if (length <= 0) return {};
    TLineSpan span{0, length - 1};
    if (clipStart - rectStart > 0) span.First = clipStart - rectStart;
    if (clipEnd - rectStart - 1 < span.Last) span.Last = clipEnd - rectStart - 1;
    return span;
}
