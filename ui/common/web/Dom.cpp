#include "Dom.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

// Each string crosses as a pointer and a byte count (UTF-8). Besides emscripten's own, the one
// function the JavaScript bodies call, pevrandShowDialog, is the page's script's (page.js).

// clang-format off: the bodies are JavaScript.

// The value, within the box's limit (page.js), is encoded straight into the module's memory: at
// most three bytes a UTF-16 unit.
EM_JS(char *, pevrand_box_value, (const char *id, int idLength, int *length), {
    var value = pevrandKeepLimit(document.getElementById(UTF8ToString(id, idLength)));
    var copy = _malloc(value.length * 3 + 1);
    var bytes = HEAPU8.subarray(copy, copy + value.length * 3);
    HEAP32[length >> 2] = new TextEncoder().encodeInto(value, bytes).written;
    return copy;
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

EM_JS(int, pevrand_checked_index, (const char *frame, int length), {
    var frameElement = document.getElementById(UTF8ToString(frame, length));
    var option = frameElement.querySelector("input:checked");
    return option ? Number(option.dataset.i) : -1;
});

EM_JS(void, pevrand_check_option, (const char *id, int length),
      { document.getElementById(UTF8ToString(id, length)).checked = true; });

EM_JS(void, pevrand_focus_element, (const char *id, int length),
      { document.getElementById(UTF8ToString(id, length)).focus(); });

EM_JS(int, pevrand_dialog_open, (const char *id, int length),
      { return document.getElementById(UTF8ToString(id, length)).open ? 1 : 0; });

EM_JS(void, pevrand_show_dialog, (const char *id, int idLength, const char *focus, int length),
      { pevrandShowDialog(UTF8ToString(id, idLength), UTF8ToString(focus, length)); });

// clang-format on

namespace pevrand::web
{
namespace
{

int Size(std::string_view text)
{
    return static_cast<int>(text.size());
}

} // namespace

std::string BoxValue(std::string_view id)
{
    int length = 0;
    const std::unique_ptr<char, decltype(&std::free)> value(
        pevrand_box_value(id.data(), Size(id), &length), &std::free);
    return std::string(value.get(), static_cast<std::size_t>(length));
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

} // namespace pevrand::web
