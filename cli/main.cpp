// pevrand-convert: the Convert command of the Pevrand window, for scripts and whole columns of
// values.
#include "cli/BatchConvert.h"
#include "cli/ConvertArguments.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

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

int Main(const std::vector<std::string_view> &args)
{
    const auto parsed = ParseArguments(args);
    if (const auto *error = std::get_if<UsageError>(&parsed)) {
        const std::string text =
            "pevrand-convert: " + error->Reason + "\n" + std::string(UsageText());
        DescriptorSink(STDERR_FILENO).Write(text);
        return Usage;
    }
    return Run(std::get<ConvertArguments>(parsed));
}

#ifdef _WIN32
// UTF-8, as the arguments come on Linux: Windows hands them over as UTF-16 whatever the code
// page, and a name such as "\u03bcs" must mean the same on both.
std::string Utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}
#endif

} // namespace

#ifdef _WIN32
// The same bytes in and out as on Linux: binary mode, so that the C runtime neither turns "\n"
// into "\r\n" nor stops reading at a Ctrl+Z. A "\r" before a line's "\n" is read as part of the
// line end either way.
int wmain(int argc, wchar_t **argv)
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        _setmode(fd, _O_BINARY);
    std::vector<std::string> texts;
    for (int i = 1; i < argc; ++i)
        texts.push_back(Utf8(argv[i]));
    return Main(std::vector<std::string_view>(texts.begin(), texts.end()));
}
#else
int main(int argc, char **argv)
{
    return Main(std::vector<std::string_view>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
#endif
