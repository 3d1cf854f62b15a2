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
// that take no focus first.
std::string MainWindowMarkup(std::string_view iconUri);

} // namespace pevrand::web
