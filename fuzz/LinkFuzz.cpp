// libFuzzer target: ReadLink, which reads whatever address the page is opened with, on arbitrary
// fragments, and LinkFragment on what it reads.
//
// A link read must fill each box with well-formed UTF-8 that holds no control character and
// fits the box (BoxCharacters UTF-16 units), and the fragment written for it must read back as
// the same conversion: what the address shares is what is on show.
#include "ui/main/ConversionLink.h"
#include "ui/main/MainWindowDesign.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <tuple>

namespace
{

void Fail(const char *what)
{
    std::fprintf(stderr, "link fuzz: %s\n", what);
    std::abort();
}

// Whether `text` is what a box may hold: well-formed UTF-8, no C0, DEL or C1 control, at most
// BoxCharacters UTF-16 units.
bool BoxHolds(std::string_view text)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead < 0x20 || lead == 0x7F || (lead >= 0x80 && lead < 0xC2) || lead > 0xF4 ||
            i + length > text.size())
            return false;
        if (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0)
            return false;
        for (std::size_t j = 1; j < length; ++j)
            if ((static_cast<unsigned char>(text[i + j]) & 0xC0) != 0x80)
                return false;
        units += length == 4 ? 2 : 1;
        i += length;
    }
    return units <= pevrand::main_window::BoxCharacters;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view fragment(reinterpret_cast<const char *>(data), size);
    const auto read = pevrand::ReadLink(fragment);
    if (!read)
        return 0;
    if (!BoxHolds(read->InputText) || !BoxHolds(read->TwoThetaText) ||
        !BoxHolds(read->FlightPathText))
        Fail("a box holds what it can't");
    const auto again = pevrand::ReadLink(pevrand::LinkFragment(*read));
    const auto fields = [](const pevrand::ConvertRequest &r) {
        return std::tie(r.InputText, r.TwoThetaText, r.FlightPathText, r.Input, r.Output);
    };
    if (!again || fields(*again) != fields(*read))
        Fail("the written link reads back as another conversion");
    return 0;
}
