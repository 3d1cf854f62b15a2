// The batch loop allocates nothing per value: converting ten times as many lines costs no more
// allocations.
#include "bench/AllocationCounter.h"
#include "cli/BatchConvert.h"

#include "CliStreams.h"

#include <gtest/gtest.h>

namespace pevrand::cli
{
namespace
{

std::uint64_t AllocationsFor(std::size_t lines, std::optional<Quantity> to)
{
    std::string input;
    for (std::size_t i = 0; i < lines; ++i)
        input += std::to_string(1 + i % 997) + ".345\n";
    const ConvertArguments arguments{
        ConvertArguments::Action::Convert, Quantity::Energy, to, "90", "10", {}};
    test::TextSource source(std::move(input), 1 << 16);
    test::TextSink out, errors;
    out.text.reserve(lines * 200);
    const std::uint64_t before = bench::AllocationCount();
    EXPECT_EQ(ConvertLines(arguments, source, out, errors), BatchStatus::AllConverted);
    return bench::AllocationCount() - before;
}

TEST(ConvertLines, AllocatesNothingPerValue)
{
    for (const std::optional<Quantity> to :
         {std::optional(Quantity::Wavelength), std::optional(Quantity::Tof),
          std::optional<Quantity>()})
        EXPECT_EQ(AllocationsFor(1000, to), AllocationsFor(10000, to));
}

} // namespace
} // namespace pevrand::cli
