#include "app/post_install.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/win_handles.h"
#include "tests/support/test_files.h"
#include "tests/support/test_registry.h"

namespace velora {
namespace {

using test::BuiltProgramPath;
using test::FileExists;
using test::ReadFileBytes;
using test::TempFolder;

std::string OwnFileNameAnsi() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self);
    return path.substr(path.find_last_of("\\/") + 1);
}

// Restores (or removes) the Run value around a test.
class RunValueGuard {
  public:
    RunValueGuard() {
        DWORD bytes = sizeof(saved_);
        had_ = RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_REG_SZ, nullptr,
                            saved_, &bytes) == ERROR_SUCCESS;
        Remove();
    }
    ~RunValueGuard() {
        Remove();
        if (had_) {
            test::WriteRegistryString(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, saved_);
        }
    }
    static void Remove() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName); }

  private:
    wchar_t saved_[MAX_PATH] = {};
    bool had_ = false;
};

struct RunValue {
    bool present = false;
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring text;
};

RunValue ReadRunValue() {
    RunValue value;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return value;
    }
    ScopedRegKey key(opened);
    wchar_t data[600] = {};
    value.bytes = sizeof(data);
    value.present = RegQueryValueExW(key.Get(), kRunValueName, nullptr, &value.type,
                                     reinterpret_cast<BYTE*>(data), &value.bytes) == ERROR_SUCCESS;
    value.text = data;
    return value;
}

void MakeProduct(const TempFolder& dir) {
    CreateDirectoryW((dir / L"Program").c_str(), nullptr);
    test::WriteFileBytes(dir / L"Program\\Dovanix.exe", "MZ");
}

TEST(ChannelFile, HoldsExactlyTheInstallerFileNameWhateverTheTrailingSeparator) {
    TempFolder dir(L"velora_channel");
    for (const std::wstring& installDir : {dir.Path(), dir.Path() + L"\\"}) {
        RemoveDirectory((dir / L"Profiles").c_str());
        DeleteFileW((dir / L"Profiles\\channel.dat").c_str());
        WriteChannelFile(installDir.c_str());
        EXPECT_EQ(ReadFileBytes(dir / L"Profiles\\channel.dat"), OwnFileNameAnsi());
    }
}

TEST(ChannelFile, ReusesTheFolderAndReplacesAnOldFile) {
    TempFolder dir(L"velora_channel_again");
    CreateDirectoryW((dir / L"Profiles").c_str(), nullptr);
    test::WriteFileBytes(dir / L"Profiles\\channel.dat", "an older and much longer channel name");
    WriteChannelFile(dir.Path().c_str());
    EXPECT_EQ(ReadFileBytes(dir / L"Profiles\\channel.dat"), OwnFileNameAnsi());
}

TEST(ChannelFile, NothingHappensWithoutADirectoryOrWhenProfilesIsAFile) {
    WriteChannelFile(nullptr);
    WriteChannelFile(L"");
    TempFolder dir(L"velora_channel_blocked");
    test::WriteFileBytes(dir / L"Profiles", "not a folder");
    WriteChannelFile(dir.Path().c_str());
    EXPECT_EQ(ReadFileBytes(dir / L"Profiles"), "not a folder");
}

// A link planted in the install directory to lead the channel file into
// `decoy`, a folder holding a channel.dat of its own.
struct ChannelPlant {
    const char* name;
    const wchar_t* link;  // below the install directory
    // False when this system cannot make the link.
    bool (*plant)(const std::wstring& link, const TempFolder& dir, const TempFolder& decoy);
};

void PrintTo(const ChannelPlant& plant, std::ostream* out) {
    *out << plant.name;
}

bool PlantFolderJunction(const std::wstring& link, const TempFolder&, const TempFolder& decoy) {
    return test::MakeJunction(link, decoy.Path());
}

bool PlantFolderSymbolicLink(const std::wstring& link, const TempFolder&, const TempFolder& decoy) {
    return test::MakeSymbolicLink(link, decoy.Path(), true);
}

bool PlantFileSymbolicLink(const std::wstring& link, const TempFolder& dir,
                           const TempFolder& decoy) {
    return CreateDirectoryW((dir / L"Profiles").c_str(), nullptr) &&
           test::MakeSymbolicLink(link, decoy / L"channel.dat", false);
}

bool PlantFileHardLink(const std::wstring& link, const TempFolder& dir, const TempFolder& decoy) {
    return CreateDirectoryW((dir / L"Profiles").c_str(), nullptr) &&
           CreateHardLinkW(link.c_str(), (decoy / L"channel.dat").c_str(), nullptr);
}

const ChannelPlant kChannelPlants[] = {
    {"ProfilesJunction", L"Profiles", PlantFolderJunction},
    {"ProfilesSymbolicLink", L"Profiles", PlantFolderSymbolicLink},
    {"FileSymbolicLink", L"Profiles\\channel.dat", PlantFileSymbolicLink},
    {"FileHardLink", L"Profiles\\channel.dat", PlantFileHardLink},
};

