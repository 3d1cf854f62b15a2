// What the main window does, once for every front end: the start-up, the Convert command with
// its message and focus move, and the reactions that empty a stale result or move the focus.
//
// A front end implements MainWindowView over its controls, which it knows by their designed
// names ("txtInputVal", "optEnergyIn", ...), and forwards each event to MainWindowReactions:
// a click, a change of a box's text, or a key press with its character code. The reactions
// read the boxes and options through the view, call RunConvert, and tell the view what to
// show; no front end decides anything itself.
#pragma once

#include "convert/ConvertCommand.h"
#include "engine/Conversion.h"
#include "engine/Editions.h"

#include <optional>
#include <string>
#include <string_view>

namespace pevrand
{

// The main window as the reactions see it. Every name is a control of the main window's
// design table.
class MainWindowView
{
public:
    virtual ~MainWindowView() = default;

    // The text of entry box `box`.
    virtual std::string BoxText(std::string_view box) const = 0;
    // Sets the text of entry box `box`. The view reports the change like a user's edit or not,
    // as its toolkit does; either is right.
    virtual void SetBoxText(std::string_view box, std::string_view text) = 0;
    // Makes the output box read-only: focusable and selectable, but the user can't change it.
    virtual void LockOutput() = 0;

    // The quantity of the selected option of frame `frame`, or none while none is selected.
    virtual std::optional<Quantity> SelectedUnit(std::string_view frame) const = 0;
    // Selects option `option`, which deselects the others of its frame.
    virtual void SelectOption(std::string_view option) = 0;

    // Gives the keyboard focus to control `control`.
    virtual void MoveFocus(std::string_view control) = 0;
    // Shows `text` in the program's message box (one OK, no icon, the title "Pevrand"), modal to
    // the program. Once the user has pressed OK the focus goes to `focusAfter`, or back to where
    // it was when `focusAfter` is empty. A view whose message box doesn't block does the move
    // when the box is dismissed.
    virtual void ShowMessage(std::string_view text, std::string_view focusAfter) = 0;

    // Opens the About window, or brings the one already open to the front.
    virtual void OpenAbout() = 0;
    // Closes the main window (Quit).
    virtual void CloseWindow() = 0;

    // Told after each Convert that shows a result, but the start-up's, what was converted. A
    // window with an address keeps it there (ConversionLink.h), so that the address shares the
    // conversion on show; the others ignore it.
    virtual void ResultShown(const ConvertRequest &conversion) { static_cast<void>(conversion); }

    // The edition of the constants the window converts with: the classic one, unless the window
    // offers a choice of editions (the page's Constants choice, cboConstants).
    virtual Edition SelectedConstants() const { return Edition::Classic; }
    // Chooses `edition` where the window offers the choice (a link's edition); the others
    // ignore it.
    virtual void SelectConstants(Edition edition) { static_cast<void>(edition); }
    // Shows beside the result which edition gave it: the edition's title, or nothing (empty)
    // for the classic one and whenever the output box is emptied. A window that offers no
    // choice of editions ignores it.
    virtual void ShowResultEdition(std::string_view title) { static_cast<void>(title); }
};

// The main window's reactions, over a view that outlives them. Each keeps nothing between
// calls: what it needs it reads from the view at that moment.
class MainWindowReactions
{
public:
    explicit MainWindowReactions(MainWindowView &view) : view_(view) {}

    // The start-up: locks the output box, sets the value to 25, selects Energy (meV) in and
    // Wavelength out, and converts, so that the window opens with 1.8087 on show. With `link`
    // (the conversion that the page's address carries) it opens that instead, with its one
    // Convert.
    void Form_Load(const std::optional<ConvertRequest> &link = std::nullopt);

    // The Convert command: reads the boxes and options, converts, and writes the result, or
    // empties the output and shows a message with its focus move.
    void cmdConvert_Click();

    // Opens a conversion that a link carries: sets the three entry boxes to its texts, selects
    // its two units (a side without one stays as it is) and runs the Convert command.
    void OpenLink(const ConvertRequest &conversion);

    // The reactions by name, each as its dispatcher below describes it.
    void cmdQuit_Click();
    void cmdAbout_Click();
    void txtInputVal_Change();
    void txtInputVal_KeyPress(int key);
    void txtTwotheta_Change();
    void txtTwotheta_KeyPress(int key);
    void txtTotalflightpath_Change();
    void txtTotalflightpath_KeyPress(int key);
    void cboConstants_Change();
    void lblInputValue_Click();
    void lblTwotheta_Click();
    void Label2_Click();
    void fraUnitsIn_Click();
    void fraUnitsOut_Click();
    void fraUnitsIn_OptionClick();
    void fraUnitsOut_OptionClick();

    // A click on control `control`: a button presses, a label moves the focus to its box, a frame
    // to its Energy option, and an option (selected by the click, or already selected) empties
    // the output. Other controls have no click reaction.
    void Click(std::string_view control);
    // A change of the text of box `box`: empties a result that depends on it. The value always
    // matters, the angle only when exactly one side is Q or d-spacing, the flight path only when
    // exactly one side is time-of-flight, the edition (the page's cboConstants) always; the
    // output box itself has no reaction.
    void Change(std::string_view box);
    // A key with character code `key` pressed in control `control`, before the control handles
    // it: 13 (Enter, main or keypad) in an entry box converts; every other key does nothing.
    void KeyPress(std::string_view control, int key);

private:
    void clearOutput();

    MainWindowView &view_;
};

} // namespace pevrand
