// What each generator window makes of its texts: the messages that refuse them and the settings files.

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/support/generator_checks.h"
#include "tests/support/generator_samples.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

const test::GeneratorSample& SampleNamed(const std::string& name) {
  for (const test::GeneratorSample& sample : test::GeneratorSamples()) {
    if (sample.name == name) {
      return sample;
    }
  }
  throw std::logic_error("no sample " + name);
}

// Stores the form `check` passes in `path` as exactly `bytes`; a fresh window that loads the file and stores
// it again must write the same bytes.
constexpr auto kValidate = [](const auto& form) { return Validate(form); };
template <typename Form, typename Check = decltype(kValidate)>
void ExpectSettingsRoundTrip(const Form& typed, const std::string& path, const std::string& bytes,
                             Check check = kValidate) {
  Form form = typed;
  for (const char* when : {"saved", "loaded and saved again"}) {
    const auto p = check(form);
    ASSERT_TRUE(p.ok()) << p.message();
    ASSERT_EQ(SaveSettings(path, *p), std::nullopt);
    EXPECT_EQ(ReadFileBytes(path), bytes) << when;
    form = Form{};
    LoadSettings(path, form);
  }
}

constexpr const char* kSetting = "Setting Error!";
constexpr const char* kRepeat = "Repeat Times Error";

// Each row types its values into its own copy of a sample's form. The first failing check decides, so the
// rows with several bad values fix the order of the checks. The slit scan's rows also stand for the
// shared checks of the file name and the repeat count, which come last of all; the gonio stage's, whose
// messages name the field, for the scan range the collimator, lens and GonioY windows share; the
// collimator's for the slit fields (shared with the slit move and the gonio stage), checked even when the
// slit is not set.
TEST(GeneratorForms, RefusedInputsInCheckOrder) {
  const struct {
    const char* sample;
    const char* typed;    // option=value;option=value
    const char* message;  // empty: the form passes
  } rows[] = {
      {"SlitScanRepeat", "axis=none", kSetting},
      {"SlitScanRepeat", "slit-width=1,5", kSetting},
      {"SlitScanRepeat", "scan-center=-1e39", kSetting},
      {"SlitScanRepeat", "scan-width=   ", kSetting},
      {"SlitScanRepeat", "division=1", kSetting},
      {"SlitScanRepeat", "axis=z;slit-width=3e38;scan-center=3e38", kSetting},
      {"SlitScanRepeat", "output-file-name=run", kSetting},
      {"SlitScanRepeat", "repeat=1", kRepeat},
      {"SlitScanRepeat", "repeat=abc", kRepeat},
      {"SlitScanRepeat", "repeat=40000", kRepeat},
      {"SlitScanRepeat", "repeat=0;output-file-name=run", kSetting},

      {"SlitDecScan", "axis=none", kSetting},
      {"SlitDecScan", "start-slit-width=abc", kSetting},
      {"SlitDecScan", "end-slit-width=", kSetting},
      {"SlitDecScan", "scan-center=1.2.3", kSetting},
      {"SlitDecScan", "dec-step=0", kSetting},
      {"SlitDecScan", "dec-step=0.00001", kSetting},  // too many points
      {"SlitDecScan", "axis=y;start-slit-width=3e38;end-slit-width=3e38;scan-center=3e38", kSetting},
      {"SlitDecScan", "output-file-name=run", kSetting},
      {"SlitDecScan", "repeat=1", kRepeat},
      {"SlitDecScan", "start-slit-width=;repeat=1", kSetting},

      {"SlitMove", "slit-center-z=1e40", kSetting},
      {"SlitMove", "output-file-name=move", kSetting},
      {"SlitMove", "slit-width-y=3e38;slit-center-y=3e38", kSetting},  // a blade beyond 32 bits

      {"CollScan", "division=1", kSetting},
      {"CollScan", "move-4d-slit=0;slit-width-y=", "SlitWidthY Error!"},
      {"CollScan", "move-4d-slit=0;slit-width-z=1.2.3", "SlitWidthZ Error!"},
      {"CollScan", "move-4d-slit=0;slit-center-y=-1e39", "SlitCenterY Error!"},
      {"CollScan", "move-4d-slit=0;slit-center-z=abc", "SlitCenterZ Error!"},
      {"CollScan", "output-file-name=Coll1DScan", kSetting},
      {"CollScan", "output-file-name=;slit-center-z=", "SlitCenterZ Error!"},
      {"CollScan", "slit-center-z=;slit-width-y=;slit-width-z=;slit-center-y=", "SlitWidthY Error!"},
      {"CollScan", "slit-center-y=;slit-width-z=;division=x", kSetting},
      // Blade targets that overflow 32 bits refuse the panel only when the slit is set.
      {"CollScan", "move-4d-slit=0;slit-width-y=3e38;slit-center-y=3e38", ""},
      {"CollScan", "move-4d-slit=0;slit-width-z=-3e38;slit-center-z=3e38", ""},
      {"CollScan", "slit-width-y=3e38;slit-center-y=3e38", "SlitCenterY Error!"},
      {"CollScan", "slit-width-z=-3e38;slit-center-z=3e38", "SlitCenterZ Error!"},

      {"LensScan", "axis=none", kSetting},
      {"LensScan", "scan-center=3e40", kSetting},
      {"LensScan", "output-file-name=lens", kSetting},

      // Both GonioY generators share one check of the omega texts, boxes ticked or not, after the scan
      // fields and before the file name; the repeat count comes last of all, and only for generator A.
      {"GonioYScanARepeat", "scan-center=1.2.3", kSetting},
      {"GonioYScanARepeat", "repeat=1", kRepeat},
      {"GonioYScanARepeat", "repeat=1;output-file-name=", kSetting},
      {"GonioYScanARepeat", "output-file-name=;omega2=x", "Omega1 Setting Error!"},
      {"GonioYScanARepeat", "omega2=x;omega1=-1e39", "Omega0 Setting Error!"},
      {"GonioYScanARepeat", "omega1=-1e39;division=1", kSetting},
      {"GonioYScanB", "repeat=1", ""},

      {"GonioStageScan", "scan-center=4e38", "Scan Center Error!"},
      {"GonioStageScan", "scan-width=abc", "Scan Width Error!"},
      {"GonioStageScan", "division=1", "Scan Division Error!"},
      {"GonioStageScan", "move-4d-slit=0;slit-center-z=1e", "SlitCenterZ Error!"},
      {"GonioStageScan", "output-file-name=.tcl", "FileName Error!"},
      {"GonioStageScan", "output-file-name=;slit-center-z=", "SlitCenterZ Error!"},
      {"GonioStageScan", "slit-center-z=;division=x", "Scan Division Error!"},
      {"GonioStageScan", "division=x;scan-width=x", "Scan Width Error!"},
      {"GonioStageScan", "scan-width=x;scan-center=x", "Scan Center Error!"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SampleNamed(row.sample).refusal(row.typed), row.message)
        << row.sample << " row " << &row - rows;
  }

  // An unticked repeat box is not read at all; y wins if both pairs were somehow chosen; the first chosen
  // lens axis, counted from 0, is the one scanned.
  const Result<SlitScanParams> slit =
      Validate(SlitScanForm{true, true, "0.1", "0", "1", "5", "s.tcl", false, "abc"});
  ASSERT_TRUE(slit.ok()) << slit.message();
  EXPECT_FALSE(slit->RepeatActive);
  EXPECT_EQ(0, slit->Axis);
  const Result<LensScanParams> lens = Validate(LensScanForm{{false, true, true, false}, "0", "1", "3"});
  ASSERT_TRUE(lens.ok()) << lens.message();
  EXPECT_EQ(lens->Axis, 1);
}

