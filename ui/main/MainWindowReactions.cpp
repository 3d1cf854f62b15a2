#include "MainWindowReactions.h"

#include "MainWindowDesign.h"
#include "convert/ConvertCommand.h"

namespace pevrand
{
namespace
{

constexpr int CarriageReturn = 13;

// The control that takes the focus after a message: the box or option the message is about,
// except after "Non-positive values not allowed", which leaves the focus where it was.
std::string_view FocusAfter(MessageId id)
{
    if (id == MessageId::NotPositive)
        return {};
    switch (MessageOf(id).Subject) {
    case MessageSubject::Value:
        return "txtInputVal";
    case MessageSubject::Angle:
        return "txtTwotheta";
    case MessageSubject::FlightPath:
        return "txtTotalflightpath";
    case MessageSubject::InputUnits:
        return "optEnergyIn";
    case MessageSubject::OutputUnits:
        return "optEnergyOut";
    }
    return {};
}

// The option of frame `frame` that stands for `unit`.
std::string_view OptionName(std::string_view frame, Quantity unit)
{
    for (const ControlDesign *option : FrameOptions(main_window::Window, frame))
        if (option->Unit == unit)
            return option->Name;
    return {};
}

} // namespace

void MainWindowReactions::clearOutput()
{
    view_.SetBoxText("txtOutputVal", "");
    view_.ShowResultEdition("");
}

void MainWindowReactions::Form_Load(const std::optional<ConvertRequest> &link)
{
    view_.LockOutput();
    view_.SetBoxText("txtInputVal", "25");
    view_.SelectOption("optEnergyIn");
    view_.SelectOption("optWavelengthOut");
    if (link)
        OpenLink(*link);
    else
        cmdConvert_Click();
}

void MainWindowReactions::cmdConvert_Click()
{
    const ConvertRequest request{
        view_.BoxText("txtInputVal"),        view_.BoxText("txtTwotheta"),
        view_.BoxText("txtTotalflightpath"), view_.SelectedUnit("fraUnitsIn"),
        view_.SelectedUnit("fraUnitsOut"),   view_.SelectedConstants()};
    const ConvertOutcome outcome = RunConvert(request);
    // The result is gone before the message shows: never a result beside a message.
    view_.SetBoxText("txtOutputVal", outcome.OutputText);
    const bool classic = request.Constants == Edition::Classic;
    view_.ShowResultEdition(outcome.Message || classic ? std::string_view()
                                                       : RowOf(request.Constants).Title);
    if (outcome.Message) {
        view_.ShowMessage(MessageOf(*outcome.Message).Text, FocusAfter(*outcome.Message));
    } else {
        view_.ResultShown(request);
    }
}

void MainWindowReactions::OpenLink(const ConvertRequest &conversion)
{
    view_.SetBoxText("txtInputVal", conversion.InputText);
    view_.SetBoxText("txtTwotheta", conversion.TwoThetaText);
    view_.SetBoxText("txtTotalflightpath", conversion.FlightPathText);
    if (conversion.Input)
        view_.SelectOption(OptionName("fraUnitsIn", *conversion.Input));
    if (conversion.Output)
        view_.SelectOption(OptionName("fraUnitsOut", *conversion.Output));
    view_.SelectConstants(conversion.Constants);
    cmdConvert_Click();
}

void MainWindowReactions::cmdQuit_Click()
{
    view_.CloseWindow();
}

void MainWindowReactions::cmdAbout_Click()
{
    view_.OpenAbout();
}

void MainWindowReactions::txtInputVal_Change()
{
    clearOutput();
}

void MainWindowReactions::txtInputVal_KeyPress(int key)
{
    if (key == CarriageReturn)
        cmdConvert_Click();
}

// The angle box only matters, and so only clears a result, when exactly one side is Q or
// d-spacing.
void MainWindowReactions::txtTwotheta_Change()
{
    if (NeedsAngle(view_.SelectedUnit("fraUnitsIn"), view_.SelectedUnit("fraUnitsOut")))
        clearOutput();
}

void MainWindowReactions::txtTwotheta_KeyPress(int key)
{
    if (key == CarriageReturn)
        cmdConvert_Click();
}

// The flight path divides out unless exactly one side is time-of-flight.
void MainWindowReactions::txtTotalflightpath_Change()
{
    if (NeedsFlightPath(view_.SelectedUnit("fraUnitsIn"), view_.SelectedUnit("fraUnitsOut")))
        clearOutput();
}

void MainWindowReactions::txtTotalflightpath_KeyPress(int key)
{
    if (key == CarriageReturn)
        cmdConvert_Click();
}

// A result of one edition is stale once another is chosen.
void MainWindowReactions::cboConstants_Change()
{
    clearOutput();
}

void MainWindowReactions::lblInputValue_Click()
{
    view_.MoveFocus("txtInputVal");
}

void MainWindowReactions::lblTwotheta_Click()
{
    view_.MoveFocus("txtTwotheta");
}

void MainWindowReactions::Label2_Click()
{
    view_.MoveFocus("txtTotalflightpath");
}

void MainWindowReactions::fraUnitsIn_Click()
{
    view_.MoveFocus("optEnergyIn");
}

void MainWindowReactions::fraUnitsOut_Click()
{
    view_.MoveFocus("optEnergyOut");
}

// A click clears the output even on the option already selected.
void MainWindowReactions::fraUnitsIn_OptionClick()
{
    clearOutput();
}

void MainWindowReactions::fraUnitsOut_OptionClick()
{
    clearOutput();
}

void MainWindowReactions::Click(std::string_view control)
{
    const ControlDesign *design = FindControl(main_window::Window, control);
    if (design == nullptr)
        return;
    if (design->Kind == ControlKind::Option) {
        design->Frame == "fraUnitsIn" ? fraUnitsIn_OptionClick() : fraUnitsOut_OptionClick();
        return;
    }
    if (control == "cmdConvert")
        cmdConvert_Click();
    else if (control == "cmdQuit")
        cmdQuit_Click();
    else if (control == "cmdAbout")
        cmdAbout_Click();
    else if (control == "lblInputValue")
        lblInputValue_Click();
    else if (control == "lblTwotheta")
        lblTwotheta_Click();
    else if (control == "Label2")
        Label2_Click();
    else if (control == "fraUnitsIn")
        fraUnitsIn_Click();
    else if (control == "fraUnitsOut")
        fraUnitsOut_Click();
}

void MainWindowReactions::Change(std::string_view box)
{
    if (box == "txtInputVal")
        txtInputVal_Change();
    else if (box == "txtTwotheta")
        txtTwotheta_Change();
    else if (box == "txtTotalflightpath")
        txtTotalflightpath_Change();
    else if (box == "cboConstants")
        cboConstants_Change();
}

void MainWindowReactions::KeyPress(std::string_view control, int key)
{
    if (control == "txtInputVal")
        txtInputVal_KeyPress(key);
    else if (control == "txtTwotheta")
        txtTwotheta_KeyPress(key);
    else if (control == "txtTotalflightpath")
        txtTotalflightpath_KeyPress(key);
}

} // namespace pevrand
