// The committed program icon, read back: six images in the designed order, each a complete
// bitmap with its own transparency mask; and damaged copies of it, which must not pass.
#include "tests/resources/IconFile.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

namespace pevrand::test
{
namespace
{

struct DesignedImage {
    const char *name;
    int size;
    int bits;
    int colourCount;
};

// 16, 32 and 48 pixels, each first in 16 colours and then in 256.
constexpr DesignedImage Design[] = {
    {"First_16px_16Colours", 16, 4, 16}, {"Second_16px_256Colours", 16, 8, 0},
    {"Third_32px_16Colours", 32, 4, 16}, {"Fourth_32px_256Colours", 32, 8, 0},
    {"Fifth_48px_16Colours", 48, 4, 16}, {"Sixth_48px_256Colours", 48, 8, 0},
};
constexpr std::size_t DesignedCount = std::size(Design);

std::vector<std::uint8_t> CommittedIcon()
{
    std::ifstream in(PEVRAND_ICON_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool MatchesDesign(const IconFile &file)
{
    return file.Images.size() == DesignedCount &&
           std::equal(file.Images.begin(), file.Images.end(), std::begin(Design),
                      [](const IconImage &image, const DesignedImage &designed) {
                          return image.Width == designed.size && image.Height == designed.size &&
                                 image.BitCount == designed.bits &&
                                 image.ColourCount == designed.colourCount;
                      });
}

TEST(CommittedIcon, IsWellFormedAndHasTheDesignedImages)
{
    const std::vector<std::uint8_t> bytes = CommittedIcon();
    ASSERT_FALSE(bytes.empty()) << "cannot read " << PEVRAND_ICON_FILE;
    const IconFile file = ReadIconFile(bytes);
    EXPECT_EQ(file.Fault, "");
    EXPECT_TRUE(MatchesDesign(file));
}

class CommittedIconImage : public testing::TestWithParam<std::size_t>
{
};

TEST_P(CommittedIconImage, HasItsSizeDepthAndOwnMask)
{
    const std::size_t index = GetParam();
    const IconFile file = ReadIconFile(CommittedIcon());
    ASSERT_EQ(file.Fault, "");
    ASSERT_GT(file.Images.size(), index);
    const IconImage &image = file.Images[index];
    const DesignedImage &designed = Design[index];
    EXPECT_EQ(image.Width, designed.size);
    EXPECT_EQ(image.Height, designed.size);
    EXPECT_EQ(image.BitCount, designed.bits);
    EXPECT_EQ(image.ColourCount, designed.colourCount);
    // Each image has a mask of its own that lets the background through around the artwork.
    EXPECT_GT(image.TransparentPixels, 0);
    EXPECT_LT(image.TransparentPixels, designed.size * designed.size);
}

TEST(CommittedIcon, BothDepthsOfASizeShareTheOutline)
{
    const IconFile file = ReadIconFile(CommittedIcon());
    ASSERT_EQ(file.Fault, "");
    ASSERT_EQ(file.Images.size(), DesignedCount);
    for (std::size_t i = 0; i < DesignedCount; i += 2) {
        EXPECT_EQ(file.Images[i].TransparentPixels, file.Images[i + 1].TransparentPixels)
            << Design[i].size << " pixels";
    }
}

INSTANTIATE_TEST_SUITE_P(InDesignedOrder, CommittedIconImage,
                         testing::Range(std::size_t{0}, DesignedCount),
                         [](const testing::TestParamInfo<std::size_t> &row) {
                             return std::string(Design[row.param].name);
                         });

// Damage done to a copy of the committed icon, and the fault it must raise (none where the
// damaged file is well formed but no longer the designed icon). The directory starts at byte 6
// with 16 bytes an entry: width, height, colours, reserved, planes, bits, size, offset.
struct Damage : NamedRow {
    void (*apply)(std::vector<std::uint8_t> &bytes);
    const char *fault;
};

void Put32(std::vector<std::uint8_t> &bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t Get32(const std::vector<std::uint8_t> &bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      bytes[at + 3] << 24);
}

std::size_t EntryAt(std::size_t image)
{
    return 6 + 16 * image;
}
std::size_t DataOf(const std::vector<std::uint8_t> &bytes, std::size_t image)
{
    return Get32(bytes, EntryAt(image) + 12);
}

class DamagedIcon : public testing::TestWithParam<Damage>
{
};

TEST_P(DamagedIcon, IsRejected)
{
    const Damage &damage = GetParam();
    std::vector<std::uint8_t> bytes = CommittedIcon();
    ASSERT_EQ(ReadIconFile(bytes).Fault, "");
    damage.apply(bytes);
    const IconFile file = ReadIconFile(bytes);
    if (damage.fault == nullptr) {
        EXPECT_EQ(file.Fault, "");
        EXPECT_FALSE(MatchesDesign(file));
    } else {
        EXPECT_EQ(file.Fault.rfind(damage.fault, 0), 0u) << file.Fault;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DamagedIcon,
    testing::Values(
        Damage{"TruncatedByOneByte", [](auto &b) { b.pop_back(); }, "image 6: data lies outside"},
        Damage{"CutAfterTheDirectory", [](auto &b) { b.resize(EntryAt(DesignedCount)); },
               "image 1: data lies outside"},
        Damage{"FirstTwoImagesSwapped",
               [](auto &b) { std::swap_ranges(b.begin() + 6, b.begin() + 22, b.begin() + 22); },
               nullptr},
        Damage{"LastImageDropped", [](auto &b) { b[4] = DesignedCount - 1; }, nullptr},
        Damage{"DirectoryClaimsASeventhImage", [](auto &b) { b[4] = DesignedCount + 1; },
               "image 1: data lies outside"},
        Damage{"MaskLeftOutOfTheSize",
               [](auto &b) {
                   const std::size_t size = EntryAt(5) + 8;
                   Put32(b, size, Get32(b, size) - 48 * 8);
               },
               "image 6: image size is not"},
        Damage{"DirectorySays256ColoursForASixteenColourBitmap",
               [](auto &b) {
                   b[EntryAt(0) + 2] = 0;
                   b[EntryAt(0) + 6] = 8;
               },
               "image 1: bitmap planes or bit count disagree"},
        Damage{"SixteenColourCountOnA256ColourImage", [](auto &b) { b[EntryAt(1) + 2] = 16; },
               "image 2: colour count disagrees"},
        Damage{"HeightNotDoubledForTheMask", [](auto &b) { Put32(b, DataOf(b, 2) + 8, 32); },
               "image 3: bitmap size disagrees"},
        Damage{"PngWhereABitmapBelongs", [](auto &b) { Put32(b, DataOf(b, 3), 0x474E5089); },
               "image 4: image is not a BITMAPINFOHEADER"},
        Damage{"SecondImagePointsAtTheFirst",
               [](auto &b) { Put32(b, EntryAt(1) + 12, static_cast<std::uint32_t>(DataOf(b, 0))); },
               "image 2: data overlaps image 1"},
        Damage{"TransparentPixelsWouldInvertTheScreen",
               [](auto &b) { Put32(b, DataOf(b, 0) + 40, 0x00FFFFFF); },
               "image 1: transparent pixel is not black"}),
    RowName());

} // namespace
} // namespace pevrand::test
