#include "app/post_install.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "app/process_control.h"
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

// COM for the calling thread, for the life of the object.
struct ComScope {
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

// Routes that record each call and the last request, and answer as told.
struct RecordedRoutes {
    std::vector<std::string> calls;
    std::vector<std::wstring> request;  // path, arguments, command line, folder

    LaunchRoute Route(const char* name, bool starts) {
        return [this, name, starts](const LaunchRequest& asked) {
            calls.push_back(name);
            request = {asked.path, asked.arguments, asked.commandLine, asked.folder};
            return starts;
        };
    }
};

// Places the idle stand-in as the product; launched, it writes down the
// command line it was given.
class ProductLaunch : public ::testing::Test {
  protected:
    ProductLaunch()
        : dir_(L"velora launch dir"),
          product_(dir_ / L"Program\\Dovanix.exe"),
          argsFile_(dir_ / L"args.txt"),
          args_(L"VELORA_ARGS_FILE", argsFile_.c_str()),
          idle_(L"VELORA_IDLE_MS", L"0") {
        CreateDirectoryW((dir_ / L"Program").c_str(), nullptr);
        CopyFileW(BuiltProgramPath(L"idle_process.exe").c_str(), product_.c_str(), FALSE);
    }

    // The token route alone: a process started through the shell would not
    // see this process's environment and could not write down its command line.
    static LaunchRoutes TokenOnly() {
        LaunchRoutes routes;
        routes.shell = nullptr;
        return routes;
    }

    std::wstring ReceivedCommandLine(int waits = 100) {
        for (int i = 0; i < waits && !FileExists(argsFile_); ++i) {
            Sleep(50);
        }
        Sleep(100);
        const std::string bytes = ReadFileBytes(argsFile_);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    }

    TempFolder dir_;
    std::wstring product_;
    std::wstring argsFile_;
    test::ScopedEnvironmentVariable args_;
    test::ScopedEnvironmentVariable idle_;
};

TEST_F(ProductLaunch, ProductGetsItsQuotedPathAndTwoSpaces) {
    ASSERT_TRUE(LaunchInstalledProduct(dir_.Path().c_str(), TokenOnly()));
    EXPECT_EQ(ReceivedCommandLine(), L"\"" + product_ + L"\"  ");
}

TEST_F(ProductLaunch, APlantedProgramAtTheFirstSpaceIsNotStarted) {
    // "<temp>\velora launch dir\..." unquoted would first try "<temp>\velora.exe".
    const std::wstring planted = dir_.Path().substr(0, dir_.Path().find(L' ')) + L".exe";
    ASSERT_TRUE(CopyFileW(BuiltProgramPath(L"idle_process.exe").c_str(), planted.c_str(), FALSE));
    const bool launched = LaunchInstalledProduct(dir_.Path().c_str(), TokenOnly());
    const std::wstring received = ReceivedCommandLine();
    DeleteFileW(planted.c_str());
    ASSERT_TRUE(launched);
    EXPECT_EQ(received.find(L"\"" + dir_.Path()), 0u) << received;
}

TEST_F(ProductLaunch, TheTokenRouteRunsOnlyWhenTheShellFailsAndNothingRunsAfterIt) {
    const struct {
        bool shellStarts;
        bool tokenStarts;
        bool started;
        std::vector<std::string> calls;
    } cases[] = {
        {true, true, true, {"shell"}},
        {false, true, true, {"shell", "token"}},
        {false, false, false, {"shell", "token"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "shell " << c.shellStarts << ", token " << c.tokenStarts);
        RecordedRoutes routes;
        const LaunchRoutes injected = {routes.Route("shell", c.shellStarts),
                                       routes.Route("token", c.tokenStarts)};
        EXPECT_EQ(LaunchInstalledProduct(dir_.Path().c_str(), injected), c.started);
        EXPECT_EQ(routes.calls, c.calls);
        EXPECT_EQ(routes.request,
                  (std::vector<std::wstring>{product_, L" ", L"\"" + product_ + L"\"  ",
                                             dir_ / L"Program"}));
    }
    // The routes started nothing, so neither may anything else: no elevated
    // start behind their back.
    EXPECT_EQ(ReceivedCommandLine(30), L"");
}

TEST_F(ProductLaunch, TheShellStartsTheProduct) {
    const ComScope com;
    // Started by the shell, the stand-in idles 30 s under a name of its own.
    const std::wstring probe = dir_ / L"Program\\velora_shell_probe.exe";
    ASSERT_TRUE(CopyFileW(product_.c_str(), probe.c_str(), FALSE));
    LaunchRoutes shellOnly;
    shellOnly.token = nullptr;
    // Wine's desktop shell registers itself a moment after the first program
    // of a session starts; a failed attempt starts nothing, so try again.
    bool launched = false;
    for (int attempt = 0; attempt < 40 && !launched; ++attempt) {
        launched = LaunchDeElevated(probe.c_str(), L" ", shellOnly);
        if (!launched) {
            Sleep(250);
        }
    }
    ASSERT_TRUE(launched);
    bool running = false;
    for (int i = 0; i < 200 && !running; ++i) {
        Sleep(50);
        running = FindProcessByName(L"velora_shell_probe.exe");
    }
    EXPECT_TRUE(running);
    for (int i = 0; i < 100 && FindProcessByName(L"velora_shell_probe.exe"); ++i) {
        TerminateProcessByName(L"velora_shell_probe.exe");
        Sleep(50);
    }
}

std::wstring IntegrityOf(HANDLE token) {
    BYTE buffer[128] = {};
    DWORD length = 0;
    ScopedLocalMemory<LPWSTR> text;
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof(buffer), &length) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid,
                                text.Receive())) {
        return L"?";
    }
    return text.Get();
}

