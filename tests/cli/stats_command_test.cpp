#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "core/format.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::Captured;
using test::Lines;
using test::TempDir;
using test::WriteFileBytes;

Captured Stats(const std::vector<std::string>& args) {
  return test::Capture([&](std::FILE* out, std::FILE* err) { return RunCli(args, out, err); });
}

// Two passes of a slit scan: one block per pass, an empty line between them.
const std::vector<std::string> kRepeatFile = {"slit_y1,slit_y2,slit_center,Intensity(Repeat00)",
                                              "-0.200, 0.300, -0.250, 2",
                                              "0.050, 0.050, 0.000, 6",
                                              "0.300, -0.200, 0.250, 3",
                                              "slit_y1,slit_y2,slit_center,Intensity(Repeat01)",
                                              "-0.200, 0.300, -0.250, 3",
                                              "0.050, 0.050, 0.000, 1"};

constexpr const char* kRepeatBlocks =
    "series=Repeat00\npoints=3\nmax_x=0.00000\nmax_y=6.00000\nmin_x=-0.25000\nmin_y=2.00000\ncom=0.05000\n"
    "half_left=-0.12500\nhalf_right=0.16667\nfwhm=0.29167\ncen=0.02083\nedge_x=-0.12500\nedge_slope=16."
    "00000\n"
    "\n"
    "series=Repeat01\npoints=2\nmax_x=-0.25000\nmax_y=3.00000\nmin_x=0.00000\nmin_y=1.00000\ncom=-0.25000\n"
    "half_left=none\nhalf_right=-0.12500\nfwhm=none\ncen=none\nedge_x=-0.12500\nedge_slope=-8.00000\n";

TEST(StatsCommand, PrintsOneBlockPerSeries) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("scan_Repeat.dat"), Lines(kRepeatFile)));
  const Captured run = Stats({"stats", dir.File("scan_Repeat.dat")});
  EXPECT_EQ(0, run.code) << run.err;
  EXPECT_EQ(kRepeatBlocks, run.out);
  EXPECT_EQ("", run.err);
}

// The JSON form holds the same figures: numbers as printed, null for "none".
TEST(StatsCommand, JsonGivesTheSameFigures) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("scan_Repeat.dat"), Lines(kRepeatFile)));
  const Captured run = Stats({"stats", dir.File("scan_Repeat.dat"), "--json"});
  ASSERT_EQ(0, run.code) << run.err;
  const nlohmann::ordered_json document = nlohmann::ordered_json::parse(run.out);
  EXPECT_EQ("slit-scan", document["layout"]);
  EXPECT_EQ("slit_center", document["x"]);
  std::string blocks;
  for (const nlohmann::ordered_json& series : document["series"]) {
    blocks += blocks.empty() ? "" : "\n";
    for (const auto& [key, value] : series.items()) {
      const std::string text = value.is_null()              ? "none"
                               : value.is_string()          ? value.get<std::string>()
                               : value.is_number_unsigned() ? std::to_string(value.get<unsigned>())
                                                            : "";
      blocks += key + "=" + (text.empty() ? FormatF5(value.get<double>()) : text) + "\n";
    }
  }
  EXPECT_EQ(kRepeatBlocks, blocks);
}

// A two-counter scan gives the figures of I/Io, or of Io or I when asked; its return row stays out.
TEST(StatsCommand, ColumnOfATwoCounterScan) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("c.dat"),
                             Lines({"col_y, Io, I, I/Io", "1.000, 10.0, 5.0, 0.5", "0.500, 20.0, 18.0, 0.9",
                                    "0.000, 30.0, 3.0, 0.1", "0.500, 99.0, 99.0, 1.0"})));
  struct Row {
    std::vector<std::string> options;
    std::string maxima;
  };
  const Row rows[] = {{{}, "max_x=0.50000\nmax_y=0.90000\n"},
                      {{"--column", "Io"}, "max_x=0.00000\nmax_y=30.00000\n"},
                      {{"--column", "I"}, "max_x=0.50000\nmax_y=18.00000\n"}};
  for (const Row& row : rows) {
    std::vector<std::string> args = {"stats", dir.File("c.dat")};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const Captured run = Stats(args);
    EXPECT_EQ(0, run.code) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("points=3\n" + row.maxima)) << run.out;
  }
  const Captured refused = Stats({"stats", dir.File("c.dat"), "--column", "Intensity"});
  EXPECT_EQ(1, refused.code);
  EXPECT_EQ("No column Intensity in " + dir.File("c.dat") + " (it offers I/Io, Io, I).",
            refused.FirstErrorLine());
}

TEST(StatsCommand, ExitStatuses) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("empty.dat"), ""));
  const std::string missing = dir.File("missing.dat");
  struct Row {
    std::vector<std::string> args;
    int code;
    std::string firstErrorLine;
  };
  const Row rows[] = {
      {{"stats", missing}, 3, "Cannot read " + missing + ": No such file or directory"},
      {{"stats", dir.File("empty.dat")},
       1,
       "No series in " + dir.File("empty.dat") +
           ": a result file starts with a header line of comma-separated column names, followed by rows of "
           "numbers."},
      {{"stats"}, 2, "vesko-script: no result file given"},
      {{"stats", "a", "b"}, 2, "vesko-script: unexpected argument 'b'"},
      {{"stats", "a", "--csv"}, 2, "vesko-script: unknown option '--csv' for stats"},
  };
  // A folder is refused with the system's reason.
  EXPECT_EQ(3, Stats({"stats", dir.path()}).code);
  for (const Row& row : rows) {
    const Captured run = Stats(row.args);
    EXPECT_EQ(row.code, run.code) << row.args.back();
    EXPECT_EQ(row.firstErrorLine, run.FirstErrorLine());
    EXPECT_EQ("", run.out);
  }
}

}  // namespace
}  // namespace vesko
