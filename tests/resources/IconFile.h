// Reads a Windows icon file (.ico) back and checks how it is built: the directory, and in each
// image the bitmap header, palette, colour bitmap and transparency mask.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pevrand::test
{

struct IconImage {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;    // bits per pixel, as the directory entry gives it
    int ColourCount = 0; // the entry's colour count: 16 for 4 bits, 0 for 256 colours
    std::size_t Offset = 0;
    std::size_t Bytes = 0;
    int TransparentPixels = 0; // pixels whose mask bit is set
};

struct IconFile {
    std::vector<IconImage> Images; // in directory order
    std::string Fault;             // empty when the whole file is well formed
};

// Reads `bytes` as an ICO file of uncompressed palette (BMP) images, 1 to 8 bits per pixel.
// Returns the images it read, in directory order. `Fault` names the first problem found: a
// short file, an image outside the file or over another one, a bitmap header that disagrees
// with its directory entry, an image size other than header, palette, colour bitmap and mask
// exactly, a colour index beyond the palette, or a transparent pixel that is not black in the
// colour bitmap (which would invert the screen behind it instead of showing it).
IconFile ReadIconFile(const std::vector<std::uint8_t> &bytes);

} // namespace pevrand::test
