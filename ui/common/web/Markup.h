// Pieces of the page's HTML and CSS written from the window descriptions: escaped text, captions
// with their access key, twips boxes as CSS pixels, colours and fonts as CSS. The page writer
// builds both windows' markup from these.
#pragma once

#include "ui/common/WindowDesign.h"

#include <string>
#include <string_view>

namespace pevrand::web
{

// `text` safe inside an HTML element or a double-quoted attribute: & < > " escaped.
std::string Escaped(std::string_view text);

// A caption as HTML: escaped, the "&" dropped and the access key letter after it underlined.
std::string CaptionMarkup(std::string_view caption);

// The access key of `caption` as an accesskey attribute (` accesskey="i"`), or empty.
std::string AccessKeyAttribute(std::string_view caption);

// `twips` in CSS pixels, 15 twips each, as Windows rounds them at 96 DPI.
std::string Px(int twips);

// A box as CSS: left, top, width and height in pixels.
std::string BoxStyle(const TwipsRect &box);

// A colour as CSS: #rrggbb.
std::string Colour(Rgb colour);

// `text`, darkened just enough that it reads on `background` with the contrast the web's
// accessibility guidelines ask of normal text (4.5 : 1); unchanged where it already does. The
// design's red on the main window's cyan gives 3.6 : 1, and #e10000 4.5 : 1.
Rgb ReadableColour(Rgb text, Rgb background);

// A face of the design as the CSS font shorthand: italic, size in points, then the face and its
// stand-ins as a font stack ending in the generic family. The empty family is the dialog font.
std::string Font(const FontDesign &face);

// `bytes` in base64, for a data: URI.
std::string Base64(std::string_view bytes);

} // namespace pevrand::web

namespace pevrand::web
{

// The inline style of `control` of `window`: its box (an option's inside its frame), and its
// font and text colour where the design sets them.
std::string ControlStyle(const WindowDesign &window, const ControlDesign &control);

// The title attribute of a control with a tooltip, or empty.
std::string TitleAttribute(const ControlDesign &control);

// A label, a push button or a line of `window` as one element; `attributes` are added to the
// element (for example its data-i index). A label whose design names a buddy is that control's
// <label for>; a button keeps its access key, and submits its form (a dialog's, which closes
// the dialog) when `inForm`.
std::string SimpleControl(const WindowDesign &window, const ControlDesign &control,
                          std::string_view attributes = {}, bool inForm = false);

// The page's style for every window: absolutely placed controls on a client area of the window's
// size, the etched frames, underlined access keys, and the scaling of a window to a narrow
// screen. The window's own colours and faces are written by each window's markup.
std::string CommonStyle();

// The program's message box: a modal <dialog id="msgbox"> with the program's title as its
// caption, the text in #msgtext (set when it opens) and one button, #msgok, which closes it.
std::string MessageBoxMarkup();

} // namespace pevrand::web
