#include "MainMarkup.h"

#include "engine/Editions.h"
#include "ui/common/web/Markup.h"
#include "ui/main/MainWindowDesign.h"

#include <algorithm>

namespace pevrand::web
{
namespace
{

const WindowDesign &Window = main_window::Window;

// The Constants choice's caption: its access key, O, is none of the window's.
constexpr std::string_view ConstantsCaption = "C&onstants:";
static_assert(AccessKeyControl(main_window::Window, AccessKey(ConstantsCaption)) == nullptr,
              "the Constants choice's access key is the window's own");

// Quit closes the window; a page can't close its own tab, so its place stays empty.
bool OnThePage(const ControlDesign &control)
{
    return control.Name != "cmdQuit";
}

std::string Index(const ControlDesign &control)
{
    return " data-i=\"" + std::to_string(ControlIndex(Window, control.Name)) + "\"";
}

// The access key of the label whose buddy is `box`, for the box itself.
std::string BuddyAccessKey(const ControlDesign &box)
{
    for (const ControlDesign &label : Window.Controls)
        if (label.Buddy == box.Name)
            return AccessKeyAttribute(label.Caption);
    return {};
}

// The note beside the result that names the edition of the constants that gave it; hidden, and
// empty, while the result is the classic one.
constexpr std::string_view EditionNote = "lblEdition";

// A box takes main_window::BoxCharacters: a pasted megabyte is cut there, as on the desktop, and
// never costs the browser a second of laying out.
std::string TextBox(const ControlDesign &box, bool first)
{
    // The output box is read-only from the start, as Form_Load leaves it; it announces each
    // new result, and is described by the edition's note, which sits over its right end.
    const bool output = box.Name == "txtOutputVal";
    return "<input type=\"text\" class=\"txt\" id=\"" + std::string(box.Name) + "\"" + Index(box) +
           TitleAttribute(box) + " style=\"" + ControlStyle(Window, box) + "\"" +
           BuddyAccessKey(box) + " maxlength=\"" + std::to_string(main_window::BoxCharacters) +
           "\" autocomplete=\"off\" autocapitalize=\"off\" autocorrect=\"off\" "
           "spellcheck=\"false\"" +
           (output ? "" : " enterkeyhint=\"go\"") +
           (output ? " readonly aria-live=\"polite\" aria-describedby=\"" +
                         std::string(EditionNote) + "\""
                   : "") +
           (first ? " autofocus" : "") + ">" +
           (output ? "<div class=\"note\" id=\"" + std::string(EditionNote) + "\" style=\"" +
                         BoxStyle(ClientBox(Window, box)) + "\" aria-live=\"polite\" hidden></div>"
                   : "");
}

// An option: a row as wide as its designed box, any click in which selects it.
std::string Option(const ControlDesign &option)
{
    return "<label class=\"opt\" for=\"" + std::string(option.Name) + "\"" +
           TitleAttribute(option) + " style=\"" + ControlStyle(Window, option) +
           "\"><input type=\"radio\" name=\"" + std::string(option.Frame) + "\" id=\"" +
           std::string(option.Name) + "\"" + Index(option) + AccessKeyAttribute(option.Caption) +
           ">" + CaptionMarkup(option.Caption) + "</label>";
}

// The id of the picker of frame `frame`: cboUnitsIn for fraUnitsIn.
std::string PickerId(std::string_view frame)
{
    return "cbo" + std::string(frame.substr(3));
}

// The picker that stands for a frame's options on a narrow screen: the phone's own list, one
// entry per option, named by the option's id. The options stay what holds the choice; the
// page's script checks the option that the picker names and clicks it.
std::string Picker(const ControlDesign &frame)
{
    const std::string name(frame.Name);
    std::string markup = "<select class=\"picker\" id=\"" + PickerId(frame.Name) +
                         "\" aria-labelledby=\"" + name + "Caption\"" + TitleAttribute(frame) +
                         " autocomplete=\"off\">";
    for (const ControlDesign *option : FrameOptions(Window, frame.Name))
        markup += "<option value=\"" + std::string(option->Name) + "\">" +
                  Escaped(ShownCaption(option->Caption)) + "</option>";
    return markup + "</select>";
}

std::string Frame(const ControlDesign &frame)
{
    std::string markup = "<fieldset class=\"fra\" id=\"" + std::string(frame.Name) + "\"" +
                         Index(frame) + TitleAttribute(frame) + " style=\"" +
                         ControlStyle(Window, frame) + "\"><legend id=\"" +
                         std::string(frame.Name) + "Caption\">" + CaptionMarkup(frame.Caption) +
                         "</legend><div class=\"edge\"></div>";
    for (const ControlDesign *option : FrameOptions(Window, frame.Name))
        markup += Option(*option);
    return markup + Picker(frame) + "</fieldset>";
}

std::string Control(const ControlDesign &control, bool first)
{
    switch (control.Kind) {
    case ControlKind::TextBox:
        return TextBox(control, first);
    case ControlKind::Frame:
        return Frame(control);
    default:
        return SimpleControl(Window, control, Index(control));
    }
}

} // namespace

std::string MainWindowMarkup(std::string_view iconUri)
{
    const std::vector<std::string_view> stops = TabStops(Window);
    const auto isStop = [&](std::string_view name) {
        return std::find(stops.begin(), stops.end(), name) != stops.end();
    };
    // Controls that take no focus and name no box: the headings, the line, the author.
    std::string controls;
    for (const ControlDesign &control : Window.Controls)
        if (control.Kind != ControlKind::Option && !isStop(control.Name) && control.Buddy.empty() &&
            control.Kind != ControlKind::Frame)
            controls += SimpleControl(Window, control, Index(control));
    bool first = true;
    for (const std::string_view stop : stops) {
        const ControlDesign &control = *FindControl(Window, stop);
        if (!OnThePage(control))
            continue;
        for (const ControlDesign &label : Window.Controls)
            if (label.Buddy == stop)
                controls += SimpleControl(Window, label, Index(label));
        controls += Control(control, first);
        first = false;
    }

    // The window: a one-pixel border and a caption bar 23 pixels high around the client area.
    const int width = TwipsToPixels(Window.ClientWidth) + 2,
              height = TwipsToPixels(Window.ClientHeight) + 25;
    return "<div class=\"fit touch\" data-w=\"" + std::to_string(width) +
           "\" style=\"--w:" + std::to_string(width) + "px;--h:" + std::to_string(height) +
           "px\"><div class=\"window\" id=\"frmPevrand\"><h1 class=\"caption\"><img src=\"" +
           std::string(iconUri) + "\" alt=\"\">" + Escaped(Window.Caption) +
           "</h1><div class=\"client\" style=\"width:" + Px(Window.ClientWidth) +
           ";height:" + Px(Window.ClientHeight) + ";background:" + Colour(*Window.Background) +
           ";font:" + Font(DialogFace) + "\">" + controls + "</div></div></div>";
}

std::string ConstantsMarkup()
{
    std::string options;
    for (const EditionRow &edition : EditionTable)
        options += "<option value=\"" + std::string(edition.Name) + "\"" +
                   (edition.Is == Edition::Classic ? " selected" : "") + ">" +
                   Escaped(edition.Title) + "</option>";
    // Off: a reload or the Back button opens the classic edition, as every start does, unless
    // the address names another.
    return "<div class=\"bar\" id=\"constantsbar\"><label for=\"cboConstants\">" +
           CaptionMarkup(ConstantsCaption) +
           "</label><select id=\"cboConstants\" title=\"the physical constants the conversion "
           "uses\"" +
           AccessKeyAttribute(ConstantsCaption) + " autocomplete=\"off\">" + options +
           "</select></div>";
}

std::string MainWindowStyle()
{
    // Below the width at which the page would otherwise scale the window down (page.js).
    const int width = TwipsToPixels(Window.ClientWidth) + 2;
    // The pickers show on a narrow screen only; the edition's note sits inside the output
    // box's right end, over no text of a result (at most ten characters).
    return R"(.picker{display:none}
.note{display:flex;align-items:center;justify-content:flex-end;padding:0 5px;color:#505050;
 white-space:nowrap;pointer-events:none}
.note[hidden]{display:none}
.bar select{font:inherit;min-height:28px}
)" + std::string("@media (max-width:") +
           std::to_string(width + 7) + "px){" + R"(
main{padding:4px 0}
.touch{width:auto;height:auto;align-self:stretch;margin:0 4px}
.touch>.window{width:auto;height:auto;transform:none}
.touch .client{width:auto!important;height:auto!important;display:grid;
 grid-template-columns:minmax(0,2fr) minmax(0,3fr);gap:8px;align-items:center;padding:8px;
 font-size:15px!important}
.touch .client>*,.touch .fra>*{position:static;width:auto!important;height:auto!important;order:2}
.touch #lblInput{order:1}
.touch #Line1,.touch #lblOutput{order:3}
.touch #fraUnitsOut,.touch #fraUnitsOut~*{order:4}
.touch #lblAuthor{order:5}
.touch #lblInput,.touch #lblOutput,.touch .line,.touch .fra,.touch #cmdConvert,.touch #lblAuthor{grid-column:1/-1}
.touch .fra{position:relative;left:0!important;top:0!important;padding:0}
.touch .fra>.edge,.touch .opt{display:none}
.touch .fra>legend{float:left;width:calc((100% - 8px)*.4)!important;padding:0;line-height:36px}
.touch .picker{display:block;float:right;width:calc((100% - 8px)*.6)!important;
 height:36px!important;padding:0 3px;font:inherit;font-size:16px;color:#000;background:#fff;
 border:1px solid #767676;border-radius:0}
.touch #lblEdition{grid-column:2;margin-top:-4px;padding:0 4px}
.touch .line{height:1px!important}
.touch .txt{height:36px!important;font-size:16px}
.touch .cmd{min-height:36px;padding:0 16px}
.touch #cmdAbout{justify-self:start}
.bar select{min-height:36px;font-size:16px}
})";
}

} // namespace pevrand::web
