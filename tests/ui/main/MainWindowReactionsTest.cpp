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
class FakeView final : public MainWindowView
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
};

TEST(MainWindowReactions, StartUpLocksTheOutputBeforeSettingTheDefaultsAndConverts)
{
    FakeView view;
    MainWindowReactions(view).Form_Load();
    EXPECT_EQ(view.Log, (Calls{"LockOutput", "txtInputVal=25", "Select optEnergyIn",
                               "Select optWavelengthOut", "txtOutputVal=1.8087"}));
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

// An edit of a box empties the output only when the result depends on that box.
struct ChangeRow : NamedRow {
    const char *box;
    Q in, out;
    bool clears;
};

using BoxChange = testing::TestWithParam<ChangeRow>;

TEST_P(BoxChange, EmptiesTheOutputOnlyWhenTheBoxMatters)
{
    const ChangeRow &row = GetParam();
    FakeView view(row.in, row.out);
    MainWindowReactions(view).Change(row.box);
    EXPECT_EQ(view.Log, row.clears ? Calls{"txtOutputVal="} : Calls{});
}

INSTANTIATE_TEST_SUITE_P(
    ClearingRules, BoxChange,
    testing::Values(
        ChangeRow{{"ValueAlways"}, "txtInputVal", Q::Tof, Q::Tof, true},
        ChangeRow{{"AngleForQOut"}, "txtTwotheta", Q::Energy, Q::Q, true},
        ChangeRow{{"AngleForDspacingIn"}, "txtTwotheta", Q::Dspacing, Q::Nu, true},
        ChangeRow{{"AngleNotForQToDspacing"}, "txtTwotheta", Q::Q, Q::Dspacing, false},
        ChangeRow{{"AngleNotWithoutQ"}, "txtTwotheta", Q::Energy, Q::Tof, false},
        ChangeRow{{"FlightPathForTofIn"}, "txtTotalflightpath", Q::Tof, Q::Q, true},
        ChangeRow{{"FlightPathForTofOut"}, "txtTotalflightpath", Q::Energy, Q::Tof, true},
        ChangeRow{{"FlightPathNotForTofBothSides"}, "txtTotalflightpath", Q::Tof, Q::Tof, false},
        ChangeRow{{"FlightPathNotWithoutTof"}, "txtTotalflightpath", Q::Q, Q::Energy, false},
        ChangeRow{{"OutputBoxItself"}, "txtOutputVal", Q::Energy, Q::Wavelength, false}),
    RowName());

// A click or a key, and what the window is told to do about it.
struct EventRow : NamedRow {
    const char *control;
    int key; // 0: a click; otherwise a key press with this character code
    Calls calls;
};

using ControlEvent = testing::TestWithParam<EventRow>;

TEST_P(ControlEvent, TellsTheViewWhatToShow)
{
    const EventRow &row = GetParam();
    FakeView view(Q::Energy, Q::Wavelength);
    view.Boxes["txtInputVal"] = "4";
    MainWindowReactions reactions(view);
    row.key == 0 ? reactions.Click(row.control) : reactions.KeyPress(row.control, row.key);
    EXPECT_EQ(view.Log, row.calls);
}

const Calls Converted{"txtOutputVal=4.5218"};
const Calls Cleared{"txtOutputVal="};

INSTANTIATE_TEST_SUITE_P(
    ClicksAndKeys, ControlEvent,
    testing::Values(EventRow{{"ConvertButton"}, "cmdConvert", 0, Converted},
                    EventRow{{"QuitButton"}, "cmdQuit", 0, {"CloseWindow"}},
                    EventRow{{"AboutButton"}, "cmdAbout", 0, {"OpenAbout"}},
                    EventRow{{"SelectedOptionAgain"}, "optEnergyIn", 0, Cleared},
                    EventRow{{"OutputOption"}, "optTofOut", 0, Cleared},
                    EventRow{{"ValueLabel"}, "lblInputValue", 0, {"Focus txtInputVal"}},
                    EventRow{{"AngleLabel"}, "lblTwotheta", 0, {"Focus txtTwotheta"}},
                    EventRow{{"FlightPathLabel"}, "Label2", 0, {"Focus txtTotalflightpath"}},
                    EventRow{{"InputFrame"}, "fraUnitsIn", 0, {"Focus optEnergyIn"}},
                    EventRow{{"OutputFrame"}, "fraUnitsOut", 0, {"Focus optEnergyOut"}},
                    EventRow{{"LabelWithoutReaction"}, "lblAuthor", 0, {}},
                    EventRow{{"EnterInValue"}, "txtInputVal", 13, Converted},
                    EventRow{{"EnterInAngle"}, "txtTwotheta", 13, Converted},
                    EventRow{{"EnterInFlightPath"}, "txtTotalflightpath", 13, Converted},
                    EventRow{{"EnterInOutputBox"}, "txtOutputVal", 13, {}},
                    EventRow{{"LineFeedIsNotEnter"}, "txtInputVal", 10, {}}),

    RowName());

} // namespace
} // namespace pevrand
