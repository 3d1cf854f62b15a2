#include "cli/ConvertArguments.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pevrand::cli
{
namespace
{

struct NameRow {
    const char *name;
    const char *text;
    std::optional<Quantity> quantity;
};

class QuantityNameRow : public testing::TestWithParam<NameRow>
{
};

TEST_P(QuantityNameRow, NamesOneQuantityOrNone)
{
    EXPECT_EQ(QuantityFromName(GetParam().text), GetParam().quantity);
}

constexpr std::nullopt_t None = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Names, QuantityNameRow,
    testing::Values(
        NameRow{"Energy", "energy", Quantity::Energy},
        NameRow{"WavelengthAnyCase", "WaveLength", Quantity::Wavelength},
        NameRow{"Nu", "NU", Quantity::Nu}, NameRow{"Velocity", "velocity", Quantity::Velocity},
        NameRow{"Momentum", "Momentum", Quantity::Momentum},
        NameRow{"Temperature", "temperature", Quantity::Temperature},
        NameRow{"Invcm", "invcm", Quantity::Invcm}, NameRow{"UpperQ", "Q", Quantity::Q},
        NameRow{"Dspacing", "dspacing", Quantity::Dspacing}, NameRow{"Tof", "TOF", Quantity::Tof},
        NameRow{"MeVAnyCase", "MEV", Quantity::Energy}, NameRow{"THz", "thz", Quantity::Nu},
        NameRow{"MetresPerSecond", "M/S", Quantity::Velocity},
        NameRow{"Kelvin", "K", Quantity::Temperature}, NameRow{"LowerKIsNotKelvin", "k", None},
        NameRow{"CmMinus1", "cm-1", Quantity::Invcm}, NameRow{"Microseconds", "us", Quantity::Tof},
        NameRow{"MicroSignSeconds", "\xC2\xB5s", Quantity::Tof},
        NameRow{"GreekMuSeconds", "\xCE\xBCS", Quantity::Tof},
        NameRow{"Lambda", "lambda", Quantity::Wavelength},
        NameRow{"Frequency", "Frequency", Quantity::Nu},
        NameRow{"Wavevector", "wavevector", Quantity::Momentum},
        NameRow{"Wavenumber", "wavenumber", Quantity::Invcm},
        NameRow{"HyphenatedDspacing", "d-spacing", Quantity::Dspacing},
        NameRow{"TimeOfFlight", "Time-of-Flight", Quantity::Tof},
        NameRow{"AngstromIsTwoQuantities", "Angstrom", None},
        NameRow{"AngstromSignIsTwoQuantities", "\xC3\x85", None},
        NameRow{"InverseAngstromIsTwoQuantities", "1/A", None},
        NameRow{"AllIsNoQuantity", "all", None}, NameRow{"Empty", "", None},
        NameRow{"Prefix", "energ", None}, NameRow{"Longer", "energyx", None},
        NameRow{"TrailingBlank", "energy ", None}),
    RowName{});

TEST(QuantityName, EachNameReadsBackAsItsQuantity)
{
    for (int code = 0; code < 10; ++code) {
        const auto quantity = static_cast<Quantity>(code);
        EXPECT_EQ(QuantityFromName(QuantityName(quantity)), quantity) << QuantityName(quantity);
    }
}

// What a command line should give: the parsed arguments, or a usage error's reason.
struct ParseRow {
    const char *name;
    std::vector<std::string_view> args;
    ConvertArguments::Action action = ConvertArguments::Action::Convert;
    Quantity from = Quantity::Energy;
    std::optional<Quantity> to;
    std::string angle, path;
    std::vector<std::string_view> values;
    const char *error = nullptr;
};

class ParseArgumentsRow : public testing::TestWithParam<ParseRow>
{
};

TEST_P(ParseArgumentsRow, ReadsTheCommandLine)
{
    const ParseRow &row = GetParam();
    const auto parsed = ParseArguments(row.args);
    if (row.error) {
        ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
        EXPECT_EQ(std::get<UsageError>(parsed).Reason, row.error);
        return;
    }
    ASSERT_TRUE(std::holds_alternative<ConvertArguments>(parsed))
        << std::get<UsageError>(parsed).Reason;
    const ConvertArguments &arguments = std::get<ConvertArguments>(parsed);
    EXPECT_EQ(arguments.Do, row.action);
    if (row.action != ConvertArguments::Action::Convert)
        return;
    EXPECT_EQ(arguments.From, row.from);
    EXPECT_EQ(arguments.To, row.to);
    EXPECT_EQ(arguments.TwoThetaText, row.angle);
    EXPECT_EQ(arguments.FlightPathText, row.path);
    EXPECT_EQ(arguments.Values, row.values);
}

using Action = ConvertArguments::Action;
using Q = Quantity;

ParseRow Parsed(const char *name, std::vector<std::string_view> args, Quantity from,
                std::optional<Quantity> to, std::string angle = "", std::string path = "",
                std::vector<std::string_view> values = {})
{
    return {name,   std::move(args),  Action::Convert, from,
            to,     std::move(angle), std::move(path), std::move(values),
            nullptr};
}

ParseRow Asks(const char *name, std::vector<std::string_view> args, Action action)
{
    return {name, std::move(args), action, Q::Energy, std::nullopt, "", "", {}, nullptr};
}

ParseRow Refused(const char *name, std::vector<std::string_view> args, const char *reason)
{
    return {name, std::move(args), Action::Convert, Q::Energy, std::nullopt, "", "", {}, reason};
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ParseArgumentsRow,
    testing::Values(
        Parsed("PairOnlyReadsStandardInput", {"energy", "wavelength"}, Q::Energy, Q::Wavelength),
        Parsed("ValuesKeepTheirOrder", {"meV", "THz", "3", "1", "2"}, Q::Energy, Q::Nu, "", "",
               {"3", "1", "2"}),
        Parsed("AllIsEveryQuantity", {"tof", "ALL", "5"}, Q::Tof, std::nullopt, "", "", {"5"}),
        Parsed("OptionsWithSeparateValues", {"--angle", "90", "--path", "12.5", "dspacing", "tof"},
               Q::Dspacing, Q::Tof, "90", "12.5"),
        Parsed("OptionsWithEquals", {"--angle=45", "--path=1=2", "q", "all"}, Q::Q, std::nullopt,
               "45", "1=2"),
        Parsed("OptionsAfterTheValues", {"q", "energy", "2", "--angle=45", "--path="}, Q::Q,
               Q::Energy, "45", "", {"2"}),
        Parsed("OptionValueMayLookLikeAnOption", {"--angle", "-1", "q", "meV"}, Q::Q, Q::Energy,
               "-1"),
        Parsed("EmptyOptionValueIsAnEmptyBox", {"--angle", "", "q", "meV"}, Q::Q, Q::Energy, ""),
        Parsed("NegativeNumberIsAValue", {"energy", "nu", "-5", "-.5", "-"}, Q::Energy, Q::Nu, "",
               "", {"-5", "-.5", "-"}),
        Parsed("DoubleDashEndsOptions", {"energy", "nu", "--", "--angle", "-x"}, Q::Energy, Q::Nu,
               "", "", {"--angle", "-x"}),
        Parsed("EmptyValueIsKept", {"energy", "nu", ""}, Q::Energy, Q::Nu, "", "", {""}),
        Asks("HelpWinsOverErrorsAfterIt", {"--help", "bogus"}, Action::Help),
        Asks("VersionAfterAPair", {"energy", "nu", "--version"}, Action::Version),
        Refused("NoArguments", {}, "missing FROM and TO quantities"),
        Refused("OnlyFrom", {"energy"}, "missing TO quantity"),
        Refused("UnknownFrom", {"joules", "meV"}, "unknown quantity \"joules\" (see --help)"),
        Refused("ControlCharactersStayOnOneLine", {"a\nb\x7f", "meV"},
                "unknown quantity \"a\\x0ab\\x7f\" (see --help)"),
        Refused("AllAsFrom", {"All", "meV"}, "\"all\" can only be TO"),
        Refused("LowerK", {"meV", "k"},
                "\"k\" could be the wavevector or kelvin: use \"momentum\" or \"K\""),
        Refused("UnknownOption", {"-v", "meV", "nu"}, "unknown option \"-v\""),
        Refused("OptionPrefixIsNotTheOption", {"--angles=3", "meV", "nu"},
                "unknown option \"--angles=3\""),
        Refused("MissingAngleValue", {"meV", "q", "--angle"},
                "--angle needs a value: 2 theta in degrees"),
        Refused("MissingPathValue", {"meV", "tof", "--path"},
                "--path needs a value: the total flight path in metres"),
        Refused("OptionTwice", {"--path", "1", "--path=2", "meV", "tof"}, "--path given twice")),
    RowName{});

TEST(VersionText, NamesTheCommandAndTheProgramVersion)
{
    EXPECT_EQ(VersionText(), "pevrand-convert 2.1.0\n");
}

// Every quantity name, with its unit, is in the help, which starts with the usage.
TEST(HelpText, ListsEveryQuantityAfterTheUsage)
{
    const std::string_view help = HelpText();
    EXPECT_TRUE(help.starts_with(UsageText()));
    for (int code = 0; code < 10; ++code)
        EXPECT_NE(help.find("\n  " + std::string(QuantityName(static_cast<Quantity>(code))) + " "),
                  std::string_view::npos)
            << QuantityName(static_cast<Quantity>(code));
}

} // namespace
} // namespace pevrand::cli
