#include "app/setup_folder.h"

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <cstring>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "app/process_security.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::FileExists;
using test::FolderExists;
using test::MakeJunction;
using test::TempFolder;

// Rights that let a holder change what the folder or the program holds.
constexpr ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                     FILE_WRITE_ATTRIBUTES | FILE_DELETE_CHILD | DELETE |
                                     WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
constexpr ACCESS_MASK kReadExecuteRights = FILE_READ_DATA | FILE_EXECUTE;

struct Ace {
    std::wstring sid;  // SDDL form: "BA", "SY", "BU", or S-1-...
    ACCESS_MASK mask = 0;
    BYTE flags = 0;
};

std::wstring SidString(PSID sid) {
    ScopedLocalMemory<LPWSTR> text;
    if (!::ConvertSidToStringSidW(sid, text.Receive())) {
        return L"?";
    }
    const std::wstring full = text.Get();
    if (full == L"S-1-5-32-544")
        return L"BA";
    if (full == L"S-1-5-18")
        return L"SY";
    if (full == L"S-1-5-32-545")
        return L"BU";
    if (full == L"S-1-1-0")
        return L"WD";
    if (full == L"S-1-5-11")
        return L"AU";
    return full;
}

// The allow ACEs of `acl`; a deny ACE or any other kind fails the test.
std::vector<Ace> AllowAces(PACL acl) {
    std::vector<Ace> aces;
    ACL_SIZE_INFORMATION size = {};
    if (acl == nullptr || !::GetAclInformation(acl, &size, sizeof(size), AclSizeInformation)) {
        ADD_FAILURE() << "no DACL";
        return aces;
    }
    for (DWORD i = 0; i < size.AceCount; ++i) {
        void* raw = nullptr;
        if (!::GetAce(acl, i, &raw)) {
            ADD_FAILURE() << "unreadable ACE " << i;
            continue;
        }
        const auto* header = static_cast<ACE_HEADER*>(raw);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            ADD_FAILURE() << "unexpected ACE type " << int(header->AceType);
            continue;
        }
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(raw);
        aces.push_back({SidString(&allowed->SidStart), allowed->Mask, header->AceFlags});
    }
    return aces;
}

// Who may write, and who may read and execute, according to `acl`.
void ExpectOnlyAdministratorsAndSystemWrite(PACL acl) {
    std::set<std::wstring> writers;
    std::set<std::wstring> readers;
    for (const Ace& ace : AllowAces(acl)) {
        if ((ace.mask & kWriteRights) != 0) {
            writers.insert(ace.sid);
        }
        if ((ace.mask & kReadExecuteRights) == kReadExecuteRights) {
            readers.insert(ace.sid);
        }
        EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                  ace.flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE))
            << "the program inside must get the same rights";
    }
    EXPECT_EQ((std::set<std::wstring>{L"BA", L"SY"}), writers);
    EXPECT_EQ((std::set<std::wstring>{L"BA", L"BU", L"SY"}), readers);
}

// Hands out the given names in turn, counting the calls.
struct NameList {
    std::vector<std::wstring> names;
    int calls = 0;
    FolderNameSource Source() {
        return [this](wchar_t* out, std::size_t capacity) {
            const std::wstring& name = names[std::min<std::size_t>(calls, names.size() - 1)];
            ++calls;
            return CopyBounded(out, capacity, name.c_str());
        };
    }
};

bool IsReparsePoint(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Whether this system keeps the DACL a folder is created with (Wine 8 does
// not: it reports one made from the Unix permissions).
bool SystemKeepsFolderDacls(const std::wstring& parent) {
    const std::wstring probe = parent + L"\\dacl probe";
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> security;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;AN)", SDDL_REVISION_1, security.Receive(),
            nullptr)) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), security.Get(), FALSE};
    if (!::CreateDirectoryW(probe.c_str(), &attributes)) {
        return false;
    }
    PACL dacl = nullptr;
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> read;
    bool kept = false;
    if (::GetNamedSecurityInfoW(probe.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &dacl, nullptr, read.Receive()) == ERROR_SUCCESS) {
        for (const Ace& ace : AllowAces(dacl)) {
            kept = kept || ace.sid == L"S-1-5-7";  // the anonymous logon ACE
        }
    }
    ::RemoveDirectoryW(probe.c_str());
    return kept;
}

