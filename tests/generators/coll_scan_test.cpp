#include "generators/coll_scan.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

// A panel with the slit fields 0.5, 0.3, 0.1 and -0.05, set only when `move4DSlit`.
CollScanForm Form(std::int16_t panel, std::string center, std::string width, std::string division) {
  return {panel,
          std::move(center),
          std::move(width),
          std::move(division),
          "Coll1DScan.com",
          false,
          "0.5",
          "0.3",
          "0.1",
          "-0.05"};
}

// The whole script of a scan of `axis` through `positions`, the slit set first when `slitBlock` says so.
std::string Expected(const std::string& axis, const std::vector<std::string>& positions,
                     const std::string& slitBlock = "") {
  return test::Crlf(std::string(test::kSeikikaHead) + "set fp [open C:\\\\data\\\\Coll1DScan.dat w+]\n" +
                    "TclSrv_Optics:BeamStop out null\n" + slitBlock +
                    "TclSrv_Optics:Shutter open\nputs $fp \"" + axis + ", Io, I, I/Io\"\n" +
                    test::TwoCounterRows("TclSrv_Optics:Collimator {" + axis, "fp", positions) +
                    "close $fp\nTclSrv_Optics:Shutter close\nTclSrv_Optics:BeamStop in null\n");
}

// The y panel runs from the high edge down, then returns to the centre; the z panel runs upward.
TEST(CollScanTest, WorkedExampleAndTheSlitSetOnlyWhenTicked) {
  const std::vector<std::string> y = {"1.000", "0.750", "0.500", "0.250", "0.000", "0.500"};
  CollScanForm form = Form(0, "0.5", "1.0", "5");
  EXPECT_TRUE(test::SameText(Expected("col_y", y), test::ScriptOf(form)));
  form.move4DSlit = true;
  EXPECT_TRUE(test::SameText(Expected("col_y", y, test::kSlitSetBlock), test::ScriptOf(form)));
  EXPECT_TRUE(
      test::SameText(Expected("col_z", {"1.500", "2.500", "2.000"}), test::ScriptOf(Form(1, "2", "1", "2"))));
}

// One row a field check; the slit fields have their own messages and are checked even when the slit is
// not set (these rows stand for every window that may set the slit). The first failing check decides.
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
  form.outputFileName = form.slitCenterZ = "";
  EXPECT_EQ(test::RefusalOf(form), "SlitCenterZ Error!");
  form.slitWidthY = form.slitWidthZ = form.slitCenterY = "";
  EXPECT_EQ(test::RefusalOf(form), "SlitWidthY Error!");
  form.division = "x";
  EXPECT_EQ(test::RefusalOf(form), "Setting Error!");

  // Blade targets that overflow 32 bits refuse the panel only when the slit is set.
  form = Form(1, "0", "1", "3");
  form.slitWidthY = form.slitCenterY = "3e38";
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
  test::TempDir dir_;
};

// Both layouts read back through the window's reader and the combined window's reader: the loaded
// panel stores the same bytes again, and a four-line file leaves the slit fields as they were.
TEST_F(CollScanSettingsTest, BothLayoutsRoundTripThroughBothReaders) {
  CollScanForm typed = Form(0, "0.12345", "-2", "3.5");
  typed.move4DSlit = true;
  typed.outputFileName = " scan,old.com ";
  using Save = std::optional<IoError> (*)(const std::string&, const CollScanParams&);
  using Load = void (*)(const std::string&, CollScanForm&);
  const struct {
    Save save;
    const char* bytes;
  } layouts[] = {
      {&SaveSettings, "0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n"},
      {&SaveCombinedSettings,
       "1\r\n0.500\r\n0.300\r\n0.100\r\n-0.050\r\n0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n"},
  };
  const std::string path = Path(kCollScanSettingsFileY);
  for (const auto& layout : layouts) {
    for (Load load : {Load(&LoadSettings), Load(&LoadCombinedSettings)}) {
      ASSERT_EQ(layout.save(path, *Validate(typed)), std::nullopt);
      EXPECT_EQ(ReadFileBytes(path), layout.bytes);
      CollScanForm loaded = Form(0, "", "", "");
      loaded.slitWidthY = "7";
      load(path, loaded);
      EXPECT_EQ(loaded.slitWidthY, layout.save == Save(&SaveSettings) ? "7" : "0.500");
      EXPECT_EQ(loaded.move4DSlit, layout.save != Save(&SaveSettings));
      const Result<CollScanParams> again = Validate(loaded);
      ASSERT_TRUE(again.ok()) << again.message();
      ASSERT_EQ(layout.save(path, *again), std::nullopt);
      EXPECT_EQ(ReadFileBytes(path), layout.bytes);
    }
  }
}

// A box value other than 0 or 1 stops the window's reader but not the combined one, which skips it;
// the z panel is filled only when ColliScan_y.ini was read whole, in either layout.
TEST_F(CollScanSettingsTest, FailureRules) {
  ASSERT_TRUE(
      WriteFileBytes(Path(kCollScanSettingsFileY), "2\r\n0.5\r\n0.25\r\n0\r\n1\r\n3\r\n4\r\n5\r\nc.com\r\n"));
  CollScanForm single, combined;
  LoadSettings(Path(kCollScanSettingsFileY), single);
  EXPECT_EQ(single.slitWidthY, "");
  combined.move4DSlit = true;
  LoadCombinedSettings(Path(kCollScanSettingsFileY), combined);
  EXPECT_TRUE(combined.move4DSlit);
  EXPECT_EQ(combined.slitWidthY, "0.5");
  EXPECT_EQ(combined.outputFileName, "c.com");

  ASSERT_TRUE(WriteFileBytes(Path(kCollScanSettingsFileZ), "1\r\n2\r\n3\r\nz.com\r\n"));
  const struct {
    const char* yFile;
    const char *yScanWidth, *zScanCenter;
  } rows[] = {
      {"9\r\n8\r\n", "8", ""},                // cut short
      {"0\r\n0\r\n0\r\n0\r\n0\r\n", "", ""},  // a cut nine-line file
      {"7\r\n6\r\n5\r\ny.com\r\n", "6", "1"},
      {"0\r\n1\r\n1\r\n0\r\n0\r\n7\r\n6\r\n5\r\ny.com\r\n", "6", "1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.yFile);
    ASSERT_TRUE(WriteFileBytes(Path(kCollScanSettingsFileY), row.yFile));
    CollScanForm y, z;
    LoadPanelSettings(dir_.path(), y, z);
    EXPECT_EQ(y.scanWidth, row.yScanWidth);
    EXPECT_EQ(z.scanCenter, row.zScanCenter);
  }
}

}  // namespace
}  // namespace vesko
