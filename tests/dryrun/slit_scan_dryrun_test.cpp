// Generated 4D slit scan scripts run in a real Tcl interpreter against a simulated control server.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/line_sink.h"
#include "generators/slit_scan.h"
#include "tests/dryrun/tcl_runner.h"
#include "tests/support/test_support.h"

namespace vesko::test {
namespace {

struct Row {
  std::string pos1;
  std::string pos2;
  std::string mid;
};

class SlitScanDryRun : public ::testing::Test {
 protected:
  // Validates the form, writes its script into a temporary file and runs it.
  DryRunReport Run(const SlitScanForm& form, const std::string& outputFolder,
                   const std::string& countModel = {}) {
    const Result<SlitScanParams> params = Validate(form);
    EXPECT_TRUE(params.ok()) << params.message();
    if (!params.ok()) {
      return {};
    }
    StringSink sink;
    BuildScript(*params, outputFolder, sink);
    lineCount_ = static_cast<int>(sink.lineCount());
    const std::string script = scripts_.File("script.tcl");
    EXPECT_TRUE(WriteFileBytes(script, sink.text()));
    return RunDryRun(script, sandbox_.path(), countModel);
  }

  // A run that ended the way the control server must end it: no error, every file closed,
  // the shutter closed again, and a script of CR LF lines in plain ASCII.
  void ExpectCleanRun(const DryRunReport& report) const {
    EXPECT_TRUE(report.ok) << report.message;
    EXPECT_EQ(report.unclosed, 0);
    EXPECT_EQ(report.shutter, "closed");
    EXPECT_EQ(report.beamStop, "in");
    EXPECT_EQ(report.timer, "1.0");
    EXPECT_EQ(report.crlfLineEnds, lineCount_);
    EXPECT_EQ(report.bareLfLineEnds, 0);
    EXPECT_EQ(report.nonAsciiBytes, 0);
  }

  TempDir scripts_;
  TempDir sandbox_;
  int lineCount_ = 0;
};

SlitScanForm Form(bool zPair, std::string slitWidth, std::string center, std::string width,
                  std::string division) {
  SlitScanForm form;
  form.axisY = !zPair;
  form.axisZ = zPair;
  form.slitWidth = std::move(slitWidth);
  form.scanCenter = std::move(center);
  form.scanWidth = std::move(width);
  form.division = std::move(division);
  return form;
}

std::string DataLine(const Row& row, const std::string& firstSeparator, long long count) {
  return row.pos1 + firstSeparator + row.pos2 + ", " + row.mid + ", " + std::to_string(count);
}

TEST_F(SlitScanDryRun, SingleYScanWritesEveryPointThenTheCentre) {
  const DryRunReport report = Run(Form(false, "0.1", "0", "1", "5"), "C:\\data");
  ExpectCleanRun(report);

  ASSERT_EQ(report.opens.size(), 1u);
  EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\4DSlit1DScan.dat");
  EXPECT_EQ(report.opens[0].mode, "w+");

  const std::vector<Row> rows = {{"-0.450", "0.550", "-0.500"}, {"-0.200", "0.300", "-0.250"},
                                 {"0.050", "0.050", "0.000"},   {"0.300", "-0.200", "0.250"},
                                 {"0.550", "-0.450", "0.500"},  {"0.050", "0.050", "0.000"}};
  ASSERT_EQ(report.measures.size(), rows.size());
  EXPECT_EQ(report.moves, 2 * static_cast<int>(rows.size()));

  const std::vector<std::string> lines = ReadResultLines(report.opens[0].sandboxFile);
  ASSERT_EQ(lines.size(), rows.size() + 1);
  EXPECT_EQ(lines[0], "slit_y1, slit_y2, slit_center, Intensity");
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const DryRunMeasure& m = report.measures[k];
    // The blades stood where the row says when the counter counted.
    EXPECT_EQ(m.blades[0], rows[k].pos1) << "measurement " << k + 1;
    EXPECT_EQ(m.blades[1], rows[k].pos2) << "measurement " << k + 1;
    EXPECT_EQ(m.count, 1000 + 7 * static_cast<long long>(k + 1));
    EXPECT_EQ(lines[k + 1], DataLine(rows[k], ", ", m.count));
  }
}

TEST_F(SlitScanDryRun, RepeatedZScanAveragesTheIntegerSumsOfItsPasses) {
  SlitScanForm form = Form(true, "0.2", "1.5", "2", "3");
  form.repeatActive = true;
  form.repeatTimes = "3";
  // Counts that differ per pass and whose sums do not divide evenly, so the integer division shows.
  const DryRunReport report =
      Run(form, "C:\\data", "{seq y1 y2 z1 z2} {expr {100 + $seq * $seq / 2 + 10 * $z1}}");
  ExpectCleanRun(report);

  ASSERT_EQ(report.opens.size(), 2u);
  EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\4DSlit1DScan_Repeat.dat");
  EXPECT_EQ(report.opens[1].requestedPath, "C:\\data\\4DSlit1DScan_Average.dat");

  // Points from the low end; each pass visits them from the high end downward.
  const std::vector<Row> points = {
      {"0.600", "-0.400", "0.500"}, {"1.600", "-1.400", "1.500"}, {"2.600", "-2.400", "2.500"}};
  const Row centre = {"1.600", "-1.400", "1.500"};
  const int passes = 3;
  ASSERT_EQ(report.measures.size(), points.size() * passes + 1);

  const std::vector<std::string> repeat = ReadResultLines(report.opens[0].sandboxFile);
  ASSERT_EQ(repeat.size(), (points.size() + 1) * passes);
  std::vector<long long> sums(points.size(), 0);
  std::size_t seq = 0;
  for (int pass = 0; pass < passes; ++pass) {
    std::size_t line = pass * (points.size() + 1);
    EXPECT_EQ(repeat[line], "slit_z1,slit_z2,slit_center,Intensity(Repeat0" + std::to_string(pass) + ")");
    for (std::size_t i = points.size(); i-- > 0;) {
      const DryRunMeasure& m = report.measures[seq++];
      EXPECT_EQ(m.blades[2], points[i].pos1);
      EXPECT_EQ(m.blades[3], points[i].pos2);
      const long long bladeTerm = std::llround(10 * std::stod(points[i].pos1));
      EXPECT_EQ(m.count, 100 + static_cast<long long>(seq * seq / 2) + bladeTerm);
      EXPECT_EQ(repeat[++line], DataLine(points[i], ", ", m.count));
      sums[i] += m.count;
    }
  }

  const std::vector<std::string> average = ReadResultLines(report.opens[1].sandboxFile);
  ASSERT_EQ(average.size(), points.size() + 2);
  EXPECT_EQ(average[0], "slit_z1,slit_z2,slit_center,Intensity(Average)");
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_NE(sums[i] % passes, 0) << "the counts should not divide evenly";
    EXPECT_EQ(average[i + 1], DataLine(points[i], ",", sums[i] / passes));
  }
  const DryRunMeasure& last = report.measures.back();
  EXPECT_EQ(last.blades[2], centre.pos1);
  EXPECT_EQ(last.blades[3], centre.pos2);
  EXPECT_EQ(average.back(), DataLine(centre, ", ", last.count));
}

