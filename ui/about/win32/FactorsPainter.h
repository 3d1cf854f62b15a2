// The factors picture painted with GDI from its one description.
#pragma once

#include <windows.h>

namespace pevrand::win32
{

// Fills `box` white and sets the five lines in black inside it, the block centred and the
// lines spaced evenly; the type is made smaller until the block fits the box.
void PaintFactors(HDC dc, RECT box, int dpi);

} // namespace pevrand::win32