// Whether this system keeps the integrity label set on a token (Wine 8 does
// not: it reports high integrity whatever was set).
bool SystemKeepsIntegrityLabels() {
    HANDLE own = nullptr;
    HANDLE copy = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE, &own);
    ScopedHandle ownToken(own);
    if (!DuplicateTokenEx(own, MAXIMUM_ALLOWED, nullptr, SecurityAnonymous, TokenPrimary, &copy)) {
        return false;
    }
    ScopedHandle lowered(copy);
    ScopedLocalMemory<PSID> low;
    if (!ConvertStringSidToSidW(L"S-1-16-4096", low.Receive())) {
        return false;
    }
    TOKEN_MANDATORY_LABEL label = {{low.Get(), SE_GROUP_INTEGRITY}};
    return SetTokenInformation(copy, TokenIntegrityLevel, &label,
                               sizeof(label) + GetLengthSid(low.Get())) &&
           IntegrityOf(copy) == L"S-1-16-4096";
}

TEST(Launch, TheTokenRouteBuildsAPrimaryMediumIntegrityToken) {
    const ScopedHandle token = MakeMediumIntegrityToken();
    ASSERT_TRUE(token);
    TOKEN_TYPE type = TokenImpersonation;
    DWORD length = 0;
    ASSERT_TRUE(GetTokenInformation(token.Get(), TokenType, &type, sizeof(type), &length));
    EXPECT_EQ(type, TokenPrimary);
    if (!SystemKeepsIntegrityLabels()) {
        GTEST_SKIP() << "this system does not keep token integrity labels (Wine 8 does not)";
    }
    EXPECT_EQ(IntegrityOf(token.Get()), kMediumIntegritySid);
}

TEST(Launch, NothingStartsForAnEmptyDirectoryOrAMissingProgram) {
    const ComScope com;  // so the shell could be asked
    EXPECT_FALSE(LaunchInstalledProduct(L""));
    EXPECT_FALSE(LaunchInstalledProduct(nullptr));
    TempFolder dir(L"velora_launch_missing");
    EXPECT_FALSE(LaunchInstalledProduct(dir.Path().c_str()));
    EXPECT_FALSE(LaunchDeElevated(nullptr, L" "));
}

TEST(Launch, ACommandLineThatWouldNotFitIsRefused) {
    // A program whose path fits (257 characters) but whose quoted command
    // line with two spaces (261) does not.
    TempFolder dir(L"velora_launch_long");
    const std::wstring program =
        dir / (std::wstring(257 - dir.Path().size() - 1 - 4, L'a') + L".exe");
    ASSERT_EQ(program.size(), 257u);
    test::WriteFileBytes(program, "MZ");
    RecordedRoutes routes;
    EXPECT_FALSE(LaunchDeElevated(program.c_str(), L" ",
                                  {routes.Route("shell", true), routes.Route("token", true)}));
    EXPECT_TRUE(routes.calls.empty());
}

}  // namespace
}  // namespace velora
