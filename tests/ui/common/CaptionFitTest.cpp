// The rooms the captions get and the size search that shrinks a face until they fit: what a
// slip would clip, or shrink for no reason.
#include "ui/common/CaptionFit.h"

#include "tests/RowName.h"
#include "ui/main/MainWindowDesign.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pevrand
{
namespace
{

constexpr CaptionChrome Chrome{20, 8, 6, 16};
constexpr int Absent = -1;

struct RoomRow : NamedRow {
    FontDesign face;
    std::string_view control;
    int dpi;
    int width, height; // Absent: the control has no room in that face
    bool wraps;
};

const RoomRow RoomRows[] = {
    {"WrappingLabelKeepsItsWholeBox", DialogFace, "lblTwotheta", 96, 73, 41, true},
    {"OptionLosesItsIndicator", DialogFace, "optEnergyIn", 96, 209 - 20, 17, false},
    {"ButtonLosesItsFrameBothWays", DialogFace, "cmdConvert", 96, 65 - 8, 25 - 6, false},
    {"FrameTitleUpToItsFirstOption", DialogFace, "fraUnitsOut", 96, 273 - 16, 20, false},
    {"TwiceTheDpiTwiceTheBoxSameChrome", DialogFace, "optQIn", 192, 480 - 20, 34, false},
    {"RedCaptionInItsOwnFace", main_window::CaptionFace, "lblOutput", 96, 73, 25, true},
    {"RedCaptionNotInTheDialogFace", DialogFace, "lblOutput", 96, Absent, Absent, false},
    {"TextBoxHasNoCaption", DialogFace, "txtInputVal", 96, Absent, Absent, false},
};

class CaptionRoomRow : public testing::TestWithParam<RoomRow>
{
};

TEST_P(CaptionRoomRow, IsTheBoxLessWhatTheControlTakes)
{
    const RoomRow &row = GetParam();
    const auto rooms = CaptionRooms(main_window::Window, row.face, Chrome, row.dpi);
    const auto room = std::find_if(rooms.begin(), rooms.end(), [&](const CaptionRoom &each) {
        return each.Control->Name == row.control;
    });
    if (row.width == Absent) {
        EXPECT_EQ(room, rooms.end());
        return;
    }
    ASSERT_NE(room, rooms.end());
    EXPECT_EQ(room->Width, row.width);
    EXPECT_EQ(room->Height, row.height);
    EXPECT_EQ(room->Wraps, row.wraps);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CaptionRoomRow, testing::ValuesIn(RoomRows), RowName());

struct SizeRow : NamedRow {
    double smallest, step;
    double largestThatFits; // the caption check holds at this size and below
    double expected;        // searching down from 8 points
};

const SizeRow SizeRows[] = {
    {"FitsAtTheDesignedSizeKeepsIt", 6, 0.25, 100, 8},
    {"ShrinksToTheFirstStepThatFits", 6, 0.25, 7.1, 7},
    {"NeverFitsGivesTheSmallest", 6, 0.25, 1, 6},
    {"StepsStopAboveTheSmallestThenTheSmallest", 6.1, 0.5, 6.3, 6.1},
};

class LargestFitting : public testing::TestWithParam<SizeRow>
{
};

TEST_P(LargestFitting, FindsTheLargestStepThatFits)
{
    const SizeRow &row = GetParam();
    const double found = LargestFittingPoints(8, row.smallest, row.step, [&](double points) {
        return points <= row.largestThatFits + 1e-9;
    });
    EXPECT_NEAR(found, row.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LargestFitting, testing::ValuesIn(SizeRows), RowName());

} // namespace
} // namespace pevrand