// Numbers keep three decimals and divisions their whole part; a name with a comma is quoted. A fresh window
// that loads the file stores the same bytes again.
TEST(GeneratorForms, SettingsRoundTrips) {
  test::TempDir dir;
  ExpectSettingsRoundTrip(SlitScanForm{true, false, "0.12345", "-0.0004", "12.3456", "4.5", " run,1.tcl "},
                          dir.File(kSlitScanSettingsFile),
                          "0\r\n0.123\r\n0.000\r\n12.346\r\n4\r\n\"run,1.tcl\"\r\n");
  ExpectSettingsRoundTrip(SlitScanForm{false, true, "0.1", "0", "1", "5"}, dir.File(kSlitScanSettingsFile),
                          "1\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n4DSlit1DScan.tcl\r\n");
  ExpectSettingsRoundTrip(SlitDecScanForm{false, true, "1.23456", "0.5", "-0.1", "0.25", "  dec,1.tcl "},
                          dir.File(kSlitDecScanSettingsFile),
                          "1\r\n1.235\r\n0.500\r\n-0.100\r\n0.250\r\n\"dec,1.tcl\"\r\n");
  ExpectSettingsRoundTrip(SlitMoveForm{"0.12345", "0.4", "-0.0004", "0.1", " move.com "},
                          dir.File(kSlitMoveSettingsFile),
                          "0.123\r\n0.400\r\n0.000\r\n0.100\r\nmove.com\r\n");
  ExpectSettingsRoundTrip(LensScanForm{{false, false, false, true}, "0.12345", "-1", "2.5", " l.tcl "},
                          dir.File(kLensScanSettingsFile), "3\r\n0.123\r\n-1.000\r\n2\r\nl.tcl\r\n");
  GonioStageScan2Form stage{0, 1, "0.5", "0.3", "0.1", "-0.05", "0.12345", "-2", "10.5", " s,1.tcl "};
  ExpectSettingsRoundTrip(
      stage, dir.File(GonioStageScanSettingsFile(0)),
      "1\r\n0.500\r\n0.300\r\n0.100\r\n-0.050\r\n0.123\r\n-2.000\r\n10\r\n\"s,1.tcl\"\r\n");
  stage.move4DSlit = 2;  // a grey box is stored unticked
  ASSERT_FALSE(SaveSettings(dir.File(GonioStageScanSettingsFile(1)), *Validate(stage)).has_value());
  EXPECT_EQ(ReadFileBytes(dir.File(GonioStageScanSettingsFile(1))).substr(0, 3), "0\r\n");
}