// The folder and the base as Tcl must see them once the open line's escapes are undone.
std::string ExpectedResultPath(const std::string& folder, const std::string& base,
                               const std::string& suffix) {
#ifdef _WIN32
  const bool posixFolder = false;
#else
  const bool posixFolder = !folder.empty() && folder.front() == '/';
#endif
  return folder + (posixFolder ? "/" : "\\") + base + suffix + ".dat";
}

TEST_F(SlitScanDryRun, HostileNamesOpenExactlyTheNamedFileAndRunNothingElse) {
  const std::vector<std::string> folders = {"C:\\Users\\Beam Line", "/srv/beam line/$run [1]"};
  const std::vector<std::string> bases = {
      "a[exec rm -rf x]", "$HOME", "x;y{z}", "a\"b", "\xC3\xA9\xE6\x97\xA5\xE6\x9C\xAC", "#c\\d\te"};
  for (const std::string& folder : folders) {
    for (const std::string& base : bases) {
      for (const bool repeat : {false, true}) {
        SCOPED_TRACE("folder " + folder + ", base " + base + (repeat ? ", repeated" : ""));
        SlitScanForm form = Form(false, "0.1", "0", "1", "2");
        form.outputFileName = base + ".tcl";
        form.repeatActive = repeat;
        const DryRunReport report = Run(form, folder);
        ExpectCleanRun(report);

        std::vector<std::string> expected;
        if (repeat) {
          expected = {ExpectedResultPath(folder, base, "_Repeat"),
                      ExpectedResultPath(folder, base, "_Average")};
        } else {
          expected = {ExpectedResultPath(folder, base, "")};
        }
        ASSERT_EQ(report.opens.size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
          EXPECT_EQ(report.opens[k].requestedPath, expected[k]);
          EXPECT_EQ(report.opens[k].mode, "w+");
        }
        // Timer, beam stop, shutter open, the opens, two moves and a count per point, shutter close:
        // a name that ran a command of its own would add a call or end in an error.
        const std::size_t measures = repeat ? 5 : 3;
        EXPECT_EQ(report.measures.size(), measures);
        EXPECT_EQ(report.calls.size(), 4 + expected.size() + 3 * measures);
      }
    }
  }
}

// The sandbox itself: what the simulated server refuses must stay refused, or the hostile-name
// test above would prove nothing.
TEST_F(SlitScanDryRun, SandboxRefusesFilesProgramsAndUnclosedChannelsAreCounted) {
  const std::vector<std::string> forbidden = {"exec ls",
                                              "file delete x",
                                              "source x.tcl",
                                              "glob *",
                                              "cd /",
                                              "load x",
                                              "socket localhost 1",
                                              "puts hi",
                                              "interp invokehidden {} exec ls"};
  const std::string script = scripts_.File("hand.tcl");
  for (const std::string& command : forbidden) {
    SCOPED_TRACE(command);
    ASSERT_TRUE(WriteFileBytes(script, command + "\r\n"));
    const DryRunReport report = RunDryRun(script, sandbox_.path());
    EXPECT_FALSE(report.ok);
  }

  ASSERT_TRUE(WriteFileBytes(script, "set a [open x w+]\r\nset b [open y w]\r\nclose $b\r\nputs $a 1\r\n"));
  const DryRunReport report = RunDryRun(script, sandbox_.path());
  EXPECT_TRUE(report.ok) << report.message;
  EXPECT_EQ(report.unclosed, 1);
  EXPECT_EQ(ListFolder(sandbox_.path()), (std::vector<std::string>{"dryrun-report.txt", "dryrun-stderr.txt",
                                                                   "result-1.dat", "result-2.dat"}));
}

}  // namespace
}  // namespace vesko::test
