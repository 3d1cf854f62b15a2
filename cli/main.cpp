// pevrand-convert: the Convert command of the Pevrand window, for scripts and whole columns of
// values.
#include "cli/BatchConvert.h"
#include "cli/ConvertArguments.h"

#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

namespace
{

using namespace pevrand::cli;

constexpr int Converted = 0, SomeFailed = 1, Usage = 2;

int Run(const ConvertArguments &arguments)
{
    DescriptorSink out(STDOUT_FILENO), errors(STDERR_FILENO);
    switch (arguments.Do) {
    case ConvertArguments::Action::Help:
        return out.Write(HelpText()) ? Converted : SomeFailed;
    case ConvertArguments::Action::Version:
        return out.Write(VersionText()) ? Converted : SomeFailed;
    case ConvertArguments::Action::Convert:
        break;
    }
    BatchStatus status;
    if (arguments.Values.empty()) {
        DescriptorSource input(STDIN_FILENO);
        status = ConvertLines(arguments, input, out, errors);
    } else {
        status = ConvertValues(arguments, out, errors);
    }
    return status == BatchStatus::AllConverted ? Converted : SomeFailed;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const auto parsed = ParseArguments(args);
    if (const auto *error = std::get_if<UsageError>(&parsed)) {
        const std::string text =
            "pevrand-convert: " + error->Reason + "\n" + std::string(UsageText());
        DescriptorSink(STDERR_FILENO).Write(text);
        return Usage;
    }
    return Run(std::get<ConvertArguments>(parsed));
}
