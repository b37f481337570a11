#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

std::string Drain(std::FILE* stream) {
  std::string text;
  std::rewind(stream);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) {
    text.append(buffer, n);
  }
  std::fclose(stream);
  return text;
}

// The blank-separated words of `line` run with an empty settings folder and `outputFolder` (an empty
// folder of its own when none is given); `wrote` tells whether either folder got a file.
struct SummaryRun {
  explicit SummaryRun(const std::string& line, const std::string& outputFolder = "") {
    test::TempDir settings, output;
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      args.push_back(word);
    }
    args.insert(args.end(), {"--settings-dir", settings.path(), "--output-folder",
                             outputFolder.empty() ? output.path() : outputFolder});
    std::FILE* outStream = std::tmpfile();
    std::FILE* errStream = std::tmpfile();
    code = RunCli(args, outStream, errStream);
    out = Drain(outStream);
    err = Drain(errStream);
    wrote = !test::ListFolder(settings.path()).empty() || !test::ListFolder(output.path()).empty();
  }
  int code;
  std::string out, err;
  bool wrote;
};

TEST(SummaryCli, PrintsTheSummaryOfTheLensExample) {
  const SummaryRun r("lens-scan --axis lens_y --scan-center 0.0 --scan-width 0.3 --division 4 --summary",
                     "C:\\data");
  EXPECT_EQ(0, r.code) << r.err;
  EXPECT_EQ(
      "Scan: lens_y, 4 points, 1 pass\n"
      "lens_y: 5 moves, first 0.150, last 0.000, range -0.150 to 0.150\n"
      "Count measurements: 5\n"
      "Counting time: at least 0:00:05 of counting; motor moves come on top\n"
      "Result file: C:\\data\\Lens1DScan.dat\n"
      "Script lines: 28\n",
      r.out);
}

// Nothing is written; refusals and usage errors are those of a run that writes.
TEST(SummaryCli, WritesNothing) {
  const std::string slitExample =
      "slit-scan --axis y --slit-width 0.1 --scan-center 0 --scan-width 1 --division 5 --summary";
  const struct {
    std::string line;
    int code;
    const char* errStart;
  } rows[] = {
      {slitExample, 0, ""},
      {"slit-move --slit-width-y x --summary", 1, "Setting Error!"},
      {slitExample + " --stdout", 2, "vesko-script: options '--stdout' and '--summary' cannot go together"},
      {"lens-scan --summary=yes", 2, "vesko-script: option '--summary' takes no value"},
  };
  for (const auto& row : rows) {
    const SummaryRun r(row.line);
    EXPECT_EQ(row.code, r.code) << row.line;
    EXPECT_EQ(row.code == 0, r.out.find("\nScript lines: 38\n") != std::string::npos) << r.out;
    EXPECT_EQ(0u, r.err.rfind(row.errStart, 0)) << r.err;
    EXPECT_FALSE(r.wrote);
  }
}

}  // namespace
}  // namespace vesko
