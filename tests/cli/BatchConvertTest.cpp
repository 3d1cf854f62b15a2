// What the command as a process can't show cheaply: the same lines however the input is split
// into reads, at the edges of the kept length and of the read blocks.
#include "cli/BatchConvert.h"

#include "CliStreams.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <string>

namespace pevrand::cli
{
namespace
{

struct BatchRow {
    const char *name;
    std::string input, out, errors;
    BatchStatus status = BatchStatus::AllConverted;
};

class ConvertLinesRow : public testing::TestWithParam<BatchRow>
{
};

// The same output whether the input arrives a byte at a time, in small pieces or at once.
TEST_P(ConvertLinesRow, GivesTheSameLinesForEveryReadSize)
{
    const BatchRow &row = GetParam();
    ConvertArguments arguments;
    arguments.From = Quantity::Energy;
    arguments.To = Quantity::Wavelength;
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
        test::TextSource input(row.input, chunk);
        test::TextSink out, errors;
        EXPECT_EQ(ConvertLines(arguments, input, out, errors), row.status) << chunk;
        EXPECT_EQ(out.text, row.out) << chunk;
        EXPECT_EQ(errors.text, row.errors) << chunk;
    }
}

std::string Repeated(std::string_view text, std::size_t times)
{
    std::string repeated;
    repeated.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

constexpr std::size_t Kept = LineReader::KeptLength;
const std::string TooLong = "pevrand-convert: line 1: Number too long to read\n";

// A "\r\n" split between reads, and lines longer than what a line keeps: the cut matters only
// when the number reaches it.
INSTANTIATE_TEST_SUITE_P(
    Reads, ConvertLinesRow,
    testing::Values(BatchRow{"LineEndingsSplitAcrossReads", "25\r\n\r\n81.787", "1.8087\n\n1\n",
                             "pevrand-convert: line 2: No input value specified\n",
                             BatchStatus::SomeFailed},
                    BatchRow{"JunkAfterTheNumberIsDropped",
                             "25" + std::string(3 * Kept, 'x') + "\n81.787\n", "1.8087\n1\n", ""},
                    BatchRow{"NumberDecidedJustBeforeTheCut",
                             "0." + std::string(Kept - 14, '0') + "25e" +
                                 std::to_string(Kept - 12) + " " + std::string(Kept, ' ') + "\n",
                             "1.8087\n", ""},
                    BatchRow{"BlanksRunningIntoTheCut", std::string(Kept + 5, ' ') + "25\n", "\n",
                             TooLong, BatchStatus::SomeFailed},
                    BatchRow{"LineOfExactlyTheKeptLength", "25" + std::string(Kept - 2, ' ') + "\n",
                             "1.8087\n", ""},
                    BatchRow{"ManyLinesAcrossBlocks", Repeated("25\n", 100000),
                             Repeated("1.8087\n", 100000), ""}),
    RowName{});

} // namespace
} // namespace pevrand::cli
