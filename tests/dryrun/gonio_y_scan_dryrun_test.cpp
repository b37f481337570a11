// GonioY scans (one scan repeated, or one per omega angle) run in a real Tcl interpreter against a
// simulated control server.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/line_sink.h"
#include "generators/gonio_y_scan.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

GonioYScanForm Form(std::string center, std::string width, std::string division) {
  GonioYScanForm form;
  form.scanCenter = std::move(center);
  form.scanWidth = std::move(width);
  form.division = std::move(division);
  return form;
}

std::string Script(const GonioYScanForm& form, GonioYGenerator generator) {
  const Result<GonioYScanParams> params = Validate(form, generator);
  if (!params.ok()) {
    ADD_FAILURE() << "the form was refused: " << params.message();
    return {};
  }
  StringSink sink;
  if (generator == GonioYGenerator::A) {
    BuildScriptA(*params, "C:\\data", sink);
  } else {
    BuildScriptB(*params, "C:\\data", sink);
  }
  return sink.text();
}

using GonioYScanDryRun = DryRunTest;

TEST_F(GonioYScanDryRun, RepeatedScanAveragesBothChannelsThenCountsTheCentreAfresh) {
  GonioYScanForm form = Form("0", "1", "3");
  form.repeatActive = true;
  const DryRunReport report = RunScript(Script(form, GonioYGenerator::A));
  ExpectCleanRun(report);
  ASSERT_EQ(report.opens.size(), 2u);
  EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\GonioYScan_Repeat.dat");
  EXPECT_EQ(report.opens[1].requestedPath, "C:\\data\\GonioYScan_Average.dat");

  const std::vector<Reading> pass = {{"-0.500"}, {"0.000"}, {"0.500"}};
  const std::vector<std::string> repeat = ResultLines(report, 0);
  ASSERT_EQ(repeat.size(), 2 * (pass.size() + 1));
  std::size_t measure = 0;
  std::size_t repeatLine = 0;
  for (const std::string r : {"00", "01"}) {
    EXPECT_EQ(repeat[repeatLine++], "GonioY,Io(Repeat" + r + "),I(Repeat" + r + "),I/Io(Repeat" + r + ")");
    ExpectTwoCounterReadings(report, measure, "gonio_y", pass, repeat, repeatLine);
  }

  // The averages are the channel sums halved as doubles, and Seikika divides those again.
  const std::vector<std::string> average = ResultLines(report, 1);
  ASSERT_EQ(average.size(), pass.size() + 2);
  EXPECT_EQ(average[0], "GonioY,Io(Average),I(Average),I/Io(Average)");
  for (std::size_t i = 0; i < pass.size(); ++i) {
    const auto first = static_cast<long long>(i) + 1;
    const auto second = first + static_cast<long long>(pass.size());
    const double a = static_cast<double>(DefaultCountA(first) + DefaultCountA(second)) / 2;
    const double b = static_cast<double>(DefaultCountB(first) + DefaultCountB(second)) / 2;
    EXPECT_EQ(average[i + 1], pass[i].position + ", " + SeikikaText(a, b));
  }
  std::size_t averageLine = average.size() - 1;
  ExpectTwoCounterReadings(report, measure, "gonio_y", {{"0.000"}}, average, averageLine);
  EXPECT_EQ(measure, report.measures.size());
  EXPECT_EQ(report.positions.at("omega"), "-");
}

TEST_F(GonioYScanDryRun, BothOmegaAnglesScanIntoTheirOwnFilesAndOmegaReturnsToZero) {
  GonioYScanForm form = Form("0.2", "0.4", "3");
  form.useOmega = {1, 1};
  const DryRunReport report = RunScript(Script(form, GonioYGenerator::B));
  ExpectCleanRun(report);
  ASSERT_EQ(report.opens.size(), 2u);
  EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\GonioYScan_1.dat");
  EXPECT_EQ(report.opens[1].requestedPath, "C:\\data\\GonioYScan_2.dat");

  const std::vector<Reading> scan = {{"0.000"}, {"0.200"}, {"0.400"}, {"0.200"}};
  const struct {
    const char* omega;
    const char* gonioYBefore;
  } blocks[] = {{"5.000", "-"}, {"-5.000", "0.200"}};
  std::size_t measure = 0;
  for (std::size_t k = 0; k < 2; ++k) {
    SCOPED_TRACE(std::string("omega ") + blocks[k].omega);
    const std::vector<std::string> lines = ResultLines(report, k);
    ASSERT_EQ(lines.size(), scan.size() + 1);
    EXPECT_EQ(lines[0], "GonioY,Io,I,I/Io");
    // One count right after the turn, its reply unused, then the scan at that angle.
    ASSERT_LT(measure, report.measures.size());
    EXPECT_EQ(report.measures[measure].mode, -1);
    EXPECT_EQ(report.measures[measure].At("gonio_y"), blocks[k].gonioYBefore);
    const std::size_t blockStart = measure++;
    std::size_t line = 1;
    ExpectTwoCounterReadings(report, measure, "gonio_y", scan, lines, line);
    for (std::size_t m = blockStart; m < measure && m < report.measures.size(); ++m) {
      EXPECT_EQ(report.measures[m].At("omega"), blocks[k].omega) << "measurement " << m + 1;
    }
  }
  EXPECT_EQ(measure, report.measures.size());
  EXPECT_EQ(report.positions.at("omega"), "0.000");
}

}  // namespace
}  // namespace vesko::test
