#include "Dom.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <new>

// Each string crosses as a pointer and a byte count (UTF-8). Besides emscripten's own, the
// functions the JavaScript bodies call are the page's script's (page.js).

// clang-format off: the bodies are JavaScript.

// The value, within the box's limit (page.js).
EM_JS(char *, pevrand_box_value, (const char *id, int idLength, int *length), {
    return pevrandCopyIn(pevrandKeepLimit(document.getElementById(UTF8ToString(id, idLength))),
                         length);
});

EM_JS(void, pevrand_set_box_value, (const char *id, int idLength, const char *text, int length),
      { document.getElementById(UTF8ToString(id, idLength)).value = UTF8ToString(text, length); });

EM_JS(void, pevrand_make_read_only, (const char *id, int idLength),
      { document.getElementById(UTF8ToString(id, idLength)).readOnly = true; });

EM_JS(void, pevrand_set_element_text, (const char *id, int idLength, const char *text, int length),
      {
          document.getElementById(UTF8ToString(id, idLength)).textContent =
              UTF8ToString(text, length);
      });

EM_JS(void, pevrand_show_text, (const char *id, int idLength, const char *text, int length), {
    var element = document.getElementById(UTF8ToString(id, idLength));
    element.textContent = UTF8ToString(text, length);
    element.hidden = !length;
});

EM_JS(char *, pevrand_choice_value, (const char *id, int idLength, int *length),
      { return pevrandCopyIn(document.getElementById(UTF8ToString(id, idLength)).value, length); });

EM_JS(void, pevrand_set_choice_value, (const char *id, int idLength, const char *value, int length),
      { document.getElementById(UTF8ToString(id, idLength)).value = UTF8ToString(value, length); });

EM_JS(int, pevrand_checked_index, (const char *frame, int length), {
    var frameElement = document.getElementById(UTF8ToString(frame, length));
    var option = frameElement.querySelector("input:checked");
    return option ? Number(option.dataset.i) : -1;
});

EM_JS(void, pevrand_check_option, (const char *id, int length),
      { pevrandCheckOption(document.getElementById(UTF8ToString(id, length))); });

EM_JS(void, pevrand_focus_element, (const char *id, int length),
      { pevrandFocus(document.getElementById(UTF8ToString(id, length))); });

EM_JS(int, pevrand_dialog_open, (const char *id, int length),
      { return document.getElementById(UTF8ToString(id, length)).open ? 1 : 0; });

EM_JS(void, pevrand_show_dialog, (const char *id, int idLength, const char *focus, int length),
      { pevrandShowDialog(UTF8ToString(id, idLength), UTF8ToString(focus, length)); });

EM_JS(void, pevrand_show_message_box,
      (const char *text, int length, const char *focus, int focusLength),
      { pevrandShowMessage(UTF8ToString(text, length), UTF8ToString(focus, focusLength)); });

EM_JS(char *, pevrand_address_fragment, (int *length),
      { return pevrandCopyIn(location.hash, length); });

// A frame that may not change its address throws; the conversion stays on show all the same.
EM_JS(void, pevrand_replace_address_fragment, (const char *fragment, int length), {
    try {
        history.replaceState(history.state, "", UTF8ToString(fragment, length));
    } catch (error) {
    }
});

// clang-format on

namespace pevrand::web
{
namespace
{

int Size(std::string_view text)
{
    return static_cast<int>(text.size());
}

// The text that a JavaScript body copied into the module's memory, freed; null where the copy
// found no memory.
std::string CopiedText(char *copy, int length)
{
    if (copy == nullptr)
        throw std::bad_alloc();
    const std::unique_ptr<char, decltype(&std::free)> owned(copy, &std::free);
    return std::string(owned.get(), static_cast<std::size_t>(length));
}

} // namespace

std::string BoxValue(std::string_view id)
{
    int length = 0;
    char *copy = pevrand_box_value(id.data(), Size(id), &length);
    return CopiedText(copy, length);
}

void SetBoxValue(std::string_view id, std::string_view text)
{
    pevrand_set_box_value(id.data(), Size(id), text.data(), Size(text));
}

void MakeReadOnly(std::string_view id)
{
    pevrand_make_read_only(id.data(), Size(id));
}

void SetElementText(std::string_view id, std::string_view text)
{
    pevrand_set_element_text(id.data(), Size(id), text.data(), Size(text));
}

void ShowText(std::string_view id, std::string_view text)
{
    pevrand_show_text(id.data(), Size(id), text.data(), Size(text));
}

std::string ChoiceValue(std::string_view id)
{
    int length = 0;
    char *copy = pevrand_choice_value(id.data(), Size(id), &length);
    return CopiedText(copy, length);
}

void SetChoiceValue(std::string_view id, std::string_view value)
{
    pevrand_set_choice_value(id.data(), Size(id), value.data(), Size(value));
}

int CheckedIndex(std::string_view frame)
{
    return pevrand_checked_index(frame.data(), Size(frame));
}

void CheckOption(std::string_view id)
{
    pevrand_check_option(id.data(), Size(id));
}

void FocusElement(std::string_view id)
{
    pevrand_focus_element(id.data(), Size(id));
}

bool DialogOpen(std::string_view id)
{
    return pevrand_dialog_open(id.data(), Size(id)) != 0;
}

void ShowDialog(std::string_view id, std::string_view focusAfter)
{
    pevrand_show_dialog(id.data(), Size(id), focusAfter.data(), Size(focusAfter));
}

void ShowMessageBox(std::string_view text, std::string_view focusAfter)
{
    pevrand_show_message_box(text.data(), Size(text), focusAfter.data(), Size(focusAfter));
}

std::string AddressFragment()
{
    int length = 0;
    char *copy = pevrand_address_fragment(&length);
    return CopiedText(copy, length);
}

void ReplaceAddressFragment(std::string_view fragment)
{
    pevrand_replace_address_fragment(fragment.data(), Size(fragment));
}

} // namespace pevrand::web