TEST(SetupFolderNameTest, RandomNamesKeepThePrefixAndDiffer) {
    PathBuffer first = {};
    PathBuffer second = {};
    ASSERT_TRUE(RandomSetupFolderName(first, kPathChars));
    ASSERT_TRUE(RandomSetupFolderName(second, kPathChars));
    const std::wstring name = first;
    ASSERT_EQ(0u, name.find(kSetupFolderPrefix));
    ASSERT_EQ(std::wcslen(kSetupFolderPrefix) + 16, name.size());
    for (wchar_t c : name.substr(std::wcslen(kSetupFolderPrefix))) {
        EXPECT_TRUE(std::iswxdigit(c)) << "not a hex digit: " << char(c);
    }
    EXPECT_STRNE(first, second);

    wchar_t tooSmall[8] = L"old";
    EXPECT_FALSE(RandomSetupFolderName(tooSmall, 8));
}

TEST(SetupFolderSecurityTest, OnlyAdministratorsAndSystemMayWrite) {
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> security = MakeSetupFolderSecurity();
    ASSERT_TRUE(security);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(security.Get(), &control, &revision));
    EXPECT_NE(0, control & SE_DACL_PROTECTED) << "the temp folder's ACEs must not be inherited";
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(::GetSecurityDescriptorDacl(security.Get(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present);
    ASSERT_NE(nullptr, dacl) << "a null DACL would let everyone write";
    ExpectOnlyAdministratorsAndSystemWrite(dacl);
}

class SetupFolderTest : public ::testing::Test {
  protected:
    TempFolder parent_{L"velora setup folder test"};
};

TEST_F(SetupFolderTest, TakenNamesAreSkippedAndLeftAlone) {
    // A leftover folder (or one planted by someone else) under the first name.
    const std::wstring taken = parent_ / L"velora_taken";
    ASSERT_TRUE(::CreateDirectoryW(taken.c_str(), nullptr));
    test::WriteFileBytes(taken + L"\\" + kSetupProgramName, "planted");
    test::WriteFileBytes(parent_ / L"velora_file", "a file, not a folder");

    NameList names{{L"velora_taken", L"velora_file", L"velora_free"}};
    SetupFolder folder;
    ASSERT_TRUE(folder.Create(parent_.Path().c_str(), names.Source()));
    EXPECT_EQ(3, names.calls);
    EXPECT_EQ(parent_ / L"velora_free", std::wstring(folder.Path()));
    EXPECT_EQ(parent_ / L"velora_free\\" + kSetupProgramName, std::wstring(folder.ProgramPath()));
    EXPECT_TRUE(FolderExists(folder.Path()));
    EXPECT_EQ("planted", test::ReadFileBytes(taken + L"\\" + kSetupProgramName));
    EXPECT_EQ("a file, not a folder", test::ReadFileBytes(parent_ / L"velora_file"));
}

TEST_F(SetupFolderTest, GivesUpWhenEveryNameIsTaken) {
    ASSERT_TRUE(::CreateDirectoryW((parent_ / L"velora_taken").c_str(), nullptr));
    NameList names{{L"velora_taken"}};
    SetupFolder folder;
    EXPECT_FALSE(folder.Create(parent_.Path().c_str(), names.Source()));
    EXPECT_EQ(kSetupFolderAttempts, names.calls);
    EXPECT_FALSE(folder.IsCreated());
}

TEST_F(SetupFolderTest, NamesThatAreNotPlainNamesAreRefused) {
    for (const wchar_t* bad : {L"..\\velora_out", L"sub/velora_x", L"C:velora", L"..", L""}) {
        NameList names{{bad}};
        SetupFolder folder;
        EXPECT_FALSE(folder.Create(parent_.Path().c_str(), names.Source())) << bad;
    }
    EXPECT_FALSE(FolderExists(parent_.Path() + L"\\..\\velora_out"));
}

TEST_F(SetupFolderTest, MissingParentCreatesNothing) {
    SetupFolder folder;
    EXPECT_FALSE(folder.Create((parent_ / L"missing").c_str()));
    EXPECT_FALSE(folder.Create(L""));
    EXPECT_FALSE(folder.Create(nullptr));
    EXPECT_FALSE(folder.IsCreated());
}

TEST_F(SetupFolderTest, ExistingJunctionIsNeverUsed) {
    TempFolder elsewhere(L"velora junction target");
    const std::wstring junction = parent_ / L"velora_junction";
    if (!MakeJunction(junction, elsewhere.Path())) {
        GTEST_SKIP() << "this system cannot make a junction (Wine 8 cannot): not tested here";
    }
    NameList names{{L"velora_junction", L"velora_real"}};
    SetupFolder folder;
    ASSERT_TRUE(folder.Create(parent_.Path().c_str(), names.Source()));
    EXPECT_EQ(parent_ / L"velora_real", std::wstring(folder.Path()));
    const char program[] = "MZ program";
    ASSERT_TRUE(folder.WriteProgram(program, sizeof(program)));
    EXPECT_FALSE(FileExists(elsewhere / kSetupProgramName))
        << "nothing may go through the junction";
    ::RemoveDirectoryW(junction.c_str());
}

TEST_F(SetupFolderTest, FolderGetsTheRestrictedDacl) {
    if (!SystemKeepsFolderDacls(parent_.Path())) {
        GTEST_SKIP() << "this system does not keep folder DACLs (Wine 8 does not): the DACL "
                        "is checked on the descriptor instead";
    }
    SetupFolder folder;
    ASSERT_TRUE(folder.Create(parent_.Path().c_str()));
    ScopedHandle handle(::CreateFileW(folder.Path(), READ_CONTROL,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(handle);
    PACL dacl = nullptr;
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> read;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              ::GetSecurityInfo(handle.Get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &dacl, nullptr, read.Receive()));
    ExpectOnlyAdministratorsAndSystemWrite(dacl);
}

TEST_F(SetupFolderTest, ProgramIsWrittenOnceAndNeverOverwritten) {
    SetupFolder folder;
    ASSERT_TRUE(folder.Create(parent_.Path().c_str()));
    const std::string first = "MZ first";
    ASSERT_TRUE(folder.WriteProgram(first.data(), static_cast<DWORD>(first.size())));
    EXPECT_EQ(first, test::ReadFileBytes(folder.ProgramPath()));

    const std::string second = "MZ second, longer than the first";
    EXPECT_FALSE(folder.WriteProgram(second.data(), static_cast<DWORD>(second.size())))
        << "an existing file must not be opened";
    EXPECT_EQ(first, test::ReadFileBytes(folder.ProgramPath()));
}

TEST_F(SetupFolderTest, ProgramNameTakenByALinkIsRefused) {
    SetupFolder folder;
    ASSERT_TRUE(folder.Create(parent_.Path().c_str()));
    TempFolder elsewhere(L"velora link target");
    const std::wstring target = elsewhere / L"target.exe";
    test::WriteFileBytes(target, "target");
    if (!::CreateSymbolicLinkW(folder.ProgramPath(), target.c_str(), 0) ||
        !IsReparsePoint(folder.ProgramPath())) {
        GTEST_SKIP() << "this system cannot make a file symbolic link (Wine 8 only pretends): "
                        "not tested here";
    }
    const char program[] = "MZ program";
    EXPECT_FALSE(folder.WriteProgram(program, sizeof(program)));
    EXPECT_EQ("target", test::ReadFileBytes(target));
}

TEST_F(SetupFolderTest, WritingNeedsAFolder) {
    SetupFolder folder;
    const char program[] = "MZ";
    EXPECT_FALSE(folder.WriteProgram(program, sizeof(program)));
}

TEST_F(SetupFolderTest, FolderAndProgramGoWithTheObject) {
    std::wstring path;
    {
        SetupFolder folder;
        ASSERT_TRUE(folder.Create(parent_.Path().c_str()));
        const char program[] = "MZ program";
        ASSERT_TRUE(folder.WriteProgram(program, sizeof(program)));
        path = folder.Path();
        ASSERT_TRUE(FileExists(folder.ProgramPath()));
    }
    EXPECT_FALSE(FolderExists(path));
}

TEST_F(SetupFolderTest, MovingHandsOverTheFolder) {
    SetupFolder first;
    ASSERT_TRUE(first.Create(parent_.Path().c_str()));
    const std::wstring firstPath = first.Path();
    SetupFolder moved(std::move(first));
    EXPECT_FALSE(first.IsCreated());
    first.Remove();
    EXPECT_TRUE(FolderExists(firstPath)) << "the moved-from object owns nothing";

    SetupFolder other;
    ASSERT_TRUE(other.Create(parent_.Path().c_str()));
    const std::wstring otherPath = other.Path();
    other = std::move(moved);
    EXPECT_FALSE(FolderExists(otherPath)) << "the folder replaced by assignment is removed";
    EXPECT_EQ(firstPath, std::wstring(other.Path()));
    EXPECT_TRUE(FolderExists(firstPath));
}

TEST_F(SetupFolderTest, FolderIsRemovedOnceTheProgramHasEnded) {
    const std::string program = test::ReadFileBytes(test::BuiltProgramPath(L"idle_process.exe"));
    ASSERT_GT(program.size(), 2u);
    SetupFolder folder;
    ASSERT_TRUE(folder.Create(parent_.Path().c_str()));
    ASSERT_TRUE(folder.WriteProgram(program.data(), static_cast<DWORD>(program.size())));
    const std::wstring path = folder.Path();

    std::wstring line = L"\"" + std::wstring(folder.ProgramPath()) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(::CreateProcessW(folder.ProgramPath(), line.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &info));
    ::CloseHandle(info.hThread);
    ScopedHandle process(info.hProcess);
    folder.WatchProcess(process.Get());
    ::TerminateProcess(process.Get(), 0);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.Get(), 30000));

    folder.Remove();
    EXPECT_FALSE(FolderExists(path));
    EXPECT_FALSE(folder.IsCreated());
}

