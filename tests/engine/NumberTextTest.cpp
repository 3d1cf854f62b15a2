#include "engine/NumberText.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace pevrand
{
namespace
{

struct CommaRow {
    const char *text;
    bool comma;
};

// A decimal comma is a comma and a digit right after the leading number, and nothing else.
TEST(HasDecimalComma, OnlyRightAfterTheLeadingNumber)
{
    for (const CommaRow row : {CommaRow{"2,5", true},
                               {"1,000", true},
                               {"0,25e3", true},
                               {" -2.,5", true},
                               {"2, 5", false},
                               {"2,", false},
                               {",5", false},
                               {"abc,5", false},
                               {"2e,5", false},
                               {"2.5", false},
                               {"", false}})
        EXPECT_EQ(HasDecimalComma(row.text), row.comma) << '"' << row.text << '"';
}

struct Reading {
    const char *name;
    const char *text;
    double expected;
};

class ReadNumberRow : public testing::TestWithParam<Reading>
{
};

TEST_P(ReadNumberRow, ReadsTheLeadingNumber)
{
    const Reading &row = GetParam();
    const double value = ReadNumber(row.text);
    EXPECT_EQ(value, row.expected);
    EXPECT_EQ(std::signbit(value), std::signbit(row.expected));
}

constexpr double Infinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumberRow,
    testing::Values(
        Reading{"Integer", "25", 25}, Reading{"TrailingLetters", "12abc", 12},
        Reading{"ExponentThenUnit", "1.5e3 m", 1500}, Reading{"UpperCaseExponent", "2E-2", 0.02},
        Reading{"Letters", "abc", 0}, Reading{"LoneMinus", "-", 0}, Reading{"LonePeriod", ".", 0},
        Reading{"CommaEndsTheNumber", "2,5", 2}, Reading{"LeadingPeriod", ".5", 0.5},
        Reading{"TrailingPeriod", "5.", 5}, Reading{"SignedLeadingPeriod", "-.25", -0.25},
        Reading{"PlusSign", "+3", 3}, Reading{"NegativeZero", "-0", -0.0},
        Reading{"IncompleteExponent", "1e", 1}, Reading{"IncompleteSignedExponent", "1e+", 1},
        Reading{"SpacesAndTabsSkipped", " \t 7", 7}, Reading{"BlanksOnly", "   ", 0},
        Reading{"Empty", "", 0}, Reading{"NewlineIsNotABlank", "\n7", 0},
        Reading{"BlankInsideEndsTheNumber", "1 2", 1}, Reading{"SpaceBeforeExponent", "1 e5", 1},
        Reading{"HexPrefix", "0x10", 0}, Reading{"Infinity", "inf", 0},
        Reading{"NotANumber", "nan", 0}, Reading{"AmpersandHex", "&h10", 0},
        Reading{"BeyondDouble", "1e400", Infinity},
        Reading{"NegativeBeyondDouble", "-1e400", -Infinity},
        Reading{"ManyDigitsBeyondDouble", "0.000001e315", Infinity},
        Reading{"BelowDouble", "1e-400", 0},
        Reading{"HugeExponentDigits", "1e99999999999999999999", Infinity},
        Reading{"ZeroWithHugeExponent", "0e99999", 0},
        // Correctly rounded in every build, whichever reader the library has: an
        // exact tie between 1 and the next double goes to even, a digit more up.
        Reading{"TieToEven", "1.00000000000000011102230246251565404236316680908203125", 1.0},
        Reading{"JustAboveTie", "1.000000000000000111022302462515654042363166809082031250001",
                1.0000000000000002}),
    RowName());

struct Writing {
    const char *name;
    float value;
    int digits;
    const char *text;
};

class SingleTextRow : public testing::TestWithParam<Writing>
{
};

TEST_P(SingleTextRow, WritesTheRoundedFigures)
{
    EXPECT_EQ(SingleText(GetParam().value, GetParam().digits), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SingleTextRow,
    testing::Values(Writing{"TrailingZerosDropped", 1.2790000438690186f, 7, "1.279"},
                    Writing{"NotTheShortestRoundTrip", 123459.9921875f, 7, "123460"},
                    Writing{"SevenFigures", 1.8087233f, 7, "1.808723"},
                    Writing{"Integer", 1000.0f, 7, "1000"},
                    Writing{"LargestPositional", 1234567.0f, 7, "1234567"},
                    Writing{"FirstExponentForm", 12345678.0f, 7, "1.234568E+07"},
                    Writing{"SmallestPositional", 0.0001f, 7, "0.0001"},
                    Writing{"SmallExponentForm", 2.5e-5f, 7, "2.5E-05"},
                    Writing{"LargeExponentForm", 1.23456e10f, 5, "1.2346E+10"},
                    Writing{"RoundingCarriesIntoNewFigure", 9.99996f, 5, "10"},
                    Writing{"RoundingCarriesIntoExponentForm", 9999996.0f, 5, "1E+07"},
                    Writing{"TwoDigitExponent", 3.4028235e38f, 5, "3.4028E+38"},
                    Writing{"Negative", -1.5f, 7, "-1.5"}, Writing{"Zero", 0.0f, 7, "0"}),
    RowName());

struct ExtentRow {
    const char *name;
    std::string_view text;
    std::size_t extent;
};

class ReadingExtentRow : public testing::TestWithParam<ExtentRow>
{
};

// The reading never looks past the extent: any tail after it leaves all three answers alone.
TEST_P(ReadingExtentRow, CoversAllThatTheReadingLooksAt)
{
    const ExtentRow &row = GetParam();
    EXPECT_EQ(ReadingExtent(row.text), row.extent);
    if (row.extent >= row.text.size())
        return;
    const std::string_view kept = row.text.substr(0, row.extent);
    for (const std::string tail : {"", "5", ",5", "e5", "e+5", "0.5"}) {
        const std::string changed = std::string(kept) + tail;
        EXPECT_EQ(ReadNumber(changed), ReadNumber(row.text)) << tail;
        EXPECT_EQ(HasDecimalComma(changed), HasDecimalComma(row.text)) << tail;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadingExtentRow,
    testing::Values(ExtentRow{"NumberThenLetters", "25abcdef", 5},
                    ExtentRow{"NumberThenComma", "2,5xyz", 4},
                    ExtentRow{"ExponentWithoutDigits", "1e+xyzw", 4},
                    ExtentRow{"FullExponent", "1.5e3 m and more", 8},
                    ExtentRow{"SignAndBlanks", " \t-7zzzz", 7}, ExtentRow{"NoNumber", "abcdef", 2},
                    ExtentRow{"LonePeriod", ".xyzw", 2}, ExtentRow{"SignThenNoNumber", "-abcd", 3},
                    ExtentRow{"RunsToTheEnd", "123", 3}, ExtentRow{"BlanksToTheEnd", "   ", 3},
                    ExtentRow{"Empty", "", 0}),
    RowName());

// A Qt program sets the user's locale at start-up; the period must stay the separator.
TEST(NumberText, IgnoresTheLocale)
{
    const char *old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    for (const char *name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"}) {
        if (!std::setlocale(LC_ALL, name))
            continue;
        EXPECT_EQ(ReadNumber("2.5"), 2.5) << name;
        EXPECT_EQ(ReadNumber("2,5"), 2.0) << name;
        EXPECT_EQ(SingleText(2.5f), "2.5") << name;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace pevrand
