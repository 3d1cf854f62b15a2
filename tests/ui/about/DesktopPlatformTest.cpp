// The launcher's layer where there is no registry: the desktop tool found on PATH, and the
// start of a program with no shell, no arguments and no zombie left behind.
#include "ui/about/SysInfoLauncher.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pevrand
{
namespace
{

namespace fs = std::filesystem;

// A scratch directory with PATH and the current directory set for one test, all restored
// and removed afterwards.
class Scratch
{
public:
    Scratch()
    {
        std::string pattern = (fs::path(testing::TempDir()) / "pevrand-launcher-XXXXXX").string();
        root = mkdtemp(pattern.data());
        if (const char *path = std::getenv("PATH")) {
            savedPath_ = path;
        }
        savedDirectory_ = fs::current_path();
    }
    ~Scratch()
    {
        setenv("PATH", savedPath_.c_str(), 1);
        fs::current_path(savedDirectory_);
        fs::remove_all(root);
    }
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;

    // A file below the scratch directory with `content`, executable or not.
    fs::path File(const std::string &name, const std::string &content, bool executable)
    {
        const fs::path file = root / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file) << content;
        fs::permissions(file, executable ? fs::perms::owner_all
                                         : fs::perms::owner_read | fs::perms::owner_write);
        return file;
    }

    // PATH set to `entries`, each made absolute below the scratch directory unless it starts
    // with "./" (then it stays relative) or is empty.
    void SetPath(const std::vector<std::string> &entries)
    {
        std::string path;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string &entry = entries[i];
            const bool keep = entry.empty() || entry.rfind("./", 0) == 0;
            path += (i == 0 ? "" : ":") + (keep ? entry : (root / entry).string());
        }
        setenv("PATH", path.c_str(), 1);
    }

    fs::path root;

private:
    std::string savedPath_;
    fs::path savedDirectory_;
};

constexpr const char *Shell = "#!/bin/sh\nexit 0\n";

constexpr const char *PlaceOneKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char *PlaceTwoKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char *Unavailable = "System Information Is Unavailable At This Time";

// The path the platform answers for the first place, or empty when it answers false.
std::string PlaceOne(SysInfoPlatform &platform)
{
    std::string keyVal;
    if (!GetKeyValue(platform, HkeyLocalMachine, PlaceOneKey, "PATH", keyVal)) {
        EXPECT_EQ(keyVal, "");
        return {};
    }
    return keyVal;
}

bool NoChildLeft()
{
    return waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD;
}

// ---- the search on PATH -----------------------------------------------------------------

enum class Kind { Program, PlainFile, Folder };

struct Entry {
    const char *name;
    Kind kind;
};

struct SearchCase : NamedRow {
    std::vector<Entry> entries;
    std::vector<std::string> path;
    const char *found; // below the scratch directory; empty when nothing is found
};

class DesktopSearchRow : public testing::TestWithParam<SearchCase>
{
};

TEST_P(DesktopSearchRow, AnswersTheFirstToolOnPath)
{
    const SearchCase &row = GetParam();
    Scratch scratch;
    for (const Entry &entry : row.entries) {
        if (entry.kind == Kind::Folder) {
            fs::create_directories(scratch.root / entry.name);
        } else {
            scratch.File(entry.name, Shell, entry.kind == Kind::Program);
        }
    }
    fs::create_directories(scratch.root / "cwd");
    fs::current_path(scratch.root / "cwd");
    scratch.SetPath(row.path);

    const auto platform = MakeSystemPlatform({});
    const std::string expected =
        *row.found == '\0' ? std::string() : (scratch.root / row.found).string();
    EXPECT_EQ(PlaceOne(*platform), expected);
}

using K = Kind;

INSTANTIATE_TEST_SUITE_P(
    Path, DesktopSearchRow,
    testing::Values(
        SearchCase{"ListOrderBeatsPathOrder",
                   {{"a/hardinfo", K::Program}, {"b/kinfocenter", K::Program}},
                   {"a", "b"},
                   "b/kinfocenter"},
        SearchCase{"EarlierDirectoryWinsForOneTool",
                   {{"a/hardinfo", K::Program}, {"b/hardinfo", K::Program}},
                   {"a", "b"},
                   "a/hardinfo"},
        SearchCase{"Hardinfo2BeforeHardinfo",
                   {{"a/hardinfo", K::Program}, {"a/hardinfo2", K::Program}},
                   {"a"},
                   "a/hardinfo2"},
        SearchCase{"GnomeBeforeMate",
                   {{"a/mate-system-monitor", K::Program}, {"b/gnome-system-monitor", K::Program}},
                   {"a", "b"},
                   "b/gnome-system-monitor"},
        SearchCase{"LastOfTheListFound",
                   {{"a/mate-system-monitor", K::Program}},
                   {"a"},
                   "a/mate-system-monitor"},
        SearchCase{"NonExecutableFileSkipped",
                   {{"a/kinfocenter", K::PlainFile}, {"b/hardinfo", K::Program}},
                   {"a", "b"},
                   "b/hardinfo"},
        SearchCase{"DirectorySkipped",
                   {{"a/kinfocenter", K::Folder}, {"a/hardinfo2", K::Program}},
                   {"a"},
                   "a/hardinfo2"},
        SearchCase{
            "TrailingSlashAddsNoSecond", {{"a/kinfocenter", K::Program}}, {"a/"}, "a/kinfocenter"},
        SearchCase{"RelativeAndEmptyEntriesSkipped",
                   {{"cwd/kinfocenter", K::Program}, {"cwd/sub/hardinfo", K::Program}},
                   {"", "./", "./sub"},
                   ""},
        SearchCase{"OtherProgramsIgnored", {{"a/htop", K::Program}}, {"a"}, ""},
        SearchCase{"NoToolAnswersNothing", {}, {"a"}, ""}),
    RowName());

