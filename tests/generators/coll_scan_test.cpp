#include "generators/coll_scan.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::Crlf;
using test::ReadFileBytes;
using test::SameText;
using test::ScriptOf;
using test::TempDir;
using test::WriteFileBytes;

CollScanForm Form(std::int16_t panel, std::string center, std::string width, std::string division) {
  CollScanForm f;
  f.panel = panel;
  f.scanCenter = std::move(center);
  f.scanWidth = std::move(width);
  f.division = std::move(division);
  f.slitWidthY = f.slitWidthZ = f.slitCenterY = f.slitCenterZ = "0";
  return f;
}

const std::string kHead = std::string(test::kSeikikaHead) + R"(set fp [open C:\\data\\Coll1DScan.dat w+]
TclSrv_Optics:BeamStop out null
)";

const char* const kTail = R"(close $fp
TclSrv_Optics:Shutter close
TclSrv_Optics:BeamStop in null
)";

std::string Rows(const std::string& axis, const std::vector<std::string>& positions) {
  return test::TwoCounterRows("TclSrv_Optics:Collimator {" + axis, "fp", positions);
}

std::string Expected(const std::string& axis, const std::vector<std::string>& positions,
                     const std::string& slitBlock = "") {
  return Crlf(kHead + slitBlock + "TclSrv_Optics:Shutter open\n" + "puts $fp \"" + axis +
              ", Io, I, I/Io\"\n" + Rows(axis, positions) + kTail);
}

// The y panel runs from the high edge down, then returns to the centre.
TEST(CollScanTest, WorkedExampleYPanel) {
  EXPECT_TRUE(SameText(Expected("col_y", {"1.000", "0.750", "0.500", "0.250", "0.000", "0.500"}),
                       ScriptOf(Form(0, "0.5", "1.0", "5"))));
}

TEST(CollScanTest, SlitIsSetOnlyWhenTicked) {
  CollScanForm form = Form(0, "1", "0.4", "3");
  form.slitWidthY = "0.5";
  form.slitCenterY = "0.1";
  form.slitWidthZ = "0.3";
  form.slitCenterZ = "-0.05";
  const std::vector<std::string> rows = {"1.200", "1.000", "0.800", "1.000"};
  EXPECT_TRUE(SameText(Expected("col_y", rows), ScriptOf(form)));

  form.move4DSlit = true;
  EXPECT_TRUE(SameText(Expected("col_y", rows, test::kSlitSetBlock), ScriptOf(form)));
}

TEST(CollScanTest, PointCounts) {
  const struct {
    std::int16_t panel;
    const char *width, *division;
    std::vector<std::string> rows;
  } cases[] = {
      {0, "1", "2", {"2.500", "1.500", "2.000"}},  // the two edges and the centre
      {1, "1", "2", {"1.500", "2.500", "2.000"}},  // the z panel runs upward
      {0, "1", "0", {"2.000"}},                    // no scan point, only the return to the centre
      {0, "0", "3", {"2.000", "2.000", "2.000", "2.000"}},
      {1, "-1", "3", {"2.500", "2.000", "1.500", "2.000"}},
      {0, "1", "3.5", {"2.500", "2.167", "1.833", "1.500", "2.000"}},  // 3.5 points are 4
  };
  for (const auto& c : cases) {
    const std::string axis = c.panel == 0 ? "col_y" : "col_z";
    EXPECT_TRUE(SameText(Expected(axis, c.rows), ScriptOf(Form(c.panel, "2", c.width, c.division))))
        << axis << " width " << c.width << " division " << c.division;
  }
}

// One row a field check: the slit fields have their own messages and are checked even when the slit
// is not set; the first failing check decides.
TEST(CollScanTest, RefusedInputsInCheckOrder) {
  const CollScanForm good = Form(0, "0.5", "1", "5");
  using F = CollScanForm;
  test::ExpectRefusals<F>(good, {{&F::scanCenter, "", "Setting Error!"},
                                 {&F::scanWidth, "x", "Setting Error!"},
                                 {&F::division, "1", "Setting Error!"},
                                 {&F::slitWidthY, "", "SlitWidthY Error!"},
                                 {&F::slitWidthZ, "1.2.3", "SlitWidthZ Error!"},
                                 {&F::slitCenterY, "-1e39", "SlitCenterY Error!"},
                                 {&F::slitCenterZ, "abc", "SlitCenterZ Error!"},
                                 {&F::outputFileName, "Coll1DScan", "Setting Error!"}});

  CollScanForm form = good;
  form.outputFileName = "";
  form.slitCenterZ = "";
  EXPECT_EQ(test::RefusalOf(form), "SlitCenterZ Error!");
  form.slitWidthY = form.slitWidthZ = form.slitCenterY = "";
  EXPECT_EQ(test::RefusalOf(form), "SlitWidthY Error!");
  form.division = "x";
  EXPECT_EQ(test::RefusalOf(form), "Setting Error!");
}

