#include "ui/about/SysInfoLauncher.h"

#include "tests/RowName.h"
#include "tests/ui/about/InMemoryRegistry.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pevrand
{
namespace
{

using testing_support::InMemoryRegistry;
using testing_support::Raw;
using testing_support::StoredValue;
using testing_support::Text;
using testing_support::Typed;

// The launcher's fixed names and message, written out here rather than taken from its header,
// so that a slip in either is caught.
constexpr const char *PlaceOneKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char *PlaceTwoKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char *Unavailable = "System Information Is Unavailable At This Time";
constexpr std::uint32_t ReadOnly = 0x0001; // KEY_QUERY_VALUE

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string text;
    for (const int b : bytes) {
        text += static_cast<char>(b);
    }
    return text;
}

// ---- GetKeyValue: one value read from a key -------------------------------------------

struct ReadCase : NamedRow {
    bool keyExists;
    std::optional<StoredValue> value;
    bool result;
    std::string keyVal; // after the call, starting from "on entry"
};

class GetKeyValueRow : public testing::TestWithParam<ReadCase>
{
};

TEST_P(GetKeyValueRow, ReadsTheValueAndClosesTheKey)
{
    const ReadCase &row = GetParam();
    InMemoryRegistry registry;
    if (row.keyExists) {
        registry.keys["K"];
    }
    if (row.value) {
        registry.Set("K", "V", *row.value);
    }
    std::string keyVal = "on entry";

    EXPECT_EQ(GetKeyValue(registry, HkeyLocalMachine, "K", "V", keyVal), row.result);
    EXPECT_EQ(keyVal, row.keyVal);
    EXPECT_EQ(registry.accessAsked, std::vector<std::uint32_t>{ReadOnly});
    // Closed exactly once: the handle opened, or the zero handle when opening failed.
    EXPECT_EQ(registry.closed, row.keyExists ? registry.opened : std::vector<RegistryKey>{0});
    if (row.keyExists) {
        EXPECT_EQ(registry.sizesOffered, std::vector<std::uint32_t>{1024});
        EXPECT_TRUE(registry.buffersZeroFilled);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueRow,
    testing::Values(
        ReadCase{"TextLosesItsTerminatingZero", true, Text("C:\\Tools"), true, "C:\\Tools"},
        ReadCase{"TextWithoutTerminatingZeroTakenWhole", true, Raw(1, "C:\\Tools"), true,
                 "C:\\Tools"},
        ReadCase{"OnlyTheLastZeroByteIsDropped", true, Raw(1, Bytes({'a', 0, 0})), true,
                 Bytes({'a', 0})},
        ReadCase{"EmptyTextIsOneZeroByte", true, Text(""), true, ""},
        ReadCase{"TextOf1024BytesWithZeroFits", true, Text(std::string(1023, 'x')), true,
                 std::string(1023, 'x')},
        ReadCase{"TextOf1024BytesWithoutZeroFits", true, Raw(1, std::string(1024, 'x')), true,
                 std::string(1024, 'x')},
        ReadCase{"TextOf1025BytesCountsAsMissing", true, Text(std::string(1024, 'x')), false, ""},
        ReadCase{"Number261", true, Raw(4, Bytes({0x05, 0x01, 0x00, 0x00})), true, "261"},
        ReadCase{"NumberMostSignificantByteLast", true, Raw(4, Bytes({0x78, 0x56, 0x34, 0x12})),
                 true, "305419896"},
        ReadCase{"NumberAllOnesIsUnsigned", true, Raw(4, Bytes({0xFF, 0xFF, 0xFF, 0xFF})), true,
                 "4294967295"},
        ReadCase{"NumberZero", true, Raw(4, Bytes({0, 0, 0, 0})), true, "0"},
        ReadCase{"NumberWiderThan64BitsKeepsItsDigits", true,
                 Raw(4, Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9})), true, "&h090807060504030201"},
        ReadCase{"ExpandableTextLeavesEntry", true, Typed(RegistryExpandText, "%SystemRoot%\\x"),
                 true, "on entry"},
        ReadCase{"BinaryLeavesEntry", true, Raw(3, Bytes({1, 2})), true, "on entry"},
        ReadCase{"MissingValueEmptiesText", true, std::nullopt, false, ""},
        ReadCase{"MissingKeyEmptiesText", false, std::nullopt, false, ""}),
    RowName());

TEST(GetKeyValue, ValueOfNoBytesRaisesAndClosesTheKey)
{
    InMemoryRegistry registry;
    registry.Set("K", "V", Raw(RegistryText, ""));
    std::string keyVal;
    EXPECT_THROW(GetKeyValue(registry, HkeyLocalMachine, "K", "V", keyVal), SysInfoFailure);
    EXPECT_EQ(registry.closed, registry.opened);
    EXPECT_EQ(registry.closed.size(), 1u);
}

TEST(GetKeyValue, OtherRootIsNotLocalMachine)
{
    InMemoryRegistry registry;
    registry.Set("K", "V", Text("x"));
    std::string keyVal = "on entry";
    EXPECT_FALSE(GetKeyValue(registry, static_cast<std::int32_t>(0x80000001u), "K", "V", keyVal));
    EXPECT_EQ(keyVal, "");
}

// ---- StartSysInfo: the search, the start, the message ----------------------------------

