// Every generator's scripts run in a real Tcl interpreter against a simulated control server: each
// result line holds what was counted where the axes stood, and hostile output names stay file names.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/line_sink.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/dryrun/dryrun_fixture.h"
#include "tests/support/generator_checks.h"
#include "tests/support/generator_samples.h"

namespace vesko::test {
namespace {

using GeneratorDryRun = DryRunTest;
using Lines = std::vector<std::string>;

// Points whose result rows start with the position itself.
std::vector<Point> Rows(const Lines& positions) {
  std::vector<Point> points;
  for (const std::string& p : positions) {
    points.push_back({p, p});
  }
  return points;
}

// The script the omega boxes' generator writes.
std::string GonioYScript(const GonioYScanForm& form) {
  return GonioYScriptOf(form, OmegaRuleFor(form.useOmega).generator);
}

// The single-channel repeats add whole counts and divide them as integers; counts that differ per pass
// and whose sums do not divide evenly show it.
const char* const kUnevenCounts = "{seq pos} {expr {100 + $seq * $seq / 2 + 10 * [dict get $pos slit_z1]}}";

TEST_F(GeneratorDryRun, RepeatedSlitScanAveragesTheIntegerSumsOfItsPasses) {
  SlitScanForm form{
      .axisZ = true, .slitWidth = "0.2", .scanCenter = "1.5", .scanWidth = "2", .division = "3"};
  form.repeatActive = true;
  form.repeatTimes = "3";
  const DryRunReport report = RunClean(ScriptOf(form), kUnevenCounts);
  const std::vector<Lines> files =
      ResultFiles(report, {"C:\\data\\4DSlit1DScan_Repeat.dat", "C:\\data\\4DSlit1DScan_Average.dat"});
  ASSERT_EQ(files[0].size(), 12u);
  ASSERT_EQ(files[1].size(), 5u);
  // Each pass from the high end down; the averages from the low end up, without a blank after the
  // first comma, then the centre.
  const std::vector<Point> pass = {{"2.600 -2.400", "2.600, -2.400, 2.500"},
                                   {"1.600 -1.400", "1.600, -1.400, 1.500"},
                                   {"0.600 -0.400", "0.600, -0.400, 0.500"}};
  const Lines averages = {"0.600,-0.400, 0.500", "1.600,-1.400, 1.500", "2.600,-2.400, 2.500"};
  std::size_t measure = 0, line = 0;
  long long sums[3] = {};
  for (const char* r : {"00", "01", "02"}) {
    EXPECT_EQ(files[0][line++], std::string("slit_z1,slit_z2,slit_center,Intensity(Repeat") + r + ")");
    ExpectPoints(report, measure, {"slit_z1", "slit_z2"}, pass, files[0], line);
    for (int i = 0; i < 3; ++i) {
      sums[i] += report.measures.at(measure - 1 - i).count;
    }
  }
  EXPECT_EQ(files[1][0], "slit_z1,slit_z2,slit_center,Intensity(Average)");
  for (int i = 0; i < 3; ++i) {
    EXPECT_NE(sums[i] % 3, 0) << "the sums should not divide evenly";
    EXPECT_EQ(files[1][i + 1], averages[i] + ", " + std::to_string(sums[i] / 3));
  }
  line = 4;
  ExpectPoints(report, measure, {"slit_z1", "slit_z2"}, {pass[1]}, files[1], line);
  ExpectEnd(report, measure, {{"slit_z1", "1.600"}, {"slit_z2", "-1.400"}});
}

// A move file sets no timer, beam stop or shutter, counts nothing and opens no file.
TEST_F(GeneratorDryRun, SlitMoveMovesTheFourBladesAndNothingElse) {
  const auto p = Validate(SlitMoveForm{"0.2", "0.4", "0.0", "0.1"});
  ASSERT_TRUE(p.ok()) << p.message();
  StringSink sink;
  BuildScript(*p, sink);
  const DryRunReport report = RunScript(sink.text());
  EXPECT_TRUE(report.ok) << report.message;
  EXPECT_EQ(report.facts.at("crlf"), "4");
  ASSERT_EQ(report.calls.size(), 4u);
  ExpectEnd(report, 0,
            {{"slit_y1", "0.100"}, {"slit_y2", "0.100"}, {"slit_z1", "0.300"}, {"slit_z2", "0.100"}});
}

// Each lens axis is one the server knows; only it moves, and it ends at the centre.
TEST_F(GeneratorDryRun, LensScanMovesOnlyItsAxis) {
  for (std::size_t axis = 0; axis < kLensAxisNames.size(); ++axis) {
    LensScanForm form{.scanCenter = "0.0", .scanWidth = "0.3", .division = "4"};
    form.axis[axis] = true;
    const DryRunReport report = RunClean(ScriptOf(form));
    ExpectEnd(report, 5, {{kLensAxisNames[axis], "0.000"}});
  }
}

// The two-channel averages are the sums halved as doubles, and Seikika divides those again; the centre
// is then counted afresh into the average file.
TEST_F(GeneratorDryRun, RepeatedGonioYScanAveragesBothChannels) {
  const DryRunReport report =
      RunClean(GonioYScript({.scanCenter = "0", .scanWidth = "1", .division = "3", .repeatActive = true}));
  const std::vector<Lines> files =
      ResultFiles(report, {"C:\\data\\GonioYScan_Repeat.dat", "C:\\data\\GonioYScan_Average.dat"});
  ASSERT_EQ(files[0].size(), 8u);
  ASSERT_EQ(files[1].size(), 5u);
  const Lines positions = {"-0.500", "0.000", "0.500"};
  std::size_t measure = 0, line = 0;
  for (const std::string r : {"00", "01"}) {
    EXPECT_EQ(files[0][line++], "GonioY,Io(Repeat" + r + "),I(Repeat" + r + "),I/Io(Repeat" + r + ")");
    ExpectPoints(report, measure, {"gonio_y"}, Rows(positions), files[0], line);
  }
  EXPECT_EQ(files[1][0], "GonioY,Io(Average),I(Average),I/Io(Average)");
  for (std::size_t i = 0; i < 3; ++i) {
    const DryRunMeasure &first = report.measures.at(i), &second = report.measures.at(i + 3);
    EXPECT_EQ(files[1][i + 1], positions[i] + ", " +
                                   SeikikaText(static_cast<double>(first.count + second.count) / 2,
                                               static_cast<double>(first.countB + second.countB) / 2));
  }
  line = 4;
  ExpectPoints(report, measure, {"gonio_y"}, Rows({"0.000"}), files[1], line);
  ExpectEnd(report, measure, {{"gonio_y", "0.000"}});
}

// Omega turns to each angle, counts once without writing, scans into that angle's file, and returns to 0.
TEST_F(GeneratorDryRun, GonioYScanAtBothOmegaAnglesWritesOneFileEach) {
  const DryRunReport report =
      RunClean(GonioYScript({.scanCenter = "0.2", .scanWidth = "0.4", .division = "3", .useOmega = {1, 1}}));
  const std::vector<Lines> files =
      ResultFiles(report, {"C:\\data\\GonioYScan_1.dat", "C:\\data\\GonioYScan_2.dat"});
  std::size_t measure = 0;
  for (const auto& [file, omega, before] : {std::tuple{0, "5.000", "-"}, std::tuple{1, "-5.000", "0.200"}}) {
    SCOPED_TRACE(omega);
    ASSERT_EQ(files[file].size(), 5u);
    EXPECT_EQ(files[file][0], "GonioY,Io,I,I/Io");
    std::vector<Point> points = {{std::string(omega) + " " + before, ""}};
    for (const char* y : {"0.000", "0.200", "0.400", "0.200"}) {
      points.push_back({std::string(omega) + " " + y, y});
    }
    std::size_t line = 1;
    ExpectPoints(report, measure, {"omega", "gonio_y"}, points, files[file], line);
  }
  ExpectEnd(report, measure, {{"gonio_y", "0.200"}, {"omega", "0.000"}});
}

// Output folders and file name bases that a careless open line would turn into Tcl commands, variable
// reads, word breaks or another file (a name holding a quote or a backslash is refused). Each folder meets
// several names; every name is tried once.
const Lines kHostileFolders = {"C:\\Users\\Beam Line [exec calc]", "D:\\data\\", "/srv/beam line/$run;x {y}",
                               "\\\\server\\share\\\"q\"\\\xE6\x97\xA5\xE6\x9C\xAC"};
const Lines kHostileBases = {
    "a[exec rm -rf x]",   "$HOME", "${x}y", "x;y{z}", "}{", "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", "#c\td",
    std::string(240, 'L')};

class HostileNames : public DryRunTest, public ::testing::WithParamInterface<std::size_t> {};

// Each script opens exactly base + suffix + ".dat" in the folder and calls what the plain script calls.
TEST_P(HostileNames, OpenExactlyTheNamedFilesAndCallNothingElse) {
  const GeneratorSample& sample = GeneratorSamples()[GetParam()];
  const DryRunReport plain = RunClean(sample.Script("C:\\data"));
  for (std::size_t k = 0; k < kHostileBases.size(); ++k) {
    const std::string& folder = kHostileFolders[k % kHostileFolders.size()];
    const std::string& base = kHostileBases[k];
    SCOPED_TRACE("folder " + folder + ", base " + base);
    const DryRunReport report = RunClean(sample.Script(folder, base + ".tcl"));
    ASSERT_EQ(report.opens.size(), sample.resultSuffixes.size());
#ifdef _WIN32
    const std::string separator = "\\";
#else
    const std::string separator = folder.front() == '/' ? "/" : "\\";
#endif
    for (std::size_t f = 0; f < sample.resultSuffixes.size(); ++f) {
      EXPECT_EQ(report.opens[f].requestedPath, folder + separator + base + sample.resultSuffixes[f] + ".dat");
      EXPECT_EQ(report.opens[f].mode, "w+");
    }
    ASSERT_EQ(report.calls.size(), plain.calls.size());
    for (std::size_t c = 0; c < plain.calls.size(); ++c) {
      EXPECT_EQ(report.calls[c].name, plain.calls[c].name) << "call " << c + 1;
      if (plain.calls[c].name != "open") {
        EXPECT_EQ(report.calls[c].args, plain.calls[c].args) << "call " << c + 1;
      }
    }
  }
}

std::vector<std::size_t> SamplesThatOpenFiles() {
  std::vector<std::size_t> rows;
  for (std::size_t k = 0; k < GeneratorSamples().size(); ++k) {
    if (!GeneratorSamples()[k].resultSuffixes.empty()) {
      rows.push_back(k);
    }
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryGenerator, HostileNames, ::testing::ValuesIn(SamplesThatOpenFiles()),
                         [](const auto& info) { return GeneratorSamples()[info.param].name; });

}  // namespace
}  // namespace vesko::test
