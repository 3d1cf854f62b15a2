// The rooms the captions get and the size search that shrinks a face until they fit: what a
// slip would clip or shrink for no reason.
#include "ui/common/CaptionFit.h"

#include "tests/RowName.h"
#include "ui/about/AboutWindowDesign.h"
#include "ui/main/MainWindowDesign.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pevrand
{
namespace
{

constexpr CaptionChrome Chrome{20, 8, 6, 16};

struct RoomRow : NamedRow {
    FontDesign face;
    std::string_view control;
    int dpi;
    int width, height;
    bool wraps;
};

const RoomRow RoomRows[] = {
    {"WrappingLabelKeepsItsWholeBox", DialogFace, "lblTwotheta", 96, 73, 41, true},
    {"OptionLosesItsIndicator", DialogFace, "optEnergyIn", 96, 209 - 20, 17, false},
    {"ButtonLosesItsFrameBothWays", DialogFace, "cmdConvert", 96, 65 - 8, 25 - 6, false},
    {"FrameTitleUpToItsFirstOption", DialogFace, "fraUnitsOut", 96, 273 - 16, 20, false},
    {"RedCaptionInItsOwnFace", main_window::CaptionFace, "lblOutput", 96, 73, 25, true},
    {"AuthorLineInItsOwnFace", main_window::AuthorFace, "lblAuthor", 96, 353, 17, true},
    {"TwiceTheDpiTwiceTheRoomChromeUnscaled", DialogFace, "optQIn", 192, 480 - 20, 34, false},
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
    ASSERT_NE(room, rooms.end());
    EXPECT_EQ(room->Width, row.width);
    EXPECT_EQ(room->Height, row.height);
    EXPECT_EQ(room->Wraps, row.wraps);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CaptionRoomRow, testing::ValuesIn(RoomRows), RowName());

struct CountRow : NamedRow {
    const WindowDesign *window;
    FontDesign face;
    std::size_t rooms;
};

// A face's rooms are the fixed captions drawn in it and nothing else: no text box, no line,
// no caption set at run time, no caption of another face.
const CountRow CountRows[] = {
    {"MainDialogFaceLabelsFramesOptionsButtons", &main_window::Window, DialogFace, 4 + 2 + 20 + 3},
    {"MainCaptionFaceOnlyTheTwoRedCaptions", &main_window::Window, main_window::CaptionFace, 2},
    {"MainAuthorFaceOnlyTheAuthorLine", &main_window::Window, main_window::AuthorFace, 1},
    {"AboutOnlyItsButtonsLabelsAreSetAtRunTime", &about_window::Window, DialogFace, 2},
    {"AFaceNoControlUses", &main_window::Window, FontDesign{"Courier New", 10, false}, 0},
};

class CaptionRoomCount : public testing::TestWithParam<CountRow>
{
};

TEST_P(CaptionRoomCount, CoversTheFixedCaptionsOfTheFace)
{
    const CountRow &row = GetParam();
    const auto rooms = CaptionRooms(*row.window, row.face, Chrome);
    EXPECT_EQ(rooms.size(), row.rooms);
    for (const CaptionRoom &room : rooms) {
        EXPECT_FALSE(room.Control->Caption.empty()) << room.Control->Name;
        EXPECT_TRUE(room.Control->Font == row.face) << room.Control->Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, CaptionRoomCount, testing::ValuesIn(CountRows), RowName());

struct SizeRow : NamedRow {
    double designed, smallest, step;
    double largestThatFits; // the predicate holds at this size and below
    double expected;
};

const SizeRow SizeRows[] = {
    {"FitsAtTheDesignedSizeKeepsIt", 8, 6, 0.25, 100, 8},
    {"ShrinksToTheFirstStepThatFits", 8, 6, 0.25, 7.1, 7},
    {"NeverFitsGivesTheSmallest", 8, 6, 0.25, 1, 6},
    {"StepsStopAboveTheSmallestThenTheSmallest", 8, 6.1, 0.5, 6.3, 6.1},
    {"DesignedBelowTheSmallestIsTriedAsIs", 5, 6, 0.25, 5, 5},
};

class LargestFitting : public testing::TestWithParam<SizeRow>
{
};

TEST_P(LargestFitting, FindsTheLargestStepThatFits)
{
    const SizeRow &row = GetParam();
    const double found =
        LargestFittingPoints(row.designed, row.smallest, row.step,
                             [&](double points) { return points <= row.largestThatFits + 1e-9; });
    EXPECT_NEAR(found, row.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LargestFitting, testing::ValuesIn(SizeRows), RowName());

} // namespace
} // namespace pevrand
