#include "cli/terminal_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "tests/support/test_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>
#endif

namespace vesko {
namespace {

using test::TempDir;

// More than a million lines (32767 points a pass, 7 passes, five lines a point), or fewer points.
std::vector<std::string> LongScan(const TempDir& settings, const TempDir& output,
                                  const std::string& division = "32767") {
  return {"slit-scan",
          "--axis=y",
          "--slit-width=0.1",
          "--scan-center=0",
          "--scan-width=1",
          "--division=" + division,
          "--repeat=7",
          "--settings-dir=" + settings.path(),
          "--output-folder=" + output.path()};
}

TEST(TerminalProgress, NeverWhenStandardErrorIsAFile) {
  TempDir settings;
  TempDir output;
  const test::Captured c = test::Capture(
      [&](std::FILE* out, std::FILE* err) { return RunCli(LongScan(settings, output), out, err); });
  EXPECT_EQ(0, c.code);
  EXPECT_EQ("", c.out + c.err);
}

#ifndef _WIN32
// Standard error on a pseudo terminal, as in an interactive shell; returns what the terminal shows.
std::string OnTerminal(const std::vector<std::string>& args) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    return "<no pseudo terminal>";
  }
  const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
  std::string shown;
  std::thread reader([&] {
    char buffer[4096];
    for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) {
      shown.append(buffer, static_cast<std::size_t>(n));
    }
  });
  std::FILE* err = fdopen(terminal, "w");
  std::FILE* out = std::tmpfile();
  EXPECT_EQ(0, RunCli(args, out, err));
  std::fclose(err);  // the reader sees the end once the terminal's last handle is closed
  std::fclose(out);
  reader.join();
  close(master);
  return shown;
}

TEST(TerminalProgress, ALongWriteShowsOneLineOnATerminal) {
  TempDir settings;
  TempDir output;
  const std::string shown = OnTerminal(LongScan(settings, output));
  const std::string script = test::ReadFileBytes(output.File("4DSlit1DScan.tcl"));
  const auto lines = std::count(script.begin(), script.end(), '\n');
  ASSERT_GT(lines, 1000000);
  const std::string last = "\rWriting 4DSlit1DScan.tcl: 100% of " + std::to_string(lines) + " lines\r\n";
  EXPECT_EQ(0u, shown.rfind("\rWriting 4DSlit1DScan.tcl: ", 0)) << shown.substr(0, 80);
  EXPECT_NE(std::string::npos, shown.find("% of " + std::to_string(lines) + " lines\rWriting")) << shown;
  EXPECT_EQ(shown.size() - last.size(), shown.find(last)) << shown.substr(shown.size() - 80);
  EXPECT_EQ(1, std::count(shown.begin(), shown.end(), '\n'));

  // A short script shows nothing.
  EXPECT_EQ("", OnTerminal(LongScan(settings, output, "5")));
}
#endif

}  // namespace
}  // namespace vesko
