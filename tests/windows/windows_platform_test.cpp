// Paths and files as Windows has them: the program's own folder, "\" paths, drive c:, files that another
// program holds open, and names and texts in the ANSI code page.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "app/app_settings.h"
#include "cli/cli.h"
#include "core/platform.h"
#include "core/safe_file.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::Captured;
using test::ListFolder;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using Names = std::vector<std::string>;

// The fields of the first worked example; the folders and the file name are added by each test.
const std::vector<std::string> kSlitExample = {"slit-scan", "--axis",        "y", "--slit-width",
                                               "0.1",       "--scan-center", "0", "--scan-width",
                                               "1",         "--division",    "5"};
constexpr const char* kSlitSettings = "0\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n";

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return wide;
}

// RunCli in this process on the worked example followed by `more`.
Captured Cli(const std::vector<std::string>& more) {
  std::vector<std::string> args = kSlitExample;
  args.insert(args.end(), more.begin(), more.end());
  return test::Capture([&](std::FILE* out, std::FILE* err) { return RunCli(args, out, err); });
}

// Starts `program` with `args` as an operator's shell would (each argument quoted) and waits for it.
int RunProgram(const std::string& program, const std::vector<std::string>& args) {
  std::wstring commandLine = L"\"" + Wide(program) + L"\"";
  for (const std::string& arg : args) {
    commandLine += L" \"" + Wide(arg) + L"\"";
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << program << ": error " << GetLastError();
    return -1;
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// Every line ends in CR LF, and nothing else ends a line.
bool OnlyCrLf(const std::string& text) {
  return !text.empty() && test::Lines(test::SplitLines(text)) == text;
}

std::string OpenLine(const std::string& script) {
  for (const std::string& line : test::SplitLines(script)) {
    if (line.rfind("set fp [open ", 0) == 0) {
      return line;
    }
  }
  return {};
}

// The operator's view: a copy of the program in a folder of its own (named in Japanese) keeps its
// settings there, beside the .exe, and writes into the folder stored in VeskoScriptCreator.ini. Its arguments
// arrive whole, whatever the ANSI code page can spell.
TEST(WindowsFolders, CopiedProgramUsesItsOwnFolder) {
  TempDir base;
  const std::string programFolder = base.File("ソフト表示");
  const std::string output = base.File("Beam Line");
  ASSERT_TRUE(MakeFolders(programFolder));
  ASSERT_TRUE(MakeFolders(output));
  const std::string program = JoinPath(programFolder, "vesko-script.exe");
  ASSERT_TRUE(
      CopyFileW(Wide(JoinPath(ExecutableFolder(), "vesko-script.exe")).c_str(), Wide(program).c_str(), TRUE));
  ASSERT_TRUE(WriteFileBytes(JoinPath(programFolder, kAppSettingsFile), ToFileText(output) + "\r\n"));

  std::vector<std::string> args = kSlitExample;
  args.insert(args.end(), {"--output-file-name", "測定.tcl"});
  EXPECT_EQ(0, RunProgram(program, args));
  EXPECT_EQ((Names{"4DSlitScan.ini", kAppSettingsFile, "vesko-script.exe"}), ListFolder(programFolder));
  EXPECT_EQ(kSlitSettings + ToFileText("測定.tcl\r\n"),
            ReadFileBytes(JoinPath(programFolder, "4DSlitScan.ini")));
  EXPECT_EQ(Names{"測定.tcl"}, ListFolder(output));
  const std::string script = ReadFileBytes(JoinPath(output, "測定.tcl"));
  EXPECT_TRUE(OnlyCrLf(script));
  EXPECT_NE(std::string::npos, OpenLine(script).find("\\\\Beam\\ Line\\\\\\u6E2C\\u5B9A.dat w+]")) << script;
}

// Without VeskoScriptCreator.ini the output folder is c:\ and the script goes there (a folder ending in "\").
TEST(WindowsFolders, FallbackFolderIsTheRootOfDriveC) {
  TempDir settings;
  ResetOutputFolder();
  EXPECT_FALSE(StartUp(settings.path()).settingsRead);
  EXPECT_EQ("c:\\", OutputFolder());
  ResetOutputFolder();
  if (!IsWritableFolder("c:\\")) {
    GTEST_SKIP() << "this user may not create files in c:\\";
  }
  const std::string name = "vesko-fallback-" + std::to_string(GetCurrentProcessId());
  const Captured c = Cli({"--settings-dir", settings.path(), "--output-file-name", name + ".tcl"});
  EXPECT_EQ(0, c.code) << c.err;
  const std::string script = ReadFileBytes("c:\\" + name + ".tcl");
  EXPECT_TRUE(OnlyCrLf(script));
  EXPECT_EQ("set fp [open c:\\\\\\\\" + name + ".dat w+]", OpenLine(script));
  EXPECT_TRUE(DeleteFileW(Wide("c:\\" + name + ".tcl").c_str()));
}

class HeldFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(WriteFileBytes(path_, "old script\r\n")); }
  // Another program's handle: it reads and lets others read and write, but not delete or rename.
  HANDLE Hold() const {
    return CreateFileW(Wide(path_).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  // The failure names the file and the old script stays, alone in its folder.
  void ExpectKept(const std::optional<IoError>& error) const {
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(path_, error->path);
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ("old script\r\n", ReadFileBytes(path_));
    EXPECT_EQ(Names{"run.tcl"}, ListFolder(dir_.path()));
  }
  TempDir dir_;
  const std::string path_ = dir_.File("run.tcl");
};

TEST_F(HeldFile, ReplacementRetriesThenReports) {
  const HANDLE handle = Hold();
  ASSERT_NE(INVALID_HANDLE_VALUE, handle);
  const auto start = std::chrono::steady_clock::now();
  const std::optional<IoError> error = ReplaceFileLines(path_, {"new script"});
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));  // not at once
  CloseHandle(handle);
  ExpectKept(error);
}

