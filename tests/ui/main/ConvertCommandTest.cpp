#include "ui/main/ConvertCommand.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pevrand
{
namespace
{

using Q = Quantity;
using F = FocusTarget;

struct Case {
    const char *name;
    ConvertRequest request;
    const char *output;
    const char *message;
    FocusTarget focus;
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
    EXPECT_EQ(outcome.Message ? MessageOf(*outcome.Message).Focus : F::Unchanged, row.focus);
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
        Case{"StartUp", Request("25", Q::Energy, Q::Wavelength), "1.8087", "", F::Unchanged},
        Case{"TrailingLettersIgnored", Request("12abc", Q::Energy, Q::Energy), "12", "",
             F::Unchanged},
        Case{"TofBothSidesIgnoresFlightPath", Request("1000", Q::Tof, Q::Tof, "", "-3"), "1000", "",
             F::Unchanged},
        Case{"QToDspacingIgnoresAngle", Request("1", Q::Q, Q::Dspacing, "500"), "6.2832", "",
             F::Unchanged},
        Case{"DspacingToQIgnoresEmptyAngle", Request("2", Q::Dspacing, Q::Q), "3.1416", "",
             F::Unchanged},
        Case{"AngleOf180Accepted", Request("25", Q::Energy, Q::Q, "180"), "6.9476", "",
             F::Unchanged},
        Case{"BothGeometriesRead", Request("2", Q::Dspacing, Q::Tof, "90", "10"), "7150.8", "",
             F::Unchanged},
        Case{"FormerMarkerValueShown", Request("999.999", Q::Energy, Q::Energy), "1000", "",
             F::Unchanged},
        Case{"LeadingPeriod", Request(".5", Q::Energy, Q::Energy), "0.5", "", F::Unchanged}),
    RowName());

INSTANTIATE_TEST_SUITE_P(
    Messages, RunConvertRow,
    testing::Values(
        Case{"EmptyInput", Request("", Q::Energy, Q::Wavelength), "", "No input value specified",
             F::InputVal},
        Case{"BlanksAreNotEmpty", Request("   ", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", F::Unchanged},
        Case{"Letters", Request("abc", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", F::Unchanged},
        Case{"Negative", Request("-5", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", F::Unchanged},
        Case{"RoundsToZeroInSingle", Request("1e-50", Q::Energy, Q::Wavelength), "",
             "Non-positive values not allowed", F::Unchanged},
        Case{"DecimalCommaInValue", Request("2,5", Q::Energy, Q::Wavelength), "", Comma,
             F::InputVal},
        Case{"DecimalCommaBeforeSign", Request("-2,5", Q::Energy, Q::Wavelength), "", Comma,
             F::InputVal},
        Case{"CommaThenBlankStillReadsTwo", Request("2, 5", Q::Energy, Q::Energy), "2", "",
             F::Unchanged},
        Case{"DecimalCommaInFlightPath", Request("1000", Q::Tof, Q::Energy, "", "0,5"), "", Comma,
             F::TotalFlightPath},
        Case{"DecimalCommaInAngle", Request("25", Q::Energy, Q::Q, "1,000"), "", Comma,
             F::TwoTheta},
        Case{"UnreadAngleIsNotJudged", Request("25", Q::Energy, Q::Energy, "2,5"), "25", "",
             F::Unchanged},
        Case{"ValueCheckedBeforeFlightPath", Request("0", Q::Tof, Q::Energy), "",
             "Non-positive values not allowed", F::Unchanged},
        Case{"EmptyFlightPath", Request("1000", Q::Tof, Q::Energy), "",
             "Total flight path not specified", F::TotalFlightPath},
        Case{"ZeroFlightPath", Request("1000", Q::Tof, Q::Energy, "", "0"), "",
             "Total flight path must be positive", F::TotalFlightPath},
        Case{"FlightPathCheckedBeforeAngle", Request("2", Q::Dspacing, Q::Tof, "", ""), "",
             "Total flight path not specified", F::TotalFlightPath},
        Case{"EmptyAngle", Request("25", Q::Energy, Q::Q), "", "Scattering angle not specified",
             F::TwoTheta},
        Case{"AngleAbove180", Request("25", Q::Energy, Q::Q, "181"), "", AngleRange, F::TwoTheta},
        Case{"NegativeAngle", Request("25", Q::Energy, Q::Q, "-1"), "", AngleRange, F::TwoTheta},
        Case{"InfiniteAngle", Request("25", Q::Energy, Q::Q, "1e999"), "", AngleRange, F::TwoTheta},
        Case{"ZeroAngleQOut", Request("25", Q::Energy, Q::Q, "0"), "", ZeroAngle, F::TwoTheta},
        Case{"ZeroAngleDspacingIn", Request("2", Q::Dspacing, Q::Energy, "0"), "", ZeroAngle,
             F::TwoTheta},
        Case{"UnreadableAngleReadsZero", Request("25", Q::Energy, Q::Dspacing, "abc"), "",
             ZeroAngle, F::TwoTheta},
        Case{"AngleUnderflowsToZeroTheta", Request("25", Q::Energy, Q::Q, "1e-44"), "", ZeroAngle,
             F::TwoTheta},
        Case{"SquareOverflowsAtTwoTo64", Request("18446744073709551616", Q::Energy, Q::Energy), "",
             OutOfRange, F::InputVal},
        Case{"SquareOverflowsBeforeGeometry", Request("1e20", Q::Energy, Q::Tof), "", OutOfRange,
             F::InputVal},
        Case{"BeyondSingleRange", Request("1e39", Q::Energy, Q::Energy), "", OutOfRange,
             F::InputVal},
        Case{"BeyondDoubleRange", Request("1e999", Q::Energy, Q::Energy), "", OutOfRange,
             F::InputVal},
        Case{"SquareUnderflowDividedBy", Request("1e-30", Q::Wavelength, Q::Energy), "", OutOfRange,
             F::InputVal},
        Case{"EnergyUnderflowDividedBy", Request("1e-45", Q::Invcm, Q::Tof, "", "10"), "",
             OutOfRange, F::InputVal},
        Case{"ZeroResultCannotBeRounded", Request("1e-45", Q::Invcm, Q::Temperature), "",
             OutOfRange, F::InputVal},
        Case{"OverflowingFlightPath", Request("1", Q::Energy, Q::Tof, "", "1e38"), "", OutOfRange,
             F::InputVal},
        Case{"InfiniteFlightPath", Request("1", Q::Tof, Q::Energy, "", "1e999"), "", OutOfRange,
             F::InputVal}),
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
