#include "ui/main/ConversionLink.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

namespace pevrand
{
namespace
{

using Q = Quantity;

// What a box or an option of the window takes from a request.
auto Fields(const ConvertRequest &request)
{
    return std::tie(request.InputText, request.TwoThetaText, request.FlightPathText, request.Input,
                    request.Output, request.Constants);
}

struct ReadRow : NamedRow {
    std::string fragment;
    std::optional<ConvertRequest> read; // empty: the link is ignored
};

using ReadingALink = testing::TestWithParam<ReadRow>;

TEST_P(ReadingALink, GivesTheBoxesAndUnitsOrNothing)
{
    const ReadRow &row = GetParam();
    const std::optional<ConvertRequest> read = ReadLink(row.fragment);
    ASSERT_EQ(read.has_value(), row.read.has_value());
    if (read) {
        EXPECT_EQ(Fields(*read), Fields(*row.read));
    }
}

ConvertRequest Boxes(std::string value, Q from, Q to, std::string angle = "", std::string path = "")
{
    return {std::move(value), std::move(angle), std::move(path), from, to};
}

const std::string Cut = std::string(32766, '7');

INSTANTIATE_TEST_SUITE_P(
    Fragments, ReadingALink,
    testing::Values(
        ReadRow{{"AnyOrderWithGeometry"},
                "#to=nu&path=12.5&from=wavelength&angle=75&v=4",
                Boxes("4", Q::Wavelength, Q::Nu, "75", "12.5")},
        ReadRow{{"EscapesInNamesAndTexts"},
                "#%76=1.5e3%20m%26x&from=Time-of-Flight&to=%CE%BCs",
                Boxes("1.5e3 m&x", Q::Tof, Q::Tof)},
        ReadRow{{"PlusStaysAPlus"},
                "#v=1E+05&from=meV&to=K",
                Boxes("1E+05", Q::Energy, Q::Temperature)},
        ReadRow{{"BrokenEscapeStays"}, "#v=%4%zz%&from=nu&to=nu", Boxes("%4%zz%", Q::Nu, Q::Nu)},
        ReadRow{{"FirstOfARepeatedField"},
                "#v=4&from=tof&v=5&from=q&to=tof",
                Boxes("4", Q::Tof, Q::Tof)},
        ReadRow{{"OtherFieldsIgnored"},
                "#x=1&&v=4&from=invcm&to=dspacing&y",
                Boxes("4", Q::Invcm, Q::Dspacing)},
        ReadRow{{"EmptyValueIsAnEmptyBox"},
                "#v&from=velocity&to=momentum",
                Boxes("", Q::Velocity, Q::Momentum)},
        ReadRow{{"BytesNotUtf8"},
                "#v=%FF4%ED%A0%80&from=nu&to=nu",
                Boxes("\xEF\xBF\xBD"
                      "4\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
                      Q::Nu, Q::Nu)},
        // A box would drop a line break, and the page's strings end at a NUL ("12" for 12%003).
        ReadRow{{"ControlCharactersReplacedNotDropped"},
                "#v=12%003%0A%7F%C2%85&from=nu&to=nu",
                Boxes("12\xEF\xBF\xBD"
                      "3\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
                      Q::Nu, Q::Nu)},
        ReadRow{{"CutToTheBox"}, "#from=nu&to=nu&v=" + Cut + "77", Boxes(Cut + "7", Q::Nu, Q::Nu)},
        ReadRow{{"CutBeforeASurrogatePair"},
                "#from=nu&to=nu&v=" + Cut + "%F0%9F%98%80",
                Boxes(Cut, Q::Nu, Q::Nu)},
        ReadRow{{"WithoutValue"}, "#from=energy&to=nu", std::nullopt},
        ReadRow{{"WithoutTo"}, "#v=4&from=energy", std::nullopt},
        ReadRow{{"NamingNoQuantity"}, "#v=4&from=joule&to=nu", std::nullopt},
        ReadRow{{"AnEdition"},
                "#v=4&from=meV&to=nu&constants=codata2018",
                ConvertRequest{"4", "", "", Q::Energy, Q::Nu, Edition::Codata2018}},
        // Converting another edition's number than the one shared would be worse than none.
        ReadRow{{"AnEditionThisVersionLacks"},
                "#v=4&from=meV&to=nu&constants=codata2030",
                std::nullopt}),
    RowName());

TEST(WritingALink, EscapesWhatTheFragmentCouldMisreadAndReadsBackTheSame)
{
    const ConvertRequest shown = Boxes("1.5e3 m&v=#%+\xC2\xB5", Q::Wavelength, Q::Q, "75", "");
    EXPECT_EQ(LinkFragment(shown), "#v=1.5e3%20m%26v%3D%23%25%2B%C2%B5&from=wavelength&to=q"
                                   "&angle=75");
    const std::optional<ConvertRequest> read = ReadLink(LinkFragment(shown));
    ASSERT_TRUE(read);
    EXPECT_EQ(Fields(*read), Fields(shown));

    // The edition goes in only where it is not the classic one, so that old links stay as they
    // were, and comes back.
    ConvertRequest codata = shown;
    codata.Constants = Edition::Codata2022;
    EXPECT_TRUE(LinkFragment(codata).ends_with("&angle=75&constants=codata2022"));
    const std::optional<ConvertRequest> kept = ReadLink(LinkFragment(codata));
    ASSERT_TRUE(kept);
    EXPECT_EQ(Fields(*kept), Fields(codata));
}

} // namespace
} // namespace pevrand
