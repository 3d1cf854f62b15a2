#include "convert/ConvertCommand.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pevrand
{
namespace
{

using Q = Quantity;
using S = MessageSubject;
constexpr std::optional<MessageSubject> None = std::nullopt;

struct Case {
    const char *name;
    ConvertRequest request;
    const char *output;
    const char *message;
    std::optional<MessageSubject> subject;
};

class RunConvertRow : public testing::TestWithParam<Case>
{
};

std::string_view Text(const ConvertOutcome &outcome)
{
    return outcome.Message ? MessageOf(*outcome.Message).Text : "";
}

TEST_P(RunConvertRow, ShowsTheResultOrOneMessage)
{
    const Case &row = GetParam();
    const ConvertOutcome outcome = RunConvert(row.request);
    EXPECT_EQ(outcome.OutputText, row.output);
    EXPECT_EQ(Text(outcome), row.message);
    EXPECT_EQ(outcome.Message ? std::optional(MessageOf(*outcome.Message).Subject) : None,
              row.subject);
}

ConvertRequest Request(const char *input, Q in, Q out, const char *twoTheta = "",
                       const char *flightPath = "")
{
    return {input, twoTheta, flightPath, in, out};
}

constexpr const char *OutOfRange = "Value out of range for this conversion";
constexpr const char *AngleRange = "2 theta must be in the range 0 to 180 degrees";
constexpr const char *ZeroAngle = "2 theta must be greater than 0 for this conversion";
constexpr const char *Comma = "Use a period as the decimal point";

INSTANTIATE_TEST_SUITE_P(
    Results, RunConvertRow,
    testing::Values(
        Case{"StartUp", Request("25", Q::Energy, Q::Wavelength), "1.8087", "", None},
        Case{"TrailingLettersIgnored", Request("12abc", Q::Energy, Q::Energy), "12", "", None},
        Case{"TofBothSidesIgnoresFlightPath", Request("1000", Q::Tof, Q::Tof, "", "-3"), "1000", "",
             None},
        Case{"QToDspacingIgnoresAngle", Request("1", Q::Q, Q::Dspacing, "500"), "6.2832", "", None},
        Case{"DspacingToQIgnoresEmptyAngle", Request("2", Q::Dspacing, Q::Q), "3.1416", "", None},
        Case{"AngleOf180Accepted", Request("25", Q::Energy, Q::Q, "180"), "6.9476", "", None},
        Case{"BothGeometriesRead", Request("2", Q::Dspacing, Q::Tof, "90", "10"), "7150.8", "",
             None},
        Case{"FormerMarkerValueShown", Request("999.999", Q::Energy, Q::Energy), "1000", "", None},
        Case{"LeadingPeriod", Request(".5", Q::Energy, Q::Energy), "0.5", "", None}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Messages, RunConvertRow,
    testing::Values(
        Case{"EmptyInput", Request("", Q::Energy, Q::Wavelength), "", "No input value specified",
             S::Value},
        Case{"BlanksAreNotEmpty", Request("   ", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", S::Value},
        Case{"Letters", Request("abc", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", S::Value},
        Case{"Negative", Request("-5", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", S::Value},
        Case{"RoundsToZeroInSingle", Request("1e-50", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", S::Value},
        Case{"DecimalCommaInValue", Request("2,5", Q::Energy, Q::Wavelength), "", Comma, S::Value},
        Case{"DecimalCommaBeforeSign", Request("-2,5", Q::Energy, Q::Wavelength), "", Comma,
             S::Value},
        Case{"CommaThenBlankStillReadsTwo", Request("2, 5", Q::Energy, Q::Energy), "2", "", None},
        Case{"DecimalCommaInFlightPath", Request("1000", Q::Tof, Q::Energy, "", "0,5"), "", Comma,
             S::FlightPath},
        Case{"DecimalCommaInAngle", Request("25", Q::Energy, Q::Q, "1,000"), "", Comma, S::Angle},
        Case{"UnreadAngleIsNotJudged", Request("25", Q::Energy, Q::Energy, "2,5"), "25", "", None},
        Case{"ValueCheckedBeforeFlightPath", Request("0", Q::Tof, Q::Energy), "",
             "Non-positive values not allowed", S::Value},
        Case{"EmptyFlightPath", Request("1000", Q::Tof, Q::Energy), "",
             "Total flight path not specified", S::FlightPath},
        Case{"ZeroFlightPath", Request("1000", Q::Tof, Q::Energy, "", "0"), "",
             "Total flight path must be positive", S::FlightPath},
        Case{"FlightPathCheckedBeforeAngle", Request("2", Q::Dspacing, Q::Tof, "", ""), "",
             "Total flight path not specified", S::FlightPath},
        Case{"EmptyAngle", Request("25", Q::Energy, Q::Q), "", "Scattering angle not specified",
             S::Angle},
        Case{"AngleAbove180", Request("25", Q::Energy, Q::Q, "181"), "", AngleRange, S::Angle},
        Case{"NegativeAngle", Request("25", Q::Energy, Q::Q, "-1"), "", AngleRange, S::Angle},
        Case{"InfiniteAngle", Request("25", Q::Energy, Q::Q, "1e999"), "", AngleRange, S::Angle},
        Case{"ZeroAngleQOut", Request("25", Q::Energy, Q::Q, "0"), "", ZeroAngle, S::Angle},
        Case{"ZeroAngleDspacingIn", Request("2", Q::Dspacing, Q::Energy, "0"), "", ZeroAngle,
             S::Angle},
        Case{"UnreadableAngleReadsZero", Request("25", Q::Energy, Q::Dspacing, "abc"), "",
             ZeroAngle, S::Angle},
        Case{"AngleUnderflowsToZeroTheta", Request("25", Q::Energy, Q::Q, "1e-44"), "", ZeroAngle,
             S::Angle},
        Case{"SquareOverflowsAtTwoTo64", Request("18446744073709551616", Q::Energy, Q::Energy), "",
             OutOfRange, S::Value},
        Case{"SquareOverflowsBeforeGeometry", Request("1e20", Q::Energy, Q::Tof), "", OutOfRange,
             S::Value},
        Case{"BeyondSingleRange", Request("1e39", Q::Energy, Q::Energy), "", OutOfRange, S::Value},
        Case{"BeyondDoubleRange", Request("1e999", Q::Energy, Q::Energy), "", OutOfRange, S::Value},
        Case{"SquareUnderflowDividedBy", Request("1e-30", Q::Wavelength, Q::Energy), "", OutOfRange,
             S::Value},
        Case{"EnergyUnderflowDividedBy", Request("1e-45", Q::Invcm, Q::Tof, "", "10"), "",
             OutOfRange, S::Value},
        Case{"ZeroResultCannotBeRounded", Request("1e-45", Q::Invcm, Q::Temperature), "",
             OutOfRange, S::Value},
        Case{"OverflowingFlightPath", Request("1", Q::Energy, Q::Tof, "", "1e38"), "", OutOfRange,
             S::Value},
        Case{"InfiniteFlightPath", Request("1", Q::Tof, Q::Energy, "", "1e999"), "", OutOfRange,
             S::Value}),
    RowName());

// The CODATA editions on every build (Linux, Windows, WebAssembly): their five figures, their
// double range, and the classic checks and messages.
ConvertRequest Codata(const char *input, Q in, Q out, const char *twoTheta = "",
                      const char *flightPath = "")
{
    return {input, twoTheta, flightPath, in, out, Edition::Codata2022};
}

INSTANTIATE_TEST_SUITE_P(
    Codata, RunConvertRow,
    testing::Values(
        Case{"StartUpPairInCodata2022", Codata("25", Q::Energy, Q::Wavelength), "1.8089", "", None},
        Case{"BothGeometriesRead", Codata("2", Q::Dspacing, Q::Tof, "90", "10"), "7149.7", "",
             None},
        Case{"SquareWithinDoubleRange", Codata("1e20", Q::Energy, Q::Energy), "1E+20", "", None},
        Case{"SquareBeyondDoubleRange", Codata("1e200", Q::Energy, Q::Energy), "", OutOfRange,
             S::Value},
        Case{"ReadAsADoubleNotASingle", Codata("1e-50", Q::Energy, Q::Energy), "1E-50", "", None},
        Case{"AngleCheckedAsClassic", Codata("25", Q::Energy, Q::Q, "181"), "", AngleRange,
             S::Angle}),
    RowName());

TEST(RunConvert, MissingUnitsComeAfterEveryEntryCheck)
{
    const ConvertOutcome noInput = RunConvert({"25", "", "", std::nullopt, Q::Q});
    EXPECT_EQ(Text(noInput), "Scattering angle not specified");

    const ConvertOutcome noUnits = RunConvert({"25", "", "", std::nullopt, std::nullopt});
    EXPECT_EQ(Text(noUnits), "Input units not specified, or not yet available");

    const ConvertOutcome noOutput = RunConvert({"25", "", "", Q::Energy, std::nullopt});
    EXPECT_EQ(Text(noOutput), "Output units not specified, or not yet available");
    EXPECT_EQ(noOutput.OutputText, "");
}

// Callers decide on the kind: a geometry message stops a whole array, the others fail one value.
TEST(ConvertMessages, DecimalCommaTakesTheKindOfItsBox)
{
    EXPECT_EQ(MessageOf(MessageId::InputDecimalComma).Kind, MessageKind::Value);
    EXPECT_EQ(MessageOf(MessageId::PathDecimalComma).Kind, MessageKind::Geometry);
    EXPECT_EQ(MessageOf(MessageId::AngleDecimalComma).Kind, MessageKind::Geometry);
}

} // namespace
} // namespace pevrand
