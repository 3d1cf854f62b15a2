// The main window on the page: MainWindowView over the page's elements, and the entry points by
// which the page's script forwards the DOM's events to MainWindowReactions. The module runs
// Form_Load as soon as it is ready, with the conversion that the page's address carries.
// Every decision is the reactions' and the link's; this file only carries names and texts
// between them and the page.
#include "ui/about/web/AboutDialog.h"
#include "ui/common/web/Dom.h"
#include "ui/main/ConversionLink.h"
#include "ui/main/MainWindowDesign.h"
#include "ui/main/MainWindowReactions.h"

#include <emscripten.h>

namespace pevrand::web
{
namespace
{

class PageMainWindow final : public MainWindowView
{
public:
    std::string BoxText(std::string_view box) const override { return BoxValue(box); }
    void SetBoxText(std::string_view box, std::string_view text) override
    {
        SetBoxValue(box, text);
    }
    void LockOutput() override { MakeReadOnly("txtOutputVal"); }

    std::optional<Quantity> SelectedUnit(std::string_view frame) const override
    {
        const int index = CheckedIndex(frame);
        if (index < 0 || static_cast<std::size_t>(index) >= main_window::Window.Controls.size())
            return std::nullopt;
        return main_window::Window.Controls[static_cast<std::size_t>(index)].Unit;
    }
    void SelectOption(std::string_view option) override { CheckOption(option); }

    void MoveFocus(std::string_view control) override { FocusElement(control); }
    // The message box doesn't block: the focus moves when OK closes it.
    void ShowMessage(std::string_view text, std::string_view focusAfter) override
    {
        ShowMessageBox(text, focusAfter);
    }

    void OpenAbout() override { OpenAboutDialog(); }
    // A page can't close its own tab, and has no Quit button that would ask it to.
    void CloseWindow() override {}

    // The address shares the conversion on show, its edition with it.
    void ResultShown(const ConvertRequest &conversion) override
    {
        ReplaceAddressFragment(LinkFragment(conversion));
    }

    // The Constants choice's entries are valued by the editions' names.
    Edition SelectedConstants() const override
    {
        return EditionFromName(ChoiceValue("cboConstants")).value_or(Edition::Classic);
    }
    void SelectConstants(Edition edition) override
    {
        SetChoiceValue("cboConstants", RowOf(edition).Name);
    }
    void ShowResultEdition(std::string_view title) override { ShowText("lblEdition", title); }
};

MainWindowReactions &Reactions()
{
    static PageMainWindow view;
    static MainWindowReactions reactions(view);
    return reactions;
}

// The name of the main window's control at `index` of its table, or empty.
std::string_view ControlName(int index)
{
    const auto &controls = main_window::Window.Controls;
    return index >= 0 && static_cast<std::size_t>(index) < controls.size()
               ? controls[static_cast<std::size_t>(index)].Name
               : std::string_view();
}

} // namespace
} // namespace pevrand::web

// The page's events, each with the index of its control in the main window's table (the
// element's data-i).
extern "C" {

EMSCRIPTEN_KEEPALIVE void pevrand_click(int control)
{
    pevrand::web::Reactions().Click(pevrand::web::ControlName(control));
}

EMSCRIPTEN_KEEPALIVE void pevrand_change(int control)
{
    pevrand::web::Reactions().Change(pevrand::web::ControlName(control));
}

// The Constants choice, which the window's table doesn't hold: another edition chosen.
EMSCRIPTEN_KEEPALIVE void pevrand_constants_change()
{
    pevrand::web::Reactions().Change("cboConstants");
}

EMSCRIPTEN_KEEPALIVE void pevrand_key_press(int control, int key)
{
    pevrand::web::Reactions().KeyPress(pevrand::web::ControlName(control), key);
}

// The page's address names a conversion (on opening, or a fragment changed by hand): open it,
// unless it is no link.
EMSCRIPTEN_KEEPALIVE void pevrand_open_link()
{
    if (const auto link = pevrand::ReadLink(pevrand::web::AddressFragment()))
        pevrand::web::Reactions().OpenLink(*link);
}

} // extern "C"

int main()
{
    pevrand::web::Reactions().Form_Load(pevrand::ReadLink(pevrand::web::AddressFragment()));
    return 0;
}
