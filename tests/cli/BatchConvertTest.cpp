#include "cli/BatchConvert.h"

#include "CliStreams.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pevrand::cli
{
namespace
{

using test::TextSink;
using test::TextSource;

ConvertArguments Pair(Quantity from, std::optional<Quantity> to, std::string angle = "",
                      std::string path = "")
{
    ConvertArguments arguments;
    arguments.From = from;
    arguments.To = to;
    arguments.TwoThetaText = std::move(angle);
    arguments.FlightPathText = std::move(path);
    return arguments;
}

// One batch from standard input: what goes out on each stream and how it ends.
struct BatchRow {
    const char *name;
    ConvertArguments arguments;
    std::string input, out, errors;
    BatchStatus status = BatchStatus::AllConverted;
};

class ConvertLinesRow : public testing::TestWithParam<BatchRow>
{
};

// The same output whether the input arrives a byte at a time, in small pieces or at once.
TEST_P(ConvertLinesRow, GivesOneLinePerValueInOrder)
{
    const BatchRow &row = GetParam();
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
        TextSource input(row.input, chunk);
        TextSink out, errors;
        EXPECT_EQ(ConvertLines(row.arguments, input, out, errors), row.status) << chunk;
        EXPECT_EQ(out.text, row.out) << chunk;
        EXPECT_EQ(errors.text, row.errors) << chunk;
    }
}

const std::string Prefix = "pevrand-convert: line ";
const auto Energy = Quantity::Energy;
const auto Wavelength = Quantity::Wavelength;
const auto All = std::nullopt;

// The lines of `all` for 25 meV without geometry.
const std::string All25 = "energy\t25\nwavelength\t1.8087\nnu\t6.0454\nvelocity\t2186.8\n"
                          "momentum\t3.4738\ntemperature\t290.14\ninvcm\t201.65\n"
                          "q\tScattering angle not specified\n"
                          "dspacing\tScattering angle not specified\n"
                          "tof\tTotal flight path not specified\n";

INSTANTIATE_TEST_SUITE_P(
    Batches, ConvertLinesRow,
    testing::Values(
        BatchRow{"EmptyInputGivesNothing", Pair(Energy, Wavelength), "", "", ""},
        BatchRow{"LastLineWithoutNewline", Pair(Energy, Wavelength), "25\n81.787", "1.8087\n1\n",
                 ""},
        BatchRow{"WindowsLineEndings", Pair(Energy, Wavelength), "25\r\n81.787\r\n", "1.8087\n1\n",
                 ""},
        BatchRow{"OnlyTheLastCarriageReturnGoes", Pair(Energy, Wavelength), "25\r\r\n", "1.8087\n",
                 ""},
        BatchRow{"EmptyLineIsAnEmptyBox", Pair(Energy, Wavelength), "\n25\n", "\n1.8087\n",
                 Prefix + "1: No input value specified\n", BatchStatus::SomeFailed},
        BatchRow{"MixedBatchKeepsItsLines", Pair(Energy, Wavelength),
                 "25\n-5\n2,5\n1e30\n \n12abc\n", "1.8087\n\n\n\n\n2.6107\n",
                 Prefix + "2: Non-positive values not allowed\n" + Prefix +
                     "3: Use a period as the decimal point\n" + Prefix +
                     "4: Value out of range for this conversion\n" + Prefix +
                     "5: Non-positive values not allowed\n",
                 BatchStatus::SomeFailed},
        BatchRow{"NulEndsTheNumberLikeALetter", Pair(Energy, Wavelength),
                 std::string("25\0abc\n\0\n", 9), "1.8087\n\n",
                 Prefix + "2: Non-positive values not allowed\n", BatchStatus::SomeFailed},
        BatchRow{"GeometryMessageForEveryValue", Pair(Energy, Quantity::Q), "25\n5\n", "\n\n",
                 Prefix + "1: Scattering angle not specified\n" + Prefix +
                     "2: Scattering angle not specified\n",
                 BatchStatus::SomeFailed},
        BatchRow{"AllPrintsGeometryMessagesInPlace", Pair(Energy, All), "25", All25, ""},
        BatchRow{"AllWithBothGeometries", Pair(Quantity::Dspacing, All, "90", "10"), "2\n",
                 "energy\t10.223\nwavelength\t2.8284\nnu\t2.4722\nvelocity\t1398.4\n"
                 "momentum\t2.2214\ntemperature\t118.65\ninvcm\t82.463\nq\t3.1416\n"
                 "dspacing\t2\ntof\t7150.8\n",
                 ""},
        BatchRow{"AllLeavesFailedValuesEmptyAndSaysSoOnce", Pair(Energy, All), "0\n",
                 "energy\t\nwavelength\t\nnu\t\nvelocity\t\nmomentum\t\ntemperature\t\n"
                 "invcm\t\nq\t\ndspacing\t\ntof\t\n",
                 Prefix + "1: Non-positive values not allowed\n", BatchStatus::SomeFailed},
        BatchRow{"AllWithABadAngleFailsOnlyWhereItIsUsed", Pair(Energy, All, "200"), "25\n",
                 "energy\t25\nwavelength\t1.8087\nnu\t6.0454\nvelocity\t2186.8\n"
                 "momentum\t3.4738\ntemperature\t290.14\ninvcm\t201.65\nq\t\ndspacing\t\n"
                 "tof\tTotal flight path not specified\n",
                 Prefix + "1: 2 theta must be in the range 0 to 180 degrees\n",
                 BatchStatus::SomeFailed}),
    RowName{});

std::string Repeated(std::string_view text, std::size_t times)
{
    std::string repeated;
    repeated.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

constexpr std::size_t Kept = LineReader::KeptLength;

// Lines longer than what a line keeps: the cut matters only when the number reaches it.
INSTANTIATE_TEST_SUITE_P(
    LongLines, ConvertLinesRow,
    testing::Values(BatchRow{"JunkAfterTheNumberIsDropped", Pair(Energy, Wavelength),
                             "25" + std::string(3 * Kept, 'x') + "\n81.787\n", "1.8087\n1\n", ""},
                    BatchRow{"NumberDecidedJustBeforeTheCut", Pair(Energy, Wavelength),
                             "0." + std::string(Kept - 14, '0') + "25e" +
                                 std::to_string(Kept - 12) + " " + std::string(Kept, ' ') + "\n",
                             "1.8087\n", ""},
                    BatchRow{"NumberRunningIntoTheCut", Pair(Energy, Wavelength),
                             std::string(Kept + 1, '1') + "\n25\n", "\n1.8087\n",
                             Prefix + "1: Number too long to read\n", BatchStatus::SomeFailed},
                    BatchRow{"BlanksRunningIntoTheCut", Pair(Energy, Wavelength),
                             std::string(Kept + 5, ' ') + "25\n", "\n",
                             Prefix + "1: Number too long to read\n", BatchStatus::SomeFailed},
                    BatchRow{"LineOfExactlyTheKeptLength", Pair(Energy, Wavelength),
                             "25" + std::string(Kept - 2, ' ') + "\n", "1.8087\n", ""},
                    BatchRow{"ManyLinesAcrossBlocks", Pair(Energy, Wavelength),
                             Repeated("25\n", 100000), Repeated("1.8087\n", 100000), ""}),
    RowName{});

// A source that produces a very long line without holding it: "25", then `length` bytes of
// junk, then a newline and "81.787".
class LongLineSource : public ByteSource
{
public:
    explicit LongLineSource(std::size_t length) : left_(length) {}
    std::ptrdiff_t Read(char *buffer, std::size_t size) override
    {
        if (!started_) {
            started_ = true;
            buffer[0] = '2';
            buffer[1] = '5';
            return 2;
        }
        if (left_ > 0) {
            const std::size_t count = std::min(size, left_);
            std::fill_n(buffer, count, '\x01');
            left_ -= count;
            return static_cast<std::ptrdiff_t>(count);
        }
        const std::string_view tail = done_ ? "" : "\n81.787";
        done_ = true;
        std::copy(tail.begin(), tail.end(), buffer);
        return static_cast<std::ptrdiff_t>(tail.size());
    }
    std::string Failure() const override { return {}; }

private:
    std::size_t left_;
    bool started_ = false, done_ = false;
};

TEST(ConvertLines, HundredMegabyteLineNeedsNoHundredMegabytes)
{
    LongLineSource input(100u << 20);
    TextSink out, errors;
    EXPECT_EQ(ConvertLines(Pair(Energy, Wavelength), input, out, errors),
              BatchStatus::AllConverted);
    EXPECT_EQ(out.text, "1.8087\n1\n");
}

// Every printed number is the window's text for the same boxes: RunConvert's, for every pair.
TEST(ConvertValues, PrintsTheConvertCommandsTextForEveryPair)
{
    const std::vector<std::string_view> values{"25",   "0.5", "1e-3", "123456", "7.77e5",
                                               "3e-6", "  9", "-1",   "2,5",    ""};
    for (int from = 0; from < 10; ++from) {
        for (int to = 0; to < 10; ++to) {
            ConvertArguments arguments =
                Pair(static_cast<Quantity>(from), static_cast<Quantity>(to), "37.5", "11");
            arguments.Values = values;
            TextSink out, errors;
            ConvertValues(arguments, out, errors);
            std::string expected;
            for (const std::string_view value : values) {
                const ConvertOutcome outcome =
                    RunConvert({std::string(value), "37.5", "11", arguments.From, arguments.To});
                expected += outcome.OutputText + "\n";
            }
            EXPECT_EQ(out.text, expected) << from << " to " << to;
        }
    }
}

TEST(ConvertValues, NumbersFailuresByArgument)
{
    ConvertArguments arguments = Pair(Energy, Wavelength);
    arguments.Values = {"25", "abc", "25"};
    TextSink out, errors;
    EXPECT_EQ(ConvertValues(arguments, out, errors), BatchStatus::SomeFailed);
    EXPECT_EQ(out.text, "1.8087\n\n1.8087\n");
    EXPECT_EQ(errors.text, "pevrand-convert: value 2: Non-positive values not allowed\n");
}

struct BrokenRow {
    const char *name;
    bool readFails;
    std::size_t outLimit;
    std::string errors;
};

class BrokenStreamRow : public testing::TestWithParam<BrokenRow>
{
};

// A failing input or output ends the batch with a reason, never as a success.
TEST_P(BrokenStreamRow, SaysWhyAndFails)
{
    const BrokenRow &row = GetParam();
    TextSource input(Repeated("25\n", 50000), 4096, row.readFails);
    TextSink out(row.outLimit), errors;
    EXPECT_EQ(ConvertLines(Pair(Energy, Wavelength), input, out, errors), BatchStatus::Broken);
    EXPECT_EQ(errors.text, row.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, BrokenStreamRow,
    testing::Values(BrokenRow{"ReadFails", true, std::string::npos,
                              "pevrand-convert: cannot read standard input: Input/output error\n"},
                    BrokenRow{
                        "WriteFails", false, 1000,
                        "pevrand-convert: cannot write the output: No space left on device\n"}),
    RowName{});

} // namespace
} // namespace pevrand::cli
