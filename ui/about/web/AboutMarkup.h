// The About window as HTML, written from its design table and the factors description at build
// time: a modal <dialog id="frmAbout"> with the program's icon, the labels its Form_Load fills
// (AboutDialog.h), the factors picture as SVG and OK. System Info has no place on a page, which
// can't start programs.
#pragma once

#include <string>
#include <string_view>

namespace pevrand::web
{

// The About dialog, with `iconUri` as its picture Image2.
std::string AboutDialogMarkup(std::string_view iconUri);

// The factors picture as an SVG element of the design's size: each line a <text> of pieces in
// their faces, the fraction's parts marked for the page's script, which centres them once the
// faces are known.
std::string FactorsSvg();

} // namespace pevrand::web