struct StartCase : NamedRow {
    std::optional<StoredValue> place1;
    std::optional<StoredValue> place2;
    std::vector<std::string> files;    // ordinary files present
    std::vector<std::string> programs; // of those, the ones that start
    std::vector<std::string> fileTests;
    std::vector<std::string> starts; // every start attempted, in order
    bool message;
};

class StartSysInfoRow : public testing::TestWithParam<StartCase>
{
};

TEST_P(StartSysInfoRow, StartsTheToolOrShowsTheMessage)
{
    const StartCase &row = GetParam();
    InMemoryRegistry registry;
    if (row.place1) {
        registry.Set(PlaceOneKey, "PATH", *row.place1);
    }
    if (row.place2) {
        registry.Set(PlaceTwoKey, "MSINFO", *row.place2);
    }
    registry.files.insert(row.files.begin(), row.files.end());
    registry.programs.insert(row.programs.begin(), row.programs.end());

    StartSysInfo(registry);

    EXPECT_EQ(registry.fileTests, row.fileTests);
    EXPECT_EQ(registry.starts, row.starts);
    EXPECT_EQ(registry.messages,
              row.message ? std::vector<std::string>{Unavailable} : std::vector<std::string>{});
    EXPECT_EQ(registry.closed.size(), registry.accessAsked.size()) << "every key closed";
}

const std::string Tool = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
const std::string Folder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string FolderTool = Folder + "\\MSINFO32.EXE";

INSTANTIATE_TEST_SUITE_P(
    Searches, StartSysInfoRow,
    testing::Values(
        StartCase{
            "PlaceOneStartedAsRead", Text(Tool), Text(Folder), {Tool}, {Tool}, {}, {Tool}, false},
        StartCase{"PlaceOneWithNoFileStillStartedThenMessage",
                  Text("C:\\Gone\\msinfo32.exe"),
                  Text(Folder),
                  {FolderTool},
                  {FolderTool},
                  {},
                  {"C:\\Gone\\msinfo32.exe"},
                  true},
        StartCase{"PlaceTwoFolderWithTool",
                  std::nullopt,
                  Text(Folder),
                  {FolderTool},
                  {FolderTool},
                  {FolderTool},
                  {FolderTool},
                  false},
        StartCase{"PlaceTwoFolderWithoutTool",
                  std::nullopt,
                  Text(Folder),
                  {},
                  {},
                  {FolderTool},
                  {},
                  true},
        StartCase{"PlaceTwoFileNamesNoProgram",
                  std::nullopt,
                  Text(Folder),
                  {FolderTool},
                  {},
                  {FolderTool},
                  {FolderTool},
                  true},
        StartCase{"TrailingBackslashGivesTwo",
                  std::nullopt,
                  Text("C:\\Tools\\"),
                  {"C:\\Tools\\\\MSINFO32.EXE"},
                  {"C:\\Tools\\\\MSINFO32.EXE"},
                  {"C:\\Tools\\\\MSINFO32.EXE"},
                  {"C:\\Tools\\\\MSINFO32.EXE"},
                  false},
        StartCase{"NeitherPlace", std::nullopt, std::nullopt, {}, {}, {}, {}, true},
        StartCase{"EmptyFolderIsNotTheDriveRoot",
                  std::nullopt,
                  Text(""),
                  {"\\MSINFO32.EXE"},
                  {"\\MSINFO32.EXE"},
                  {},
                  {},
                  true},
        StartCase{"ExpandableTextStartsEmptyPathThenMessage",
                  Typed(RegistryExpandText, "%ProgramFiles%\\msinfo32.exe"),
                  Text(Folder),
                  {FolderTool},
                  {FolderTool},
                  {},
                  {""},
                  true},
        StartCase{"EmptyValueAtPlaceOneRaisesToMessage",
                  Raw(RegistryText, ""),
                  Text(Folder),
                  {FolderTool},
                  {FolderTool},
                  {},
                  {},
                  true},
        StartCase{"EmptyValueAtPlaceTwoRaisesToMessage",
                  std::nullopt,
                  Raw(RegistryBinary, ""),
                  {},
                  {},
                  {},
                  {},
                  true},
        StartCase{"OverlongPlaceOneFallsToPlaceTwo",
                  Text(std::string(1024, 'x')),
                  Text(Folder),
                  {FolderTool},
                  {FolderTool},
                  {FolderTool},
                  {FolderTool},
                  false},
        StartCase{"NumberAtPlaceOneIsNoProgram",
                  Raw(RegistryNumber, Bytes({5, 1, 0, 0})),
                  std::nullopt,
                  {},
                  {},
                  {},
                  {"261"},
                  true}),
    RowName());

TEST(StartSysInfo, EveryPressSearchesAndStartsAgain)
{
    InMemoryRegistry registry;
    registry.Set(PlaceTwoKey, "MSINFO", Text(Folder));
    registry.files = {FolderTool};
    registry.programs = {FolderTool};
    StartSysInfo(registry);
    StartSysInfo(registry);
    EXPECT_EQ(registry.fileTests, (std::vector<std::string>{FolderTool, FolderTool}));
    EXPECT_EQ(registry.starts, (std::vector<std::string>{FolderTool, FolderTool}));
    EXPECT_TRUE(registry.messages.empty());
}

} // namespace
} // namespace pevrand
