// The window descriptions both front ends build from: what a slip in a table would break.
#include "ui/about/AboutWindowDesign.h"
#include "ui/main/MainWindowDesign.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pevrand
{
namespace
{

using Names = std::vector<std::string_view>;

TEST(WindowDesign, MainTabOrderHasOneStopPerFrame)
{
    EXPECT_EQ(TabStops(main_window::Window),
              (Names{"txtInputVal", "txtTwotheta", "txtTotalflightpath", "fraUnitsIn",
                     "fraUnitsOut", "cmdConvert", "cmdQuit", "txtOutputVal", "cmdAbout"}));
    EXPECT_EQ(TabStops(about_window::Window), (Names{"cmdOK", "cmdSysInfo"}));
}

// Each frame holds one option per quantity, in the order the Convert command tests them, so
// that an option's id is its quantity and the arrow keys walk the designed order.
TEST(WindowDesign, EachFrameHoldsEveryQuantityInOrder)
{
    for (const char *frame : {"fraUnitsIn", "fraUnitsOut"}) {
        const auto options = FrameOptions(main_window::Window, frame);
        ASSERT_EQ(options.size(), 10u) << frame;
        for (std::size_t i = 0; i < options.size(); ++i) {
            EXPECT_EQ(options[i]->Unit, static_cast<Quantity>(i)) << options[i]->Name;
            const std::string suffix = std::string(frame).ends_with("In") ? "In" : "Out";
            EXPECT_TRUE(std::string(options[i]->Name).ends_with(suffix)) << options[i]->Name;
        }
    }
}

TEST(WindowDesign, AccessKeysAndBuddies)
{
    std::string keys;
    for (const ControlDesign &control : main_window::Controls) {
        if (const char key = AccessKey(control.Caption))
            keys += key;
        if (!control.Buddy.empty()) {
            EXPECT_NE(FindControl(main_window::Window, control.Buddy), nullptr) << control.Name;
        }
    }
    EXPECT_EQ(keys, "IESTNCAQ");
    EXPECT_EQ(ShownCaption("E&nergy (meV)"), "Energy (meV)");
    EXPECT_EQ(ShownCaption("OUTPUT"), "OUTPUT");
}

struct PixelRow {
    int twips, dpi, pixels;
};

// 15 twips a pixel at 96 DPI, and MulDiv's rounding (nearest, halves away from zero) at others.
TEST(WindowDesign, TwipsToPixelsRoundsAsMulDiv)
{
    for (const PixelRow row : {PixelRow{5565, 96, 371},
                               {1880, 96, 125},
                               {7, 96, 0},
                               {8, 96, 1},
                               {1880, 144, 188},
                               {5, 144, 1},
                               {-8, 96, -1},
                               {8610, 192, 1148}})
        EXPECT_EQ(TwipsToPixels(row.twips, row.dpi), row.pixels) << row.twips << " at " << row.dpi;
}

} // namespace
} // namespace pevrand
