#include "tests/resources/IconFile.h"

#include <algorithm>

namespace pevrand::test
{
namespace
{

constexpr std::size_t DirectoryHeaderSize = 6;
constexpr std::size_t DirectoryEntrySize = 16;
constexpr std::size_t BitmapHeaderSize = 40;

// Little-endian reads that fail softly past the end of the file.
class Reader
{
public:
    explicit Reader(const std::vector<std::uint8_t> &bytes) : bytes_(bytes) {}

    bool Has(std::size_t offset, std::size_t count) const
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint32_t Unsigned(std::size_t offset, std::size_t width) const
    {
        std::uint32_t value = 0;
        for (std::size_t i = width; i-- > 0;) {
            value = (value << 8) | bytes_[offset + i];
        }
        return value;
    }
    std::uint8_t Byte(std::size_t offset) const { return bytes_[offset]; }

private:
    const std::vector<std::uint8_t> &bytes_;
};

std::size_t RowStride(int width, int bits)
{
    return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

// Checks one image's bitmap against its directory entry and counts its transparent pixels.
std::string CheckBitmap(const Reader &in, IconImage &image)
{
    const std::size_t at = image.Offset;
    if (image.Bytes < BitmapHeaderSize) {
        return "image too short for a bitmap header";
    }
    if (in.Unsigned(at, 4) != BitmapHeaderSize) {
        return "image is not a BITMAPINFOHEADER bitmap";
    }
    if (static_cast<int>(in.Unsigned(at + 4, 4)) != image.Width ||
        static_cast<int>(in.Unsigned(at + 8, 4)) != 2 * image.Height) {
        return "bitmap size disagrees with the directory (height must be doubled for the mask)";
    }
    if (in.Unsigned(at + 12, 2) != 1 ||
        static_cast<int>(in.Unsigned(at + 14, 2)) != image.BitCount) {
        return "bitmap planes or bit count disagree with the directory";
    }
    if (in.Unsigned(at + 16, 4) != 0) {
        return "bitmap is compressed";
    }
    const std::size_t fullPalette = std::size_t{1} << image.BitCount;
    const std::size_t used = in.Unsigned(at + 32, 4);
    if (used > fullPalette) {
        return "palette larger than the bit count allows";
    }
    const std::size_t paletteSize = used == 0 ? fullPalette : used;
    const auto height = static_cast<std::size_t>(image.Height);
    const std::size_t colourStride = RowStride(image.Width, image.BitCount);
    const std::size_t maskStride = RowStride(image.Width, 1);
    const std::size_t palette = at + BitmapHeaderSize;
    const std::size_t colour = palette + 4 * paletteSize;
    const std::size_t mask = colour + colourStride * height;
    if (image.Bytes != BitmapHeaderSize + 4 * paletteSize + (colourStride + maskStride) * height) {
        return "image size is not header, palette, colour bitmap and mask";
    }

    image.TransparentPixels = 0;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < static_cast<std::size_t>(image.Width); ++x) {
            const std::size_t bit = x * static_cast<std::size_t>(image.BitCount);
            const std::uint8_t packed = in.Byte(colour + y * colourStride + bit / 8);
            const auto shift =
                static_cast<unsigned>(8 - image.BitCount - static_cast<int>(bit % 8));
            const std::size_t index = (packed >> shift) & ((1u << image.BitCount) - 1u);
            if (index >= paletteSize) {
                return "colour index beyond the palette";
            }
            const bool transparent =
                ((in.Byte(mask + y * maskStride + x / 8) << (x % 8)) & 0x80) != 0;
            if (transparent) {
                ++image.TransparentPixels;
                if ((in.Unsigned(palette + 4 * index, 4) & 0xFFFFFFu) != 0) {
                    return "transparent pixel is not black in the colour bitmap";
                }
            }
        }
    }
    return {};
}

} // namespace

IconFile ReadIconFile(const std::vector<std::uint8_t> &bytes)
{
    IconFile file;
    const Reader in(bytes);
    if (!in.Has(0, DirectoryHeaderSize)) {
        file.Fault = "file too short for an icon directory";
        return file;
    }
    if (in.Unsigned(0, 2) != 0 || in.Unsigned(2, 2) != 1) {
        file.Fault = "not an icon file";
        return file;
    }
    const std::size_t count = in.Unsigned(4, 2);
    const std::size_t directoryEnd = DirectoryHeaderSize + DirectoryEntrySize * count;
    if (count == 0 || !in.Has(0, directoryEnd)) {
        file.Fault = "icon directory empty or cut short";
        return file;
    }

    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = DirectoryHeaderSize + DirectoryEntrySize * i;
        IconImage image;
        image.Width = in.Byte(at) == 0 ? 256 : in.Byte(at);
        image.Height = in.Byte(at + 1) == 0 ? 256 : in.Byte(at + 1);
        image.ColourCount = in.Byte(at + 2);
        image.BitCount = static_cast<int>(in.Unsigned(at + 6, 2));
        image.Bytes = in.Unsigned(at + 8, 4);
        image.Offset = in.Unsigned(at + 12, 4);
        file.Images.push_back(image);
    }

    for (std::size_t i = 0; i < count; ++i) {
        IconImage &image = file.Images[i];
        const std::size_t at = DirectoryHeaderSize + DirectoryEntrySize * i;
        const std::string which = "image " + std::to_string(i + 1) + ": ";
        if (in.Byte(at + 3) != 0 || in.Unsigned(at + 4, 2) != 1) {
            file.Fault = which + "directory entry needs reserved 0 and one plane";
            return file;
        }
        if (image.BitCount != 1 && image.BitCount != 4 && image.BitCount != 8) {
            file.Fault = which + "not a 1-, 4- or 8-bit palette image";
            return file;
        }
        const int colours = image.BitCount < 8 ? 1 << image.BitCount : 0;
        if (image.ColourCount != colours) {
            file.Fault = which + "colour count disagrees with the bit count";
            return file;
        }
        if (image.Offset < directoryEnd || !in.Has(image.Offset, image.Bytes)) {
            file.Fault = which + "data lies outside the file or over its directory";
            return file;
        }
        for (std::size_t j = 0; j < i; ++j) {
            const IconImage &other = file.Images[j];
            if (image.Offset < other.Offset + other.Bytes &&
                other.Offset < image.Offset + image.Bytes) {
                file.Fault = which + "data overlaps image " + std::to_string(j + 1);
                return file;
            }
        }
        if (const std::string fault = CheckBitmap(in, image); !fault.empty()) {
            file.Fault = which + fault;
            return file;
        }
    }
    return file;
}

} // namespace pevrand::test
