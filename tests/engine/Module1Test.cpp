#include "engine/Module1.h"
#include "engine/BitCast.h"
#include "engine/Conversion.h"
#include "engine/NumberText.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace pevrand
{
namespace
{

struct Rounding {
    const char *name;
    float value;
    std::int16_t digits;
    float expected; // bit for bit
};

class RoundSigFigsRow : public testing::TestWithParam<Rounding>
{
};

TEST_P(RoundSigFigsRow, GivesTheSingleOfTheLogarithmSteps)
{
    const Rounding &row = GetParam();
    EXPECT_EQ(RoundSigFigs(row.value, row.digits), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, RoundSigFigsRow,
    testing::Values(Rounding{"StartUpResult", 1.8087233f, 5, 1.8086999654769897f},
                    Rounding{"NegativeLogarithmFloorsDown", 0.24181458f, 5, 0.24181001f},
                    Rounding{"MantissaRoundsUpToTen", 9.99996f, 5, 10.0f},
                    Rounding{"SixFigureValueLandsOffTheDecimal", 123456.0f, 5, 123459.9921875f},
                    Rounding{"PowerOfTenStaysExact", 1000.0f, 5, 1000.0f},
                    Rounding{"SmallPowerOfTen", 0.001f, 5, 0.001f},
                    Rounding{"Hundred", 100.0f, 5, 100.0f},
                    Rounding{"SingleLogarithmRoundsTheOtherWay", 99999.5f, 5, 99999.0f},
                    Rounding{"FractionOfExactlyOne", 0.99999994f, 5, 1.0f},
                    Rounding{"OneFigure", 1.8087233f, 1, 2.0f},
                    Rounding{"TwoFigures", 1.8087233f, 2, 1.8f},
                    Rounding{"ThreeFigures", 1.8087233f, 3, 1.81f},
                    Rounding{"FourFigures", 1.8087233f, 4, 1.809f},
                    Rounding{"SixFigures", 1.8087233f, 6, 1.80872f},
                    Rounding{"SevenFigures", 1.8087233f, 7, 1.808723f},
                    Rounding{"ManyFiguresKeepTheValue", 1.8087233f, 30000, 1.8087233f}),
    RowName());

TEST(RoundSigFigs, ExactHalfOfTheMantissaGoesToTheEvenNeighbour)
{
    // 1.03125 has an exact binary mantissa; its decimal half at four places rounds to even.
    EXPECT_EQ(RoundSigFigs(1.03125f, 5), 1.0312f);
    EXPECT_EQ(RoundSigFigs(1.09375f, 5), 1.0938f);
}

TEST(RoundSigFigs, RefusesWhatHasNoLogarithmOrNoFigures)
{
    EXPECT_THROW(RoundSigFigs(0.0f, 5), ArithmeticError);
    EXPECT_THROW(RoundSigFigs(-1.0f, 5), ArithmeticError);
    EXPECT_THROW(RoundSigFigs(std::numeric_limits<float>::quiet_NaN(), 5), ArithmeticError);
    EXPECT_THROW(RoundSigFigs(std::numeric_limits<float>::infinity(), 5), ArithmeticError);
    EXPECT_THROW(RoundSigFigs(1.0f, 0), ArithmeticError);
    EXPECT_THROW(RoundSigFigs(1.0f, std::numeric_limits<std::int16_t>::min()), ArithmeticError);
}

struct Shown {
    const char *name;
    Result result;
    const char *text;
};

class ResultTextRow : public testing::TestWithParam<Shown>
{
};

TEST_P(ResultTextRow, ShowsFiveFiguresAtMost)
{
    EXPECT_EQ(ResultText(GetParam().result), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ResultTextRow,
    testing::Values(
        Shown{"NoResultIsEmpty", NoResult, ""}, Shown{"StartUp", 1.8087233f, "1.8087"},
        Shown{"Nu", 0.24181458f, "0.24181"}, Shown{"SixFigureValue", 123456.0f, "123460"},
        Shown{"BoundaryRoundsDown", 99999.5f, "99999"}, Shown{"MantissaOfTen", 9.99996f, "10"},
        Shown{"Thousand", 1000.0f, "1000"}, Shown{"Thousandth", 0.001f, "0.001"},
        Shown{"TrailingZerosDropped", 1.2789605f, "1.279"},
        Shown{"NoDigitsBeyondFive", 617.8197f, "617.82"},
        Shown{"FormerMarkerValueIsAResult", 999.999f, "1000"},
        Shown{"LargeInExponentForm", 1.23456e10f, "1.2346E+10"},
        Shown{"SmallInExponentForm", 2.5e-5f, "2.5E-05"},
        Shown{"LargestSingle", std::numeric_limits<float>::max(), "3.4028E+38"},
        Shown{"SmallestSubnormal", std::numeric_limits<float>::denorm_min(), "1.4013E-45"}),
    RowName());

TEST(ResultText, ZeroHasNoText)
{
    EXPECT_THROW(ResultText(0.0f), ArithmeticError);
}

// The shown value takes a shortcut past the text wherever it can: it must land on the single the
// text reads as, on every platform's libm, for any single and for the roundings it is made for.
TEST(ShownValue, IsTheSingleTheShownTextReadsAs)
{
    for (std::uint32_t bits = 0; bits < 0x7f800000; bits += 8191) {
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        const float rounded = value > 0.0f ? RoundSigFigs(value, ShownFigures) : value;
        for (const float shown : {value, rounded})
            ASSERT_EQ(ShownValue(shown), ReadSingle(ShownText(shown))) << ShownText(shown);
    }
}

// The shown result takes a shortcut past the logarithm wherever its bound on that logarithm's
// error allows: on every platform's libm it must land on the single of the long way.
TEST(ShownResult, IsTheShownValueOfTheRounding)
{
    for (std::uint32_t bits = 1; bits < 0x7f800000; bits += 4093) {
        const float value = BitCast<float>(bits);
        ASSERT_EQ(ShownResult(value), ShownValue(RoundSigFigs(value, ShownFigures))) << value;
    }
    EXPECT_THROW(ShownResult(0.0f), ArithmeticError);
}

} // namespace
} // namespace pevrand
