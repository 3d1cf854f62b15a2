// The design's colours as Windows takes them.
#pragma once

#include <windows.h>

#include "ui/common/WindowDesign.h"

namespace pevrand::win32
{

// A colour of the design.
constexpr COLORREF ColourOf(Rgb colour)
{
    return RGB(colour.Red, colour.Green, colour.Blue);
}

} // namespace pevrand::win32