TEST(DesktopPlatform, HasNoOtherValues)
{
    Scratch scratch;
    scratch.File("a/kinfocenter", Shell, true);
    scratch.SetPath({"a"});
    const auto platform = MakeSystemPlatform({});
    std::string keyVal = "on entry";
    EXPECT_FALSE(GetKeyValue(*platform, HkeyLocalMachine, PlaceTwoKey, "MSINFO", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_FALSE(GetKeyValue(*platform, HkeyLocalMachine, PlaceOneKey, "MSINFO", keyVal));
    EXPECT_FALSE(GetKeyValue(*platform, static_cast<std::int32_t>(0x80000001u), PlaceOneKey, "PATH",
                             keyVal));
}

// ---- starting the tool ------------------------------------------------------------------

TEST(DesktopPlatform, StartsTheToolWithNoArgumentsAndLeavesNoZombie)
{
    Scratch scratch;
    const fs::path marker = scratch.root / "marker";
    scratch.File("bin/gnome-system-monitor",
                 "#!/bin/sh\necho \"$#\" > '" + marker.string() + ".tmp' && /bin/mv '" +
                     marker.string() + ".tmp' '" + marker.string() + "'\n",
                 true);
    scratch.SetPath({"bin"});
    std::vector<std::string> messages;
    const auto platform =
        MakeSystemPlatform([&](const std::string &text) { messages.push_back(text); });

    StartSysInfo(*platform);

    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(NoChildLeft()) << "the started tool is no child of ours";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(marker) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(fs::exists(marker)) << "the tool never ran";
    std::string arguments;
    std::ifstream(marker) >> arguments;
    EXPECT_EQ(arguments, "0");
}

TEST(DesktopPlatform, NoToolShowsTheMessage)
{
    Scratch scratch;
    fs::create_directories(scratch.root / "empty");
    scratch.SetPath({"empty"});
    std::vector<std::string> messages;
    const auto platform =
        MakeSystemPlatform([&](const std::string &text) { messages.push_back(text); });
    StartSysInfo(*platform);
    EXPECT_EQ(messages, std::vector<std::string>{Unavailable});
}

TEST(DesktopPlatform, ToolThatCannotStartShowsTheMessage)
{
    Scratch scratch;
    scratch.File("bin/kinfocenter", "no program, only text\n", true);
    scratch.SetPath({"bin"});
    std::vector<std::string> messages;
    const auto platform =
        MakeSystemPlatform([&](const std::string &text) { messages.push_back(text); });
    StartSysInfo(*platform);
    EXPECT_EQ(messages, std::vector<std::string>{Unavailable});
    EXPECT_TRUE(NoChildLeft());
}

struct FailedStart : NamedRow {
    const char *file;    // created below the scratch directory unless empty
    const char *content; // of that file
    bool executable;
    const char *start; // below the scratch directory; "" starts the empty path
};

class DesktopFailedStartRow : public testing::TestWithParam<FailedStart>
{
};

TEST_P(DesktopFailedStartRow, RaisesAndLeavesNoChild)
{
    const FailedStart &row = GetParam();
    Scratch scratch;
    if (*row.file != '\0') {
        scratch.File(row.file, row.content, row.executable);
    }
    const std::string path =
        *row.start == '\0' ? std::string() : (scratch.root / row.start).string();
    const auto platform = MakeSystemPlatform({});
    EXPECT_THROW(platform->StartProgram(path), SysInfoFailure);
    EXPECT_TRUE(NoChildLeft());
}

INSTANTIATE_TEST_SUITE_P(Starts, DesktopFailedStartRow,
                         testing::Values(FailedStart{"EmptyPath", "", "", false, ""},
                                         FailedStart{"NoSuchFile", "", "", false, "missing"},
                                         FailedStart{"NotAProgram", "tool", "only text\n", true,
                                                     "tool"},
                                         FailedStart{"NotExecutable", "tool", Shell, false, "tool"},
                                         FailedStart{"Directory", "dir/file", "", false, "dir"}),
                         RowName());

} // namespace
} // namespace pevrand
