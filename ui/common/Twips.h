// Window geometry in twips, 1/1440 inch, and its conversion to pixels.
#pragma once

namespace pevrand
{

inline constexpr int TwipsPerInch = 1440;
inline constexpr int StandardDpi = 96; // 15 twips a pixel

// A box in twips: from the top left corner of its window's client area, or of its frame for an
// option.
struct TwipsRect {
    int Left, Top, Width, Height;
};

// `twips` in pixels at `dpi` dots per inch: twips * dpi / 1440 rounded to the nearest pixel,
// halves away from zero, as Windows' MulDiv rounds. At 96 DPI, 15 twips make a pixel.
constexpr int TwipsToPixels(int twips, int dpi = StandardDpi)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = TwipsPerInch / 2;
    return static_cast<int>((scaled >= 0 ? scaled + half : scaled - half) / TwipsPerInch);
}

} // namespace pevrand
