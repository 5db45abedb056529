#include "app/install_log.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

// The lines of a log without their time stamps; the stamps' form is checked.
std::vector<std::string> Lines(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(0u, bytes.rfind("\xEF\xBB\xBF", 0)) << "no byte-order mark";
    static const std::regex kLine(R"((\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z) (.*)\r)");
    std::vector<std::string> lines;
    std::size_t start = 3;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::smatch match;
        const std::string line = bytes.substr(start, end - start);
        EXPECT_TRUE(std::regex_match(line, match, kLine)) << line;
        lines.push_back(match.size() == 3 ? match[2].str() : line);
    }
    EXPECT_EQ(start, bytes.size()) << "the last line is not ended";
    return lines;
}

TEST(ProgressSamplerTest, KeepsFirstEachNewTenthAndTheLast) {
    const struct {
        std::vector<int> reports;
        std::vector<int> kept;  // the last entry is -1 when no last report is left over
    } cases[] = {
        {{0, 3, 7, 12, 19, 20, 100}, {0, 12, 20, 100, -1}},
        {{5, 50, 55}, {5, 50, 55}},
        {{100, 100}, {100, -1}},
        {{40, 45, 40}, {40, -1}},
        {{-3, 40, 120}, {-3, 40, 120, -1}},
        {{}, {-1}},
    };
    for (const auto& c : cases) {
        ProgressSampler sampler;
        std::vector<int> kept;
        for (int report : c.reports) {
            if (sampler.Take(report)) {
                kept.push_back(report);
            }
        }
        int last = -1;
        kept.push_back(sampler.TakeLast(last) ? last : -1);
        EXPECT_EQ(c.kept, kept) << "reports: " << ::testing::PrintToString(c.reports);
        EXPECT_FALSE(sampler.TakeLast(last)) << "the last report is kept once";
    }
}

TEST(InstallLogTest, TimeStampedUtf8LinesStartedAfresh) {
    TempFolder dir(L"velora log");
    const std::wstring path = dir / L"install.log";
    test::WriteFileBytes(path, "an older log that is longer than the new one will be");
    InstallLog log;
    log.Write(L"before opening: not written");
    ASSERT_TRUE(log.Open(path.c_str(), InstallLog::Place::kChosen));
    log.Write(L"install directory: %ls", L"D:\\安装 目录");
    log.Error(ERROR_ACCESS_DENIED, L"could not write %d", 7);
    log.Progress(5);
    log.Progress(8);
    log.EndProgress();
    log.Close();
    log.Write(L"after closing: not written");
    const std::vector<std::string> lines = Lines(path);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ("install directory: D:\\\xE5\xAE\x89\xE8\xA3\x85 \xE7\x9B\xAE\xE5\xBD\x95", lines[0]);
    EXPECT_EQ(0u, lines[1].rfind("error: could not write 7 (Win32 5: ", 0)) << lines[1];
    EXPECT_EQ("progress 5 %", lines[2]);
    EXPECT_EQ("progress 8 % (last report)", lines[3]);
}

TEST(InstallLogTest, WritesFromSeveralThreadsStayWholeLines) {
    TempFolder dir(L"velora log threads");
    const std::wstring path = dir / L"install.log";
    InstallLog log;
    ASSERT_TRUE(log.Open(path.c_str(), InstallLog::Place::kChosen));
    auto writer = [&log](int id) {
        for (int i = 0; i < 200; ++i) {
            log.Write(L"thread %d line %d", id, i);
        }
    };
    std::thread a(writer, 1);
    std::thread b(writer, 2);
    a.join();
    b.join();
    log.Close();
    EXPECT_EQ(400u, Lines(path).size());
}

TEST(InstallLogTest, UnusablePathLeavesTheLogClosed) {
    TempFolder dir(L"velora log unusable");
    InstallLog log;
    for (const std::wstring& path : {dir / L"missing\\install.log", dir.Path(), std::wstring()}) {
        EXPECT_FALSE(log.Open(path.c_str(), InstallLog::Place::kChosen)) << path.c_str();
        EXPECT_FALSE(log.IsOpen());
        log.Write(L"nowhere");
    }
}

// In the user's temporary folder the log is never written through a link.
TEST(InstallLogTest, UserTempRefusesLinks) {
    TempFolder dir(L"velora log temp");
    TempFolder decoy(L"velora log decoy");
    test::WriteFileBytes(decoy / L"target.log", "decoy");
    ASSERT_TRUE(::CreateDirectoryW((dir / L"plain").c_str(), nullptr));
    const struct {
        const char* name;
        std::wstring log;
        bool (*plant)(const std::wstring& dir, const std::wstring& decoy);
    } cases[] = {
        {"file symbolic link", dir / L"plain\\sym.log",
         [](const std::wstring& d, const std::wstring& x) {
             return test::MakeSymbolicLink(d + L"\\plain\\sym.log", x + L"\\target.log", false);
         }},
        {"hard link", dir / L"plain\\hard.log",
         [](const std::wstring& d, const std::wstring& x) {
             return ::CreateHardLinkW((d + L"\\plain\\hard.log").c_str(),
                                      (x + L"\\target.log").c_str(), nullptr) != FALSE;
         }},
        {"folder link", dir / L"linked\\new.log",
         [](const std::wstring& d, const std::wstring& x) {
             return test::MakeSymbolicLink(d + L"\\linked", x, true);
         }},
    };
    for (const auto& c : cases) {
        if (!c.plant(dir.Path(), decoy.Path())) {
            ADD_FAILURE() << c.name << ": cannot be planted here";
            continue;
        }
        InstallLog log;
        EXPECT_FALSE(log.Open(c.log.c_str(), InstallLog::Place::kUserTemp)) << c.name;
        EXPECT_EQ("decoy", ReadFileBytes(decoy / L"target.log")) << c.name;
        EXPECT_FALSE(test::FileExists(decoy / L"new.log")) << c.name;
    }
    test::RemoveLink(dir / L"plain\\sym.log");
    test::RemoveLink(dir / L"linked");
    InstallLog plain;
    EXPECT_TRUE(plain.Open((dir / L"plain\\ok.log").c_str(), InstallLog::Place::kUserTemp));
}

}  // namespace
}  // namespace velora
