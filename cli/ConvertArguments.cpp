#include "ConvertArguments.h"

#include "resources/ProgramIdentity.h"

#include "engine/Quantities.h"

#include <algorithm>
#include <array>

namespace pevrand::cli
{
namespace
{

bool IsOption(std::string_view argument)
{
    if (argument.size() < 2 || argument[0] != '-')
        return false;
    const char next = argument[1];
    return !((next >= '0' && next <= '9') || next == '.');
}

// `text` in double quotes, each control character written as \xNN, so that a reason stays on
// one line whatever was typed.
std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            constexpr char Hex[] = "0123456789abcdef";
            quoted += "\\x";
            quoted += Hex[byte >> 4];
            quoted += Hex[byte & 0xf];
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

std::string UnknownQuantity(std::string_view name)
{
    if (name == "k")
        return "\"k\" could be the wavevector or kelvin: use \"momentum\" or \"K\"";
    return "unknown quantity " + Quoted(name) + " (see --help)";
}

// What an argument says about the option --angle or --path: whether it is that option, given
// as "--angle VALUE" or "--angle=VALUE", its value, and how many arguments it takes up.
struct OptionValue {
    bool Matches = false;
    bool Missing = false;
    std::string_view Value;
    std::size_t Used = 1;
};

OptionValue ReadOption(std::string_view option, std::span<const std::string_view> rest)
{
    const std::string_view argument = rest[0];
    OptionValue result;
    if (argument == option) {
        result.Matches = true;
        if (rest.size() < 2) {
            result.Missing = true;
        } else {
            result.Value = rest[1];
            result.Used = 2;
        }
    } else if (argument.size() > option.size() && argument.starts_with(option) &&
               argument[option.size()] == '=') {
        result.Matches = true;
        result.Value = argument.substr(option.size() + 1);
    }
    return result;
}

} // namespace

std::variant<ConvertArguments, UsageError> ParseArguments(std::span<const std::string_view> args)
{
    ConvertArguments parsed;
    bool angleGiven = false, pathGiven = false, constantsGiven = false, optionsEnded = false;
    std::vector<std::string_view> positional;

    for (std::size_t i = 0; i < args.size();) {
        const std::string_view argument = args[i];
        if (optionsEnded || !IsOption(argument)) {
            positional.push_back(argument);
            ++i;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            ++i;
            continue;
        }
        if (argument == "--help") {
            parsed.Do = ConvertArguments::Action::Help;
            return parsed;
        }
        if (argument == "--version") {
            parsed.Do = ConvertArguments::Action::Version;
            return parsed;
        }
        if (argument == "--full") {
            parsed.Full = true;
            ++i;
            continue;
        }
        if (const OptionValue constants = ReadOption("--constants", args.subspan(i));
            constants.Matches) {
            if (constants.Missing)
                return UsageError{"--constants needs a value: " + EditionNames()};
            if (constantsGiven)
                return UsageError{"--constants given twice"};
            const std::optional<Edition> edition = EditionFromName(constants.Value);
            if (!edition)
                return UsageError{"unknown constants " + Quoted(constants.Value) + ": use " +
                                  EditionNames()};
            parsed.Constants = *edition;
            constantsGiven = true;
            i += constants.Used;
            continue;
        }
        struct Geometry {
            std::string_view Option, Meaning;
            bool &Given;
            std::string &Text;
        };
        bool matched = false;
        for (Geometry geometry :
             {Geometry{"--angle", "2 theta in degrees", angleGiven, parsed.TwoThetaText},
              Geometry{"--path", "the total flight path in metres", pathGiven,
                       parsed.FlightPathText}}) {
            const OptionValue option = ReadOption(geometry.Option, args.subspan(i));
            if (!option.Matches)
                continue;
            const std::string name(geometry.Option);
            if (option.Missing)
                return UsageError{name + " needs a value: " + std::string(geometry.Meaning)};
            if (geometry.Given)
                return UsageError{name + " given twice"};
            geometry.Given = true;
            geometry.Text = option.Value;
            i += option.Used;
            matched = true;
            break;
        }
        if (!matched)
            return UsageError{"unknown option " + Quoted(argument)};
    }

    if (positional.empty())
        return UsageError{"missing FROM and TO quantities"};
    if (positional.size() < 2)
        return UsageError{"missing TO quantity"};
    const std::optional<Quantity> from = QuantityFromName(positional[0]);
    if (!from) {
        if (SameIgnoringCase(positional[0], "all"))
            return UsageError{"\"all\" can only be TO"};
        return UsageError{UnknownQuantity(positional[0])};
    }
    parsed.From = *from;
    if (!SameIgnoringCase(positional[1], "all")) {
        parsed.To = QuantityFromName(positional[1]);
        if (!parsed.To)
            return UsageError{UnknownQuantity(positional[1])};
    }
    parsed.Values.assign(positional.begin() + 2, positional.end());
    return parsed;
}

std::string_view UsageText()
{
    return "usage: pevrand-convert [--angle DEG] [--path M] [--constants EDITION] [--full]\n"
           "                       FROM TO [VALUE...]\n"
           "       pevrand-convert --help | --version\n";
}

namespace
{

// How many columns `text` takes on a terminal: one a character of UTF-8.
std::size_t Columns(std::string_view text)
{
    std::size_t columns = 0;
    for (const char c : text)
        columns += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return columns;
}

// `text` and blanks up to `width` columns, and at least one blank.
std::string Padded(std::string_view text, std::size_t width)
{
    return std::string(text) + std::string(width > Columns(text) ? width - Columns(text) : 1, ' ');
}

std::string QuantityLines()
{
    std::size_t nameWidth = 0, aliasWidth = 0;
    for (const QuantityRow &row : QuantityTable) {
        nameWidth = std::max(nameWidth, Columns(row.Name) + 2);
        aliasWidth = std::max(aliasWidth, Columns(ListedAliases(row.Is)) + 2);
    }
    std::string lines;
    for (const QuantityRow &row : QuantityTable)
        lines += "  " + Padded(row.Name, nameWidth) + Padded(ListedAliases(row.Is), aliasWidth) +
                 std::string(row.Description) + "\n";
    return lines;
}

} // namespace

std::string HelpText()
{
    return std::string(UsageText()) +
           "\n"
           "Converts each VALUE from the quantity FROM to the quantity TO exactly as the\n"
           "Pevrand window does, and prints each result on a line of its own, rounded to five\n"
           "significant figures. Without VALUEs, converts each line of standard input. TO may\n"
           "be \"all\": then each value gives ten lines \"name<TAB>value\", one per quantity.\n"
           "A value that fails gives an empty line and its message on standard error.\n"
           "\n"
           "Options:\n"
           "  --angle DEG   the scattering angle 2 theta in degrees, for Q and d-spacing\n"
           "  --path M      the total flight path in metres, for time-of-flight\n"
           "  --constants EDITION\n"
           "                the physical constants: classic (the window's, the default),\n"
           "                codata2018 or codata2022 (CODATA values, in double precision)\n"
           "  --full        prints each result unrounded: the shortest text that reads back\n"
           "                as it (a single for classic, a double for CODATA)\n"
           "  --            ends the options: what follows are values, even \"-5\"\n"
           "  --help        prints this help\n"
           "  --version     prints the version\n"
           "\n"
           "Quantities, with their other names (matched without regard to case, except K):\n" +
           QuantityLines() +
           "Angstrom and inverse Angstrom name no quantity: each is the unit of two.\n"
           "The angle is needed only when exactly one side is q or dspacing, the flight path\n"
           "only when exactly one side is tof.\n"
           "\n"
           "Examples:\n"
           "  pevrand-convert meV wavelength 25 81.787\n"
           "  pevrand-convert --angle 90 --path 12.5 dspacing tof < d-spacings.txt\n"
           "  pevrand-convert --constants codata2022 --full meV wavelength 25\n"
           "\n"
           "Exit status: 0 when every value converted, 1 when any failed, 2 for a usage error.\n";
}

std::string_view VersionText()
{
    return "pevrand-convert " PEVRAND_STRINGIFY(PEVRAND_VERSION_MAJOR) "." PEVRAND_STRINGIFY(
        PEVRAND_VERSION_MINOR) "." PEVRAND_STRINGIFY(PEVRAND_VERSION_REVISION) "\n";
}

} // namespace pevrand::cli
