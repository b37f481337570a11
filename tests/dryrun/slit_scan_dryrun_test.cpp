// Generated 4D slit scan scripts run in a real Tcl interpreter against a simulated control server.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "generators/slit_scan.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

struct Row {
  std::string pos1;
  std::string pos2;
  std::string mid;
};

class SlitScanDryRun : public DryRunTest {
 protected:
  DryRunReport Run(const SlitScanForm& form, const std::string& outputFolder,
                   const std::string& countModel = {}) {
    return RunScript(ScriptFor(form, outputFolder), countModel);
  }
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

}  // namespace
}  // namespace vesko::test
