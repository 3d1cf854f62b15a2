// The About window on the page: a modal dialog, written into the page at build time
// (AboutMarkup.h), its texts set each time it opens as the desktop's Form_Load sets them.
#pragma once

namespace pevrand::web
{

// Opens the About dialog with its texts, or does nothing while it is open: there is never a
// second one. When OK closes it the focus goes back to where it was.
void OpenAboutDialog();

} // namespace pevrand::web