// Removes a planted link before the folders go.
struct LinkRemover {
    std::wstring path;
    ~LinkRemover() { test::RemoveLink(path); }
};

class ChannelFileLink : public ::testing::TestWithParam<ChannelPlant> {};

TEST_P(ChannelFileLink, NothingIsWrittenThroughIt) {
    TempFolder decoy(L"velora_channel_decoy");
    TempFolder dir(L"velora_channel_link");
    test::WriteFileBytes(decoy / L"channel.dat", "decoy");
    const LinkRemover link{dir / GetParam().link};
    if (!GetParam().plant(link.path, dir, decoy)) {
        GTEST_SKIP() << "this system cannot make the link: not tested here";
    }
    WriteChannelFile(dir.Path().c_str());
    EXPECT_EQ(ReadFileBytes(decoy / L"channel.dat"), "decoy");
}

INSTANTIATE_TEST_SUITE_P(Planted, ChannelFileLink, ::testing::ValuesIn(kChannelPlants),
                         [](const ::testing::TestParamInfo<ChannelPlant>& info) {
                             return std::string(info.param.name);
                         });

TEST(AutoStart, WritesTheQuotedProductPathAsAFullBuffer) {
    RunValueGuard guard;
    TempFolder dir(L"velora_autostart");
    MakeProduct(dir);
    SetAutoStart((dir.Path() + L"\\").c_str());
    const RunValue value = ReadRunValue();
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.bytes, 520u);
    EXPECT_EQ(value.text, L"\"" + (dir / L"Program\\Dovanix.exe") + L"\"");
}

TEST(AutoStart, SkippedWhenTheProductIsMissingAndKeepsAnEarlierValue) {
    RunValueGuard guard;
    TempFolder dir(L"velora_autostart_missing");
    SetAutoStart(dir.Path().c_str());
    EXPECT_FALSE(ReadRunValue().present);

    test::WriteRegistryString(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, L"C:\\earlier.exe");
    SetAutoStart(dir.Path().c_str());
    SetAutoStart(L"");
    EXPECT_EQ(ReadRunValue().text, L"C:\\earlier.exe");
}

// Launches the idle stand-in, placed as the product, and reads back the
// command line it was given.
class ProductLaunch : public ::testing::Test {
  protected:
    ProductLaunch()
        : dir_(L"velora launch dir"),
          argsFile_(dir_ / L"args.txt"),
          args_(L"VELORA_ARGS_FILE", argsFile_.c_str()),
          idle_(L"VELORA_IDLE_MS", L"0") {
        CreateDirectoryW((dir_ / L"Program").c_str(), nullptr);
        CopyFileW(BuiltProgramPath(L"idle_process.exe").c_str(),
                  (dir_ / L"Program\\Dovanix.exe").c_str(), FALSE);
    }

    std::wstring ReceivedCommandLine() {
        for (int i = 0; i < 100 && !FileExists(argsFile_); ++i) {
            Sleep(50);
        }
        Sleep(100);
        const std::string bytes = ReadFileBytes(argsFile_);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    }

    TempFolder dir_;
    std::wstring argsFile_;
    test::ScopedEnvironmentVariable args_;
    test::ScopedEnvironmentVariable idle_;
};

TEST_F(ProductLaunch, ProductGetsItsQuotedPathAndTwoSpaces) {
    ASSERT_TRUE(LaunchInstalledProduct(dir_.Path().c_str()));
    EXPECT_EQ(ReceivedCommandLine(), L"\"" + (dir_ / L"Program\\Dovanix.exe") + L"\"  ");
}

TEST_F(ProductLaunch, APlantedProgramAtTheFirstSpaceIsNotStarted) {
    // "<temp>\velora launch dir\..." unquoted would first try "<temp>\velora.exe".
    const std::wstring planted = dir_.Path().substr(0, dir_.Path().find(L' ')) + L".exe";
    ASSERT_TRUE(CopyFileW(BuiltProgramPath(L"idle_process.exe").c_str(), planted.c_str(), FALSE));
    const bool launched = LaunchInstalledProduct(dir_.Path().c_str());
    const std::wstring received = ReceivedCommandLine();
    DeleteFileW(planted.c_str());
    ASSERT_TRUE(launched);
    EXPECT_EQ(received.find(L"\"" + dir_.Path()), 0u) << received;
}

TEST(Launch, NothingStartsForAnEmptyDirectoryOrAMissingProgram) {
    EXPECT_FALSE(LaunchInstalledProduct(L""));
    EXPECT_FALSE(LaunchInstalledProduct(nullptr));
    TempFolder dir(L"velora_launch_missing");
    EXPECT_FALSE(LaunchInstalledProduct(dir.Path().c_str()));
    EXPECT_FALSE(LaunchDeElevated(nullptr, L" "));
}

TEST(Launch, ACommandLineThatWouldNotFitIsRefused) {
    const std::wstring longPath = L"C:\\" + std::wstring(250, L'a') + L".exe";
    EXPECT_FALSE(LaunchDeElevated(longPath.c_str(), L" "));
}

}  // namespace
}  // namespace velora
