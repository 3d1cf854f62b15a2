// The launcher's platform where there is no registry (Linux and other POSIX desktops).
//
// Its one value is the first place, "SOFTWARE\Microsoft\Shared Tools\MSINFO" "PATH", holding
// the full path of the desktop's own system-information program when one is installed; it has
// no other keys or values, so where none is installed the button says the tool is unavailable.
//
// The program is started directly (no shell, no arguments) by a double fork: the intermediate
// child starts it and exits at once, and is reaped here, so the tool is adopted by init and no
// zombie is left behind, without touching the process's SIGCHLD handling. A pipe closed on
// exec tells whether the exec itself succeeded, so a failed start raises like on Windows.
#include "ui/about/SystemPlatform.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pevrand
{
namespace
{

// The desktops' system-information programs, in the order they are preferred.
constexpr std::array<const char *, 5> DesktopTools = {
    "kinfocenter", "hardinfo2", "hardinfo", "gnome-system-monitor", "mate-system-monitor"};

// The handle of the one key there is.
constexpr RegistryKey MsinfoHandle = 1;

// Registry names compare without regard to ASCII case.
bool SameName(const std::string &a, const char *b)
{
    const std::size_t length = std::strlen(b);
    if (a.size() != length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The directories of the search path: $PATH, or the system's default when it is unset.
// Empty and relative entries are skipped: the answer must be a full path that does not
// depend on the current directory.
std::vector<std::string> SearchDirectories()
{
    std::string list;
    if (const char *path = std::getenv("PATH")) {
        list = path;
    } else {
        const std::size_t length = confstr(_CS_PATH, nullptr, 0);
        if (length > 0) {
            std::string fallback(length, '\0');
            confstr(_CS_PATH, fallback.data(), length);
            list = fallback.c_str();
        }
    }
    std::vector<std::string> directories;
    std::size_t begin = 0;
    while (begin <= list.size()) {
        std::size_t end = list.find(':', begin);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string directory = list.substr(begin, end - begin);
        if (!directory.empty() && directory.front() == '/') {
            directories.push_back(std::move(directory));
        }
        begin = end + 1;
    }
    return directories;
}

bool IsExecutableFile(const std::string &path)
{
    struct stat status {
    };
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// The full path of the first desktop tool found on the search path, or empty.
std::string FindDesktopTool()
{
    const std::vector<std::string> directories = SearchDirectories();
    for (const char *tool : DesktopTools) {
        for (const std::string &directory : directories) {
            const std::string candidate = directory + (directory.back() == '/' ? "" : "/") + tool;
            if (IsExecutableFile(candidate)) {
                return candidate;
            }
        }
    }
    return {};
}

// In a forked child: report `error` through `fd` and end the child at once.
[[noreturn]] void ReportAndExit(int fd, int error)
{
    [[maybe_unused]] const ssize_t written = write(fd, &error, sizeof error);
    _exit(127);
}

int OpenCloseOnExecPipe(int fds[2])
{
#if defined(__linux__)
    return pipe2(fds, O_CLOEXEC);
#else
    if (pipe(fds) != 0) {
        return -1;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    return 0;
#endif
}

// Starts `path` with no arguments in a session of its own and does not wait for it. Throws
// SysInfoFailure when it can't be started.
void SpawnDetached(const std::string &path)
{
    // Everything the children need is prepared before forking: after fork() only
    // async-signal-safe calls are made.
    char *const argv[] = {const_cast<char *>(path.c_str()), nullptr};
    int report[2];
    if (OpenCloseOnExecPipe(report) != 0) {
        throw SysInfoFailure(std::string("can't start: ") + std::strerror(errno));
    }
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        throw SysInfoFailure(std::string("can't start: ") + std::strerror(error));
    }
    if (child == 0) {
        close(report[0]);
        const pid_t tool = fork();
        if (tool < 0) {
            ReportAndExit(report[1], errno);
        }
        if (tool == 0) {
            setsid();
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            execv(path.c_str(), argv);
            ReportAndExit(report[1], errno);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // End of file: the exec succeeded and closed the pipe. An error number: it failed.
    int error = 0;
    ssize_t got = 0;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        throw SysInfoFailure("can't start \"" + path + "\": " + std::strerror(error));
    }
}

} // namespace

std::int32_t SystemPlatform::OpenKey(std::int32_t root, const std::string &keyName, std::uint32_t,
                                     RegistryKey &key)
{
    if (root != HkeyLocalMachine || !SameName(keyName, MsinfoKey)) {
        return RegistryNotFound;
    }
    key = MsinfoHandle;
    return RegistrySuccess;
}

std::int32_t SystemPlatform::QueryValue(RegistryKey key, const std::string &valueName,
                                        std::uint32_t &type, std::uint8_t *data,
                                        std::uint32_t &size)
{
    if (key != MsinfoHandle || !SameName(valueName, MsinfoValue)) {
        return RegistryNotFound;
    }
    const std::string tool = FindDesktopTool();
    if (tool.empty()) {
        return RegistryNotFound;
    }
    // Stored like registry text, with its terminating zero byte.
    const std::size_t bytes = tool.size() + 1;
    if (bytes > size) {
        size = static_cast<std::uint32_t>(bytes);
        return RegistryMoreData;
    }
    std::memcpy(data, tool.c_str(), bytes);
    type = RegistryText;
    size = static_cast<std::uint32_t>(bytes);
    return RegistrySuccess;
}

void SystemPlatform::CloseKey(RegistryKey) noexcept {}

bool SystemPlatform::FileExists(const std::string &path)
{
    struct stat status {
    };
    return !path.empty() && path.find('\0') == std::string::npos &&
           stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void SystemPlatform::StartProgram(const std::string &path)
{
    if (path.empty() || path.find('\0') != std::string::npos) {
        throw SysInfoFailure("no program to start at \"" + path + "\"");
    }
    SpawnDetached(path);
}

} // namespace pevrand
