#include "ui/main/MainWindowReactions.h"

#include "tests/RowName.h"
#include "ui/main/MainWindowDesign.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace pevrand
{
namespace
{

using Q = Quantity;
using Calls = std::vector<std::string>;

// A main window without a toolkit: it holds the boxes' texts and the two selections, and
// records every call that changes what the user sees, in order.
class FakeView : public MainWindowView
{
public:
    explicit FakeView(std::optional<Q> in = std::nullopt, std::optional<Q> out = std::nullopt)
        : In(in), Out(out)
    {
    }

    std::map<std::string, std::string, std::less<>> Boxes;
    std::optional<Quantity> In, Out;
    Calls Log;

    std::string BoxText(std::string_view box) const override
    {
        const auto found = Boxes.find(box);
        return found == Boxes.end() ? std::string() : found->second;
    }
    void SetBoxText(std::string_view box, std::string_view text) override
    {
        Boxes[std::string(box)] = text;
        Log.push_back(std::string(box) + "=" + std::string(text));
    }
    void LockOutput() override { Log.push_back("LockOutput"); }
    std::optional<Quantity> SelectedUnit(std::string_view frame) const override
    {
        return frame == "fraUnitsIn" ? In : Out;
    }
    void SelectOption(std::string_view option) override
    {
        const ControlDesign &design = *FindControl(main_window::Window, option);
        (design.Frame == "fraUnitsIn" ? In : Out) = design.Unit;
        Log.push_back("Select " + std::string(option));
    }
    void MoveFocus(std::string_view control) override
    {
        Log.push_back("Focus " + std::string(control));
    }
    void ShowMessage(std::string_view text, std::string_view focusAfter) override
    {
        Log.push_back("Message " + std::string(text) + " then focus " + std::string(focusAfter));
    }
    void OpenAbout() override { Log.push_back("OpenAbout"); }
    void CloseWindow() override { Log.push_back("CloseWindow"); }
    void ResultShown(const ConvertRequest &shown) override
    {
        Log.push_back("Shown " + shown.InputText + " " + shown.TwoThetaText + " " +
                      shown.FlightPathText);
    }
};

// The page, which offers a choice of editions: it records the choice and the note beside the
// result too.
class EditionView final : public FakeView
{
public:
    using FakeView::FakeView;
    Edition Constants = Edition::Classic;

    Edition SelectedConstants() const override { return Constants; }
    void SelectConstants(Edition edition) override
    {
        Constants = edition;
        Log.push_back("Constants " + std::string(RowOf(edition).Name));
    }
    void ShowResultEdition(std::string_view title) override
    {
        Log.push_back("Edition " + std::string(title));
    }
};

TEST(MainWindowReactions, AnEditionIsNamedBesideItsResultAndAnotherEmptiesIt)
{
    EditionView view(Q::Energy, Q::Wavelength);
    view.Boxes["txtInputVal"] = "25";
    view.Constants = Edition::Codata2022;
    MainWindowReactions reactions(view);
    reactions.cmdConvert_Click();
    reactions.Change("cboConstants");
    // A link chooses its edition before it converts; the classic result names none.
    reactions.OpenLink({"81.787", "", "", Q::Energy, Q::Wavelength, Edition::Classic});
    EXPECT_EQ(view.Log, (Calls{"txtOutputVal=1.8089", "Edition CODATA 2022", "Shown 25  ",
                               "txtOutputVal=", "Edition ", "txtInputVal=81.787",
                               "txtTwotheta=", "txtTotalflightpath=", "Select optEnergyIn",
                               "Select optWavelengthOut", "Constants classic", "txtOutputVal=1",
                               "Edition ", "Shown 81.787  "}));
}

TEST(MainWindowReactions, StartUpLocksTheOutputBeforeSettingTheDefaultsAndConverts)
{
    FakeView view;
    MainWindowReactions(view).Form_Load();
    EXPECT_EQ(view.Log, (Calls{"LockOutput", "txtInputVal=25", "Select optEnergyIn",
                               "Select optWavelengthOut", "txtOutputVal=1.8087", "Shown 25  "}));
}

// One row per place the focus can go after a message; the output is emptied before it shows.
struct MessageRow : NamedRow {
    const char *input;
    std::optional<Q> in, out;
    std::string message, focus;
};

using MessageFocus = testing::TestWithParam<MessageRow>;

TEST_P(MessageFocus, EmptiesTheOutputThenShowsTheMessageWithItsFocusMove)
{
    const MessageRow &row = GetParam();
    FakeView view(row.in, row.out);
    view.Boxes["txtInputVal"] = row.input;
    MainWindowReactions(view).Click("cmdConvert");
    EXPECT_EQ(view.Log,
              (Calls{"txtOutputVal=", "Message " + row.message + " then focus " + row.focus}));
}

constexpr const char *NotPositive = "Non-positive values not allowed";
constexpr const char *NoAngle = "Scattering angle not specified";
constexpr const char *NoFlightPath = "Total flight path not specified";
constexpr const char *NoInputUnits = "Input units not specified, or not yet available";
constexpr const char *NoOutputUnits = "Output units not specified, or not yet available";

INSTANTIATE_TEST_SUITE_P(
    EachTarget, MessageFocus,
    testing::Values(
        MessageRow{{"Unchanged"}, "-5", Q::Energy, Q::Wavelength, NotPositive, ""},
        MessageRow{
            {"InputVal"}, "", Q::Energy, Q::Wavelength, "No input value specified", "txtInputVal"},
        MessageRow{{"TwoTheta"}, "25", Q::Energy, Q::Q, NoAngle, "txtTwotheta"},
        MessageRow{
            {"TotalFlightPath"}, "1000", Q::Tof, Q::Energy, NoFlightPath, "txtTotalflightpath"},
        MessageRow{{"EnergyIn"}, "25", std::nullopt, Q::Energy, NoInputUnits, "optEnergyIn"},
        MessageRow{{"EnergyOut"}, "25", Q::Energy, std::nullopt, NoOutputUnits, "optEnergyOut"}),
    RowName());

// A click, a key or an edit with a pair of units chosen, and what the window is told to do
// about it. Which pairs need the angle or the flight path is the engine's table's; here only
// that a box's edit asks it.
constexpr int Click = 0, Edit = -1; // other kinds: a key press with this character code

struct EventRow : NamedRow {
    const char *control;
    int kind;
    Calls calls;
    Q in = Q::Energy, out = Q::Wavelength;
};

using ControlEvent = testing::TestWithParam<EventRow>;

TEST_P(ControlEvent, TellsTheViewWhatToShow)
{
    const EventRow &row = GetParam();
    FakeView view(row.in, row.out);
    view.Boxes["txtInputVal"] = "4";
    MainWindowReactions reactions(view);
    if (row.kind == Click)
        reactions.Click(row.control);
    else if (row.kind == Edit)
        reactions.Change(row.control);
    else
        reactions.KeyPress(row.control, row.kind);
    EXPECT_EQ(view.Log, row.calls);
}

const Calls Converted{"txtOutputVal=4.5218", "Shown 4  "};
const Calls Cleared{"txtOutputVal="};

INSTANTIATE_TEST_SUITE_P(
    ClicksKeysAndEdits, ControlEvent,
    testing::Values(
        EventRow{{"ConvertButton"}, "cmdConvert", Click, Converted},
        EventRow{{"QuitButton"}, "cmdQuit", Click, {"CloseWindow"}},
        EventRow{{"AboutButton"}, "cmdAbout", Click, {"OpenAbout"}},
        EventRow{{"SelectedOptionAgain"}, "optEnergyIn", Click, Cleared},
        EventRow{{"OutputOption"}, "optTofOut", Click, Cleared},
        EventRow{{"ValueLabel"}, "lblInputValue", Click, {"Focus txtInputVal"}},
        EventRow{{"AngleLabel"}, "lblTwotheta", Click, {"Focus txtTwotheta"}},
        EventRow{{"FlightPathLabel"}, "Label2", Click, {"Focus txtTotalflightpath"}},
        EventRow{{"InputFrame"}, "fraUnitsIn", Click, {"Focus optEnergyIn"}},
        EventRow{{"OutputFrame"}, "fraUnitsOut", Click, {"Focus optEnergyOut"}},
        EventRow{{"LabelWithoutReaction"}, "lblAuthor", Click, {}},
        EventRow{{"EnterInValue"}, "txtInputVal", 13, Converted},
        EventRow{{"EnterInAngle"}, "txtTwotheta", 13, Converted},
        EventRow{{"EnterInFlightPath"}, "txtTotalflightpath", 13, Converted},
        EventRow{{"EnterInOutputBox"}, "txtOutputVal", 13, {}},
        EventRow{{"LineFeedIsNotEnter"}, "txtInputVal", 10, {}},
        EventRow{{"ValueEditAlways"}, "txtInputVal", Edit, Cleared, Q::Tof, Q::Tof},
        EventRow{{"AngleEditWhenNeeded"}, "txtTwotheta", Edit, Cleared, Q::Energy, Q::Q},
        EventRow{{"AngleEditWhenNot"}, "txtTwotheta", Edit, {}, Q::Q, Q::Dspacing},
        EventRow{{"FlightPathEditWhenNeeded"}, "txtTotalflightpath", Edit, Cleared, Q::Tof},
        EventRow{{"FlightPathEditWhenNot"}, "txtTotalflightpath", Edit, {}, Q::Tof, Q::Tof},
        EventRow{{"OutputBoxEdit"}, "txtOutputVal", Edit, {}}),
    RowName());

// A link's conversion runs through the Convert command, and the conversion on show is told to
// the view.
TEST(MainWindowReactions, OpeningALinkFillsTheBoxesSelectsTheUnitsAndConverts)
{
    FakeView view(Q::Energy, Q::Energy);
    MainWindowReactions(view).OpenLink({"4", "75", "", Q::Wavelength, Q::Nu});
    EXPECT_EQ(view.Log, (Calls{"txtInputVal=4", "txtTwotheta=75",
                               "txtTotalflightpath=", "Select optWavelengthIn", "Select optNuOut",
                               "txtOutputVal=1.2361", "Shown 4 75 "}));
}

} // namespace
} // namespace pevrand
