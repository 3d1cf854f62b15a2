// The page writer's pieces: what a wrong one would put on every page.
#include "ui/common/web/Markup.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

namespace pevrand::web
{
namespace
{

struct TextRow : NamedRow {
    std::string got, expected;
};

class MarkupText : public testing::TestWithParam<TextRow>
{
};

TEST_P(MarkupText, IsWritten)
{
    EXPECT_EQ(GetParam().got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, MarkupText,
    testing::Values(
        TextRow{{"AccessKeyUnderlinedAmpersandDropped"},
                CaptionMarkup("E&nergy (meV)"),
                "E<span class=\"ak\">n</span>ergy (meV)"},
        TextRow{{"CaptionEscaped"}, CaptionMarkup("x<\"y\">"), "x&lt;&quot;y&quot;&gt;"},
        TextRow{
            {"AccessKeyAttributeLowerCase"}, AccessKeyAttribute("&Convert"), " accesskey=\"c\""},
        TextRow{{"NoAccessKeyNoAttribute"}, AccessKeyAttribute("Output Value:"), ""},
        TextRow{{"TwipsRoundedAsWindowsDoes"},
                BoxStyle({120, 7920, 1005, 247}),
                "left:8px;top:528px;width:67px;height:16px"},
        TextRow{{"DialogFaceWithItsTwinsQuotedForAStyleAttribute"},
                Font(DialogFace),
                "8pt 'Liberation Sans','Arimo','Arial','Helvetica','Nimbus Sans',sans-serif"},
        TextRow{{"ItalicSerifAtAFractionalSize"},
                Font({"Times New Roman", 8.25, true}),
                "italic 8.25pt 'Times New Roman','Liberation Serif','Tinos','Times','Nimbus "
                "Roman',serif"},
        TextRow{{"Base64PaddingForOneTwoAndThreeBytes"},
                Base64("a") + " " + Base64("ab") + " " + Base64("abc"),
                "YQ== YWI= YWJj"},
        TextRow{{"RedOnCyanDarkenedToFourAndAHalfToOne"},
                Colour(ReadableColour(DesignRed, PaleCyan)),
                "#e10000"},
        TextRow{{"BlackOnCyanUnchanged"}, Colour(ReadableColour(Black, PaleCyan)), "#000000"}),
    RowName());

} // namespace
} // namespace pevrand::web