TEST(CollScanTest, BladesThatOverflowAreRefusedOnlyWhenTheSlitIsSet) {
  CollScanForm form = Form(1, "0", "1", "3");
  form.slitWidthY = "3e38";
  form.slitCenterY = "3e38";
  EXPECT_TRUE(Validate(form).ok());
  form.move4DSlit = true;
  EXPECT_EQ(Validate(form).message(), "SlitCenterY Error!");
  form.slitCenterY = "0";
  form.slitWidthZ = "-3e38";
  form.slitCenterZ = "3e38";
  EXPECT_EQ(Validate(form).message(), "SlitCenterZ Error!");
}

class CollScanSettingsTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return JoinPath(dir_.path(), name); }
  TempDir dir_;
};

// Both layouts read back through the window's reader and the combined window's reader: the loaded
// panel stores the same bytes again, and a four-line file leaves the slit fields as they were.
TEST_F(CollScanSettingsTest, BothLayoutsRoundTripThroughBothReaders) {
  CollScanForm typed = Form(0, "0.12345", "-2", "3.5");
  typed.move4DSlit = true;
  typed.slitWidthY = "0.5";
  typed.slitWidthZ = "0.25";
  typed.slitCenterY = "-0.0004";
  typed.slitCenterZ = "1";
  typed.outputFileName = " scan,old.com ";
  using Save = std::optional<IoError> (*)(const std::string&, const CollScanParams&);
  using Load = void (*)(const std::string&, CollScanForm&);
  const struct {
    Save save;
    const char* bytes;
  } layouts[] = {
      {&SaveSettings, "0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n"},
      {&SaveCombinedSettings,
       "1\r\n0.500\r\n0.250\r\n0.000\r\n1.000\r\n0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n"},
  };
  const std::string path = Path(kCollScanSettingsFileY);
  for (const auto& layout : layouts) {
    for (Load load : {Load(&LoadSettings), Load(&LoadCombinedSettings)}) {
      ASSERT_EQ(layout.save(path, *Validate(typed)), std::nullopt);
      EXPECT_EQ(ReadFileBytes(path), layout.bytes);
      CollScanForm loaded = Form(0, "", "", "");
      loaded.slitWidthY = "7";
      load(path, loaded);
      if (layout.save == Save(&SaveSettings)) {
        EXPECT_EQ(loaded.slitWidthY, "7");
        EXPECT_FALSE(loaded.move4DSlit);
      }
      const Result<CollScanParams> again = Validate(loaded);
      ASSERT_TRUE(again.ok()) << again.message();
      ASSERT_EQ(layout.save(path, *again), std::nullopt);
      EXPECT_EQ(ReadFileBytes(path), layout.bytes);
    }
  }
}

TEST_F(CollScanSettingsTest, BadCheckBoxFieldStopsTheWindowButNotTheCombinedReader) {
  const std::string path = Path(kCollScanSettingsFileY);
  ASSERT_TRUE(WriteFileBytes(path, "2\r\n0.5\r\n0.25\r\n0\r\n1\r\n3\r\n4\r\n5\r\nc.com\r\n"));
  CollScanForm single;
  LoadSettings(path, single);
  EXPECT_EQ(single.slitWidthY, "");
  EXPECT_EQ(single.scanCenter, "");

  CollScanForm combined;
  combined.move4DSlit = true;
  LoadCombinedSettings(path, combined);
  EXPECT_TRUE(combined.move4DSlit) << "the refused value leaves the box as it was";
  EXPECT_EQ(combined.slitWidthY, "0.5");
  EXPECT_EQ(combined.scanCenter, "3");
  EXPECT_EQ(combined.outputFileName, "c.com");
}

// The z panel is filled only when ColliScan_y.ini was read whole, in either layout.
TEST_F(CollScanSettingsTest, OneFailureRuleOverBothFiles) {
  ASSERT_TRUE(WriteFileBytes(Path(kCollScanSettingsFileZ), "1\r\n2\r\n3\r\nz.com\r\n"));
  const struct {
    const char* yFile;  // nullptr: none
    const char *yScanWidth, *zScanCenter;
  } rows[] = {
      {nullptr, "", ""},
      {"9\r\n8\r\n", "8", ""},                // cut short
      {"0\r\n0\r\n0\r\n0\r\n0\r\n", "", ""},  // a cut nine-line file
      {"7\r\n6\r\n5\r\ny.com\r\n", "6", "1"},
      {"0\r\n1\r\n1\r\n0\r\n0\r\n7\r\n6\r\n5\r\ny.com\r\n", "6", "1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.yFile == nullptr ? "no y file" : row.yFile);
    if (row.yFile != nullptr) {
      ASSERT_TRUE(WriteFileBytes(Path(kCollScanSettingsFileY), row.yFile));
    }
    CollScanForm y, z;
    LoadPanelSettings(dir_.path(), y, z);
    EXPECT_EQ(y.scanWidth, row.yScanWidth);
    EXPECT_EQ(z.scanCenter, row.zScanCenter);
  }
}

}  // namespace
}  // namespace vesko