// What was set against what is there: every ACE counts, in order.
TEST(SetupFolderCheckTest, AclsMatchOnlyWhenEveryAceIsTheSame) {
    const wchar_t* base = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FRFX;;;BU)";
    const struct {
        const wchar_t* other;
        bool same;
    } cases[] = {
        {base, true},
        {L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)", false},  // order
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FA;;;BU)", false},    // rights
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FRFX;;;WD)", false},  // who
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;CI;FRFX;;;BU)", false},    // inheritance
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", false},                    // one missing
        {L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FRFX;;;BU)(A;;FA;;;WD)", false},
    };
    auto daclOf = [](const ScopedLocalMemory<PSECURITY_DESCRIPTOR>& sd) {
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        ::GetSecurityDescriptorDacl(sd.Get(), &present, &dacl, &defaulted);
        return dacl;
    };
    const auto expected = SecurityFromSddl(base);
    ASSERT_TRUE(expected);
    for (const auto& c : cases) {
        const auto other = SecurityFromSddl(c.other);
        ASSERT_TRUE(other) << c.other;
        EXPECT_EQ(c.same, SameAcl(daclOf(expected), daclOf(other))) << c.other;
    }
    EXPECT_FALSE(SameAcl(daclOf(expected), nullptr)) << "a null DACL grants everyone everything";
}