// The blade pair's selector: one that is not a number stops the reading; a number chooses the z pair
// unless it rounds to 0. A lens axis that is a number outside the options selects none and reading goes
// on; one that is not a number stops the reading there.
TEST(GeneratorForms, ChoiceFieldsInTheSettingsFile) {
  test::TempDir dir;
  const auto loaded = [path = dir.File("choices.ini")](const char* content, auto form) {
    EXPECT_TRUE(WriteFileBytes(path, content));
    LoadSettings(path, form);
    return form;
  };
  const struct {
    const char* content;
    bool axisY, axisZ;
    const char* slitWidth;
  } slitRows[] = {
      {"abc\r\n0.500\r\n1.250\r\n", false, false, ""},
      {"2\r\n0.500\r\n", false, true, "0.500"},
      {"  0.4  \r\n  2.5\r\n", true, false, "2.5"},
  };
  for (const auto& row : slitRows) {
    const SlitScanForm form = loaded(row.content, SlitScanForm{});
    EXPECT_EQ(std::tuple(form.axisY, form.axisZ, form.slitWidth),
              std::tuple(row.axisY, row.axisZ, std::string(row.slitWidth)))
        << row.content;
  }
  const struct {
    const char* content;
    std::array<bool, 4> axis;
    const char *scanCenter, *outputFileName;
  } lensRows[] = {
      {"4\r\n1\r\n2\r\n3\r\nx.tcl\r\n", {}, "1", "x.tcl"},
      {"-1\r\n1\r\n2\r\n3\r\nx.tcl\r\n", {}, "1", "x.tcl"},
      {"lens_y\r\n1\r\n2\r\n3\r\nx.tcl\r\n", {}, "", "Lens1DScan.tcl"},
      {"1.5\r\n4\r\n", {false, false, true, false}, "4", "Lens1DScan.tcl"},  // 1.5 rounds to 2
  };
  for (const auto& row : lensRows) {
    const LensScanForm form = loaded(row.content, LensScanForm{});
    EXPECT_EQ(std::tuple(form.axis, form.scanCenter, form.outputFileName),
              std::tuple(row.axis, std::string(row.scanCenter), std::string(row.outputFileName)))
        << row.content;
  }
  // A stored axis replaces the one chosen before; a number that names no axis keeps it.
  LensScanForm second;
  second.axis = {false, true, false, false};
  EXPECT_EQ(loaded("2\r\n", second).axis, (std::array<bool, 4>{false, false, true, false}));
  EXPECT_EQ(loaded("4\r\n", second).axis, second.axis);
}

