// The window descriptions both front ends build from: what a slip in a table would break.
#include "tests/RowName.h"
#include "ui/about/AboutWindowDesign.h"
#include "ui/main/MainWindowDesign.h"

#include <gtest/gtest.h>

#include <array>
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
    for (const PixelRow row : {PixelRow{1880, 96, 125},
                               {7, 96, 0},
                               {8, 96, 1},
                               {1880, 144, 188},
                               {5, 144, 1},
                               {-8, 96, -1}})
        EXPECT_EQ(TwipsToPixels(row.twips, row.dpi), row.pixels) << row.twips << " at " << row.dpi;
}

// Options lie inside their frames; a front end that makes them children of the window adds
// the frame's corner.
struct BoxRow {
    std::string name;
    std::string control;
    int left, top, width, height;
};

class ClientBoxRow : public testing::TestWithParam<BoxRow>
{
};

TEST_P(ClientBoxRow, IsTheDesignedBoxFromTheClientArea)
{
    const BoxRow &row = GetParam();
    const ControlDesign *control = FindControl(main_window::Window, row.control);
    ASSERT_NE(control, nullptr);
    const TwipsRect box = ClientBox(main_window::Window, *control);
    EXPECT_EQ((std::array{box.Left, box.Top, box.Width, box.Height}),
              (std::array{row.left, row.top, row.width, row.height}));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ClientBoxRow,
    testing::Values(BoxRow{"InputOptionInItsFrame", "optNuIn", 1440, 1500, 3735, 255},
                    BoxRow{"OutputOptionInItsFrame", "optTofOut", 1440, 7260, 3600, 255},
                    BoxRow{"BoxOutsideFramesAsDrawn", "txtInputVal", 2400, 120, 3015, 375}),
    RowName());

// Tab and Shift+Tab from a stop, an option of a group, or a control that takes no focus.
struct TabRow {
    std::string name;
    std::string from;
    bool backward;
    std::string to;
};

class NextTabStopRow : public testing::TestWithParam<TabRow>
{
};

TEST_P(NextTabStopRow, FollowsTheStopsAndWraps)
{
    const TabRow &row = GetParam();
    EXPECT_EQ(NextTabStop(main_window::Window, row.from, row.backward), row.to);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, NextTabStopRow,
    testing::Values(TabRow{"IntoTheInputGroup", "txtTotalflightpath", false, "fraUnitsIn"},
                    TabRow{"FromAnUnselectedOptionLeavesTheGroup", "optQIn", false, "fraUnitsOut"},
                    TabRow{"TimeOfFlightOptionIsItsGroupsStop", "optTofIn", false, "fraUnitsOut"},
                    TabRow{"BackFromTheOutputGroup", "optDspacingOut", true, "fraUnitsIn"},
                    TabRow{"LastWrapsToFirst", "cmdAbout", false, "txtInputVal"},
                    TabRow{"FirstWrapsBackToLast", "txtInputVal", true, "cmdAbout"},
                    TabRow{"FromALabelToTheFirst", "lblInput", false, "txtInputVal"},
                    TabRow{"FromNothingBackToTheLast", "", true, "cmdAbout"}),
    RowName());

struct KeyRow {
    std::string name;
    char key;
    std::string control; // empty: none
};

class AccessKeyRow : public testing::TestWithParam<KeyRow>
{
};

TEST_P(AccessKeyRow, FindsTheCaptionWithThatKey)
{
    const KeyRow &row = GetParam();
    const WindowDesign &window =
        row.name.starts_with("About") ? about_window::Window : main_window::Window;
    const ControlDesign *control = AccessKeyControl(window, row.key);
    EXPECT_EQ(control ? std::string(control->Name) : std::string(), row.control);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, AccessKeyRow,
    testing::Values(KeyRow{"LowerCaseAsUpper", 'i', "lblInputValue"},
                    KeyRow{"InputEnergyByItsFirstLetter", 'E', "optEnergyIn"},
                    KeyRow{"OutputEnergyByItsSecondLetter", 'N', "optEnergyOut"},
                    KeyRow{"FlightPathLabel", 'T', "Label2"}, KeyRow{"NoCaptionHasIt", 'Z', ""},
                    KeyRow{"NoKeyAtAll", 0, ""}, KeyRow{"AboutSystemInfo", 's', "cmdSysInfo"},
                    KeyRow{"AboutOkHasNone", 'O', ""}),
    RowName());

// The arrow keys' step through a group, wrapping at both ends.
TEST(WindowDesign, StepOptionWrapsAtBothEnds)
{
    EXPECT_EQ(StepOption(3, 10, 1), 4);
    EXPECT_EQ(StepOption(0, 10, -1), 9);
    EXPECT_EQ(StepOption(9, 10, 1), 0);
}

} // namespace
} // namespace pevrand