TEST_F(SetupFolderTest, FolderChecksRefuseWhatWasNotMadeHere) {
    const auto expected = MakeSetupFolderSecurity();
    ASSERT_TRUE(expected);
    const std::wstring file = parent_ / L"a file";
    test::WriteFileBytes(file, "x");
    const std::wstring plain = parent_ / L"plain folder";
    ASSERT_TRUE(::CreateDirectoryW(plain.c_str(), nullptr));
    auto open = [](const std::wstring& path) {
        return ScopedHandle(::CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    };
    EXPECT_EQ(FolderRefusal::kNotAPlainFolder,
              CheckSetupFolder(open(file).Get(), expected.Get(), DescriptorCheck::kSkip));
    // A folder with the DACL it inherited, not the one asked for.
    const FolderRefusal inherited =
        CheckSetupFolder(open(plain).Get(), expected.Get(), DescriptorCheck::kFull);
    EXPECT_TRUE(inherited == FolderRefusal::kDaclNotAsSet ||
                inherited == FolderRefusal::kUntrustedOwner)
        << static_cast<int>(inherited);
    EXPECT_EQ(FolderRefusal::kNone,
              CheckSetupFolder(open(plain).Get(), expected.Get(), DescriptorCheck::kSkip));
}

// While the installer holds the folder nobody can rename it and put another
// in its place; where a file system lets it happen anyway (a Unix rename
// under Wine: tests/e2e/hostile_temp.sh), the clean-up checks what it deletes.
TEST_F(SetupFolderTest, TheFolderCannotBeRenamedWhileItIsInUse) {
    SetupFolder folder;
    ASSERT_TRUE(folder.Create(parent_.Path().c_str()));
    ASSERT_TRUE(folder.WriteProgram("MZ", 2));
    folder.ReleaseProgram();
    const std::wstring path = folder.Path();
    EXPECT_FALSE(::MoveFileW(path.c_str(), (parent_ / L"moved away").c_str()));
    EXPECT_TRUE(FolderExists(path));
    folder.Remove();
    EXPECT_FALSE(FolderExists(path));
}

}  // namespace
}  // namespace velora