// Both collimator layouts read back through the window's reader and the combined window's reader: the
// loaded panel stores the same bytes again, and a four-line file leaves the slit fields as they were.
TEST(GeneratorForms, CollimatorLayoutsRoundTripThroughBothReaders) {
  test::TempDir dir;
  const CollScanForm typed{0, "0.12345", "-2", "3.5", " scan,old.com ", true, "0.5", "0.3", "0.1", "-0.05"};
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
  const std::string path = dir.File(kCollScanSettingsFileY);
  for (const auto& layout : layouts) {
    for (Load load : {Load(&LoadSettings), Load(&LoadCombinedSettings)}) {
      ASSERT_EQ(layout.save(path, *Validate(typed)), std::nullopt);
      EXPECT_EQ(ReadFileBytes(path), layout.bytes);
      CollScanForm loaded{0, "", "", "", "Coll1DScan.com", false, "7", "0.3", "0.1", "-0.05"};
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

// A box value other than 0 or 1 stops the collimator window's reader but not the combined one, which
// skips it; the z panel is filled only when ColliScan_y.ini was read whole, in either layout.
TEST(GeneratorForms, CollimatorFailureRules) {
  test::TempDir dir;
  const std::string yPath = dir.File(kCollScanSettingsFileY);
  ASSERT_TRUE(WriteFileBytes(yPath, "2\r\n0.5\r\n0.25\r\n0\r\n1\r\n3\r\n4\r\n5\r\nc.com\r\n"));
  CollScanForm single, combined;
  LoadSettings(yPath, single);
  EXPECT_EQ(single.slitWidthY, "");
  combined.move4DSlit = true;
  LoadCombinedSettings(yPath, combined);
  EXPECT_TRUE(combined.move4DSlit);
  EXPECT_EQ(combined.slitWidthY, "0.5");
  EXPECT_EQ(combined.outputFileName, "c.com");

  ASSERT_TRUE(WriteFileBytes(dir.File(kCollScanSettingsFileZ), "1\r\n2\r\n3\r\nz.com\r\n"));
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
    ASSERT_TRUE(WriteFileBytes(yPath, row.yFile));
    CollScanForm y, z;
    LoadPanelSettings(dir.path(), y, z);
    EXPECT_EQ(y.scanWidth, row.yScanWidth);
    EXPECT_EQ(z.scanCenter, row.zScanCenter);
  }
}

// The grey box did not turn omega and is stored unticked; a ticked box loaded applies the omega rule. A
// grey box loads as grey and turns no angle; a box value other than 0, 1 or 2 stops the window's reader,
// while the combined window's reader skips it and goes on.
TEST(GeneratorForms, GonioYSettingsAndTheirBoxes) {
  test::TempDir dir;
  const std::string path = dir.File(kGonioYScanSettingsFile);
  GonioYScanForm typed{"0.12345", "-2", "10.5", " y,old.tcl "};
  typed.useOmega = {2, 1};
  typed.omega = {"1e-4", "7"};
  ExpectSettingsRoundTrip(typed, path,
                          "0\r\n0.123\r\n-2.000\r\n10\r\n\"y,old.tcl\"\r\n0\r\n0.000\r\n1\r\n7.000\r\n",
                          [](const GonioYScanForm& form) { return Validate(form, GonioYGenerator::B); });
  GonioYScanForm loaded;
  loaded.repeatActive = true;
  LoadSettings(path, loaded);
  EXPECT_FALSE(loaded.repeatActive);

  ASSERT_TRUE(WriteFileBytes(path, "7\r\n1\r\n2\r\n3\r\na.tcl\r\n2\r\n4\r\n3\r\n-4\r\n"));
  GonioYScanForm form, combined;
  LoadSettings(path, form);
  EXPECT_EQ(form.outputFileName, "a.tcl");
  EXPECT_EQ(form.useOmega, (std::array<int, 2>{2, 0}));
  EXPECT_EQ(form.omega, (std::array<std::string, 2>{"4", "-5.000"}));
  const Result<GonioYScanParams> p = Validate(form, GonioYGenerator::B);
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p->UseOmega, (std::array<bool, 2>{false, false}));
  LoadCombinedSettings(path, combined);
  EXPECT_EQ(combined.useOmega, (std::array<int, 2>{2, 0}));
  EXPECT_EQ(combined.omega, (std::array<std::string, 2>{"4", "-4"}));
}

// The gonio stage's z panel is filled only when the y file was read whole; a box value other than 0, 1 or
// 2 stops the window's reader but not the combined window's.
TEST(GeneratorForms, GonioStageFailureRules) {
  test::TempDir dir;
  const std::string yPath = dir.File(GonioStageScanSettingsFile(0));
  ASSERT_TRUE(WriteFileBytes(dir.File(GonioStageScanSettingsFile(1)),
                             "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\nz.tcl\r\n"));
  const struct {
    const char* yFile;
    int yBox;
    const char *ySlitWidthZ, *zDivision;
  } rows[] = {
      {"2\r\n9\r\n8\r\n", 2, "8", ""},  // cut short
      {"3\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\ny.tcl\r\n", 0, "", ""},
      {"1\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\ny.tcl\r\n", 1, "2", "7"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.yFile);
    ASSERT_TRUE(WriteFileBytes(yPath, row.yFile));
    GonioStageScan2Form y, z;
    LoadPanelSettings(dir.path(), y, z);
    EXPECT_EQ(y.move4DSlit, row.yBox);
    EXPECT_EQ(y.slitWidthZ, row.ySlitWidthZ);
    EXPECT_EQ(z.division, row.zDivision);
  }
  GonioStageScan2Form combined;
  ASSERT_TRUE(WriteFileBytes(yPath, rows[1].yFile));
  LoadCombinedSettings(yPath, combined);
  EXPECT_EQ(combined.move4DSlit, 0);
  EXPECT_EQ(combined.slitWidthY, "1");
  EXPECT_EQ(combined.outputFileName, "y.tcl");
}

}  // namespace
}  // namespace vesko