TEST_F(HeldFile, ReplacementSucceedsWhenReleasedInTime) {
  const HANDLE handle = Hold();
  ASSERT_NE(INVALID_HANDLE_VALUE, handle);
  std::thread scanner([handle] {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    CloseHandle(handle);
  });
  const std::optional<IoError> error = ReplaceFileLines(path_, {"new script"});
  scanner.join();
  EXPECT_EQ(std::nullopt, error);
  EXPECT_EQ("new script\r\n", ReadFileBytes(path_));
  EXPECT_EQ(Names{"run.tcl"}, ListFolder(dir_.path()));
}

TEST_F(HeldFile, ReadOnlyFileIsReportedAndKept) {
  ASSERT_TRUE(SetFileAttributesW(Wide(path_).c_str(), FILE_ATTRIBUTE_READONLY));
  const std::optional<IoError> error = ReplaceFileLines(path_, {"new script"});
  SetFileAttributesW(Wide(path_).c_str(), FILE_ATTRIBUTE_NORMAL);
  ExpectKept(error);
}

// Names on disk are Unicode; settings files hold them in the ANSI code page; the script's open lines
// spell them as \u escapes. "ソ" and "表" end in the byte of "\" in code page 932. A run of the tests can ask
// for a code page (VESKO_EXPECT_CODE_PAGE) to make sure it got it.
TEST(AnsiCodePage, FolderAndFileNamesOutsideAscii) {
  if (const char* expected = std::getenv("VESKO_EXPECT_CODE_PAGE")) {
    ASSERT_EQ(std::to_string(GetACP()), expected);
  }
  const struct {
    UINT codePage;
    std::string folder;
    std::string file;
    std::string folderBytes;
    std::string fileBytes;
    std::string openLineEnd;
  } rows[] = {
      {932, "ソフト表示", "結果.tcl", "\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6", "\x8C\x8B\x89\xCA.tcl",
       "\\\\\\u30BD\\u30D5\\u30C8\\u8868\\u793A\\\\\\u7D50\\u679C.dat w+]"},
      {1252, "Meßdaten", "Prüfung.tcl",
       "Me\xDF"
       "daten",
       "Pr\xFC"
       "fung.tcl",
       "\\\\Me\\u00DFdaten\\\\Pr\\u00FCfung.dat w+]"},
  };
  const auto row =
      std::find_if(std::begin(rows), std::end(rows), [](const auto& r) { return r.codePage == GetACP(); });
  if (row == std::end(rows)) {
    GTEST_SKIP() << "no names for code page " << GetACP();
  }
  TempDir base;
  TempDir settings;
  const std::string folder = JoinPath(base.path(), row->folder);
  ASSERT_TRUE(MakeFolders(folder)) << "under Wine the locale named by LC_ALL must exist (localedef)";
  Captured c =
      Cli({"--settings-dir", settings.path(), "--output-folder", folder, "--output-file-name", row->file});
  ASSERT_EQ(0, c.code) << c.err;
  EXPECT_EQ(Names{row->folder}, ListFolder(base.path()));
  EXPECT_EQ(Names{row->file}, ListFolder(folder));
  EXPECT_EQ(kSlitSettings + row->fileBytes + "\r\n", ReadFileBytes(settings.File("4DSlitScan.ini")));
  const std::string script = ReadFileBytes(JoinPath(folder, row->file));
  EXPECT_TRUE(OnlyCrLf(script));
  const std::string open = OpenLine(script);
  ASSERT_GE(open.size(), row->openLineEnd.size());
  EXPECT_EQ(row->openLineEnd, open.substr(open.size() - row->openLineEnd.size()));

  // The output folder goes into VeskoScriptCreator.ini the same way and comes back whole.
  SetOutputFolder(folder);
  ASSERT_EQ(std::nullopt, ShutDown(settings.path()));
  EXPECT_EQ(base.path() + "\\" + row->folderBytes + "\r\n", ReadFileBytes(settings.File(kAppSettingsFile)));
  ResetOutputFolder();
  EXPECT_TRUE(StartUp(settings.path()).settingsRead);
  EXPECT_EQ(folder, OutputFolder());
  ResetOutputFolder();

  // A second press with the stored name and folder replaces the same script.
  ASSERT_TRUE(WriteFileBytes(JoinPath(folder, row->file), "old\r\n"));
  c = Cli({"--settings-dir", settings.path()});
  ASSERT_EQ(0, c.code) << c.err;
  EXPECT_EQ(Names{row->file}, ListFolder(folder));
  EXPECT_EQ(script, ReadFileBytes(JoinPath(folder, row->file)));
}

}  // namespace
}  // namespace vesko
