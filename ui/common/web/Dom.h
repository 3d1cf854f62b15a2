// The page's elements as the WebAssembly side works them, each by its id: the few DOM steps a
// view needs, and nothing that decides anything. Only in the WebAssembly build.
#pragma once

#include <string>
#include <string_view>

namespace pevrand::web
{

// The value of the text box `id`, UTF-8.
std::string BoxValue(std::string_view id);
// Sets the value of the text box `id`; no input event fires.
void SetBoxValue(std::string_view id, std::string_view text);
// Makes the text box `id` read-only.
void MakeReadOnly(std::string_view id);
// Sets the text of the element `id`.
void SetElementText(std::string_view id, std::string_view text);

// Sets the text of the element `id` and shows it, or empties and hides it when `text` is empty.
void ShowText(std::string_view id, std::string_view text);

// The value of the chosen entry of the <select> `id`.
std::string ChoiceValue(std::string_view id);
// Chooses the entry valued `value` of the <select> `id`; no change event fires.
void SetChoiceValue(std::string_view id, std::string_view value);

// The data-i index of the checked option in the fieldset `frame`, or -1 when none is checked.
int CheckedIndex(std::string_view frame);
// Checks the option `id`, and shows it in its frame's picker; no click or change event fires.
void CheckOption(std::string_view id);

// Gives the keyboard focus to the element `id`, or, for an option that a narrow screen doesn't
// draw, to its frame's picker.
void FocusElement(std::string_view id);

// Whether the dialog `id` is open.
bool DialogOpen(std::string_view id);
// Opens the dialog `id` modally, its first button focused. When it closes the focus goes to
// `focusAfter`, or back to the element that had it when `focusAfter` is empty.
void ShowDialog(std::string_view id, std::string_view focusAfter);

// Shows `text` in the program's message box (ShowDialog on "msgbox"); a message that comes
// while one is open waits for it to close.
void ShowMessageBox(std::string_view text, std::string_view focusAfter);

// The fragment of the page's address with its "#" ("#v=4&from=nu&to=q", as the browser escapes
// it), or empty.
std::string AddressFragment();
// Makes `fragment` the fragment of the page's address in place, adding no history entry. Where
// the page may not change its address (in some sandboxed frames) the address stays.
void ReplaceAddressFragment(std::string_view fragment);

} // namespace pevrand::web
