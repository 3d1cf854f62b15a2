// The main window as HTML, written from its design table at build time: every control but Quit
// (a page can't close its own tab) at its designed place, with its caption, tooltip, access key
// and colours. Each control's element has the control's name as its id and its index in the
// table as data-i, by which the page's script forwards its events to the reactions.
#pragma once

#include <string>
#include <string_view>

namespace pevrand::web
{

// The main window: its caption bar with `iconUri` and the window's caption, then its client
// area. The controls follow each other in the Tab order (each option group one stop, its options
// in the table's order, which the arrow keys follow), a label just before its box, the controls
// that take no focus first. Each frame also holds its picker (cboUnitsIn, cboUnitsOut), a
// <select> of its options for narrow screens, and the output box the note lblEdition, which
// names the edition of the constants that gave a result other than a classic one.
std::string MainWindowMarkup(std::string_view iconUri);

// The page's Constants choice, below the window: the labelled <select id="cboConstants"> of the
// editions, by their titles, each valued by its name, the classic one selected.
std::string ConstantsMarkup();

// The main window's style: the pickers hidden and the edition's note over the output box's
// right end; and its touch layout, for screens narrower than the window: the same controls in
// the same order, one column of rows as wide as the screen, each unit group its picker in place
// of its ten options, each control at least 24 x 24 CSS pixels (WCAG 2.2, 2.5.8), the window's
// faces and colours kept. From the window's width up, the window is drawn as designed.
std::string MainWindowStyle();

} // namespace pevrand::web
