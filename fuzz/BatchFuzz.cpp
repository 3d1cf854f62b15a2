// libFuzzer target: pevrand-convert's batch loop on arbitrary standard input.
//
// The bytes are read as
//   byte 0      how many bytes each read hands over: 1 + byte (1..256);
//   byte 1      FROM: byte mod 10, '0'..'9' being Energy..Tof;
//   byte 2      TO: byte mod 11, the same, and 10 (':') for `all`;
//   byte 3      the geometry: byte mod 5 picks the angle (none, "90", "0", "200", "1,5"),
//               byte / 5 mod 4 the flight path (none, "10", "0", "-1");
//   the rest    standard input.
// So the seed "\x40" "01" "\x06" "25\n" converts 25 meV to wavelength with both geometries.
//
// The batch must end as converted or failed, never broken; give the same output however the
// input is split into reads; give one line per input line (ten with `all`); and print for
// each line what the same text given as an argument prints, so that no line affects another.
#include "cli/BatchConvert.h"
#include "tests/cli/CliStreams.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace
{

using namespace pevrand;
using namespace pevrand::cli;

using test::TextSink;
using test::TextSource;

struct Run {
    BatchStatus Status;
    std::string Out, Errors;
};

Run FromInput(const ConvertArguments &arguments, std::string_view input, std::size_t chunk)
{
    TextSource source(std::string(input), chunk);
    TextSink out, errors;
    const BatchStatus status = ConvertLines(arguments, source, out, errors);
    return {status, out.text, errors.text};
}

Run FromArguments(const ConvertArguments &arguments)
{
    TextSink out, errors;
    const BatchStatus status = ConvertValues(arguments, out, errors);
    return {status, out.text, errors.text};
}

// The input's lines as a plain split finds them: at each "\n", without a "\r" before it, and
// no empty line after a final "\n".
std::vector<std::string_view> Lines(std::string_view input)
{
    std::vector<std::string_view> lines;
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        std::string_view line = input.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    return lines;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "BatchFuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    constexpr std::array<const char *, 5> Angles{"", "90", "0", "200", "1,5"};
    constexpr std::array<const char *, 4> Paths{"", "10", "0", "-1"};
    ConvertArguments arguments;
    arguments.From = static_cast<Quantity>(data[1] % 10);
    if (data[2] % 11 != 10)
        arguments.To = static_cast<Quantity>(data[2] % 11);
    arguments.TwoThetaText = Angles[data[3] % Angles.size()];
    arguments.FlightPathText = Paths[data[3] / Angles.size() % Paths.size()];
    const std::size_t chunk = 1u + data[0];
    const std::string_view input(reinterpret_cast<const char *>(data + 4), size - 4);

    const Run run = FromInput(arguments, input, chunk);
    if (run.Status == BatchStatus::Broken)
        Fail("a batch in memory broke");
    const Run whole = FromInput(arguments, input, std::size_t{1} << 20);
    if (whole.Out != run.Out || whole.Errors != run.Errors || whole.Status != run.Status)
        Fail("the output depends on how the input is split into reads");

    const std::vector<std::string_view> lines = Lines(input);
    const std::size_t perValue = arguments.To ? 1 : 10;
    if (static_cast<std::size_t>(std::count(run.Out.begin(), run.Out.end(), '\n')) !=
        lines.size() * perValue)
        Fail("not one output line per input line");

    // Lines this short are never cut, so each must print what it prints on its own.
    arguments.Values.assign(lines.begin(), lines.end());
    const Run alone = FromArguments(arguments);
    if (alone.Out != run.Out)
        Fail("a line prints other than the same text given alone");
    if (Replaced(alone.Errors, ": value ", ": line ") != run.Errors)
        Fail("a line's messages differ from the same text's given alone");
    if (alone.Status != run.Status)
        Fail("the status differs from the same texts' given alone");
    return 0;
}
