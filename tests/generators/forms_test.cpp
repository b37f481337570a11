// What each generator window makes of its texts: the messages that refuse them and the settings files.

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/support/generator_samples.h"
#include "tests/support/test_support.h"

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

// Stores the form `check` passes in `path` as exactly `bytes` with `save`; a fresh window that loads the file
// with `load` and stores it again must write the same bytes.
constexpr auto kValidate = [](const auto& form) { return Validate(form); };
constexpr auto kSave = [](const std::string& path, const auto& p) { return SaveSettings(path, p); };
constexpr auto kLoad = [](const std::string& path, auto& form) { LoadSettings(path, form); };
template <typename Form, typename Check = decltype(kValidate), typename Save = decltype(kSave),
          typename Load = decltype(kLoad)>
void ExpectSettingsRoundTrip(const Form& typed, const std::string& path, const std::string& bytes,
                             Check check = kValidate, Save save = kSave, Load load = kLoad) {
  Form form = typed;
  for (const char* when : {"saved", "loaded and saved again"}) {
    const auto p = check(form);
    ASSERT_TRUE(p.ok()) << p.message();
    ASSERT_EQ(save(path, *p), std::nullopt);
    EXPECT_EQ(ReadFileBytes(path), bytes) << when;
    form = Form{};
    load(path, form);
  }
}

constexpr const char* kSetting = "Setting Error!";
constexpr const char* kRepeat = "Repeat Times Error";

// Each row types its values into its own copy of a sample's form; the first failing check decides, so
// rows with several bad values fix the order of the checks: the file name and the repeat count come last.
TEST(GeneratorForms, RefusedInputsInCheckOrder) {
  const struct {
    const char* sample;
    const char* typed;    // option=value;option=value
    const char* message;  // empty: the form passes
  } rows[] = {
      {"SlitScanRepeat", "axis=none", kSetting},
      {"SlitScanRepeat", "slit-width=1,5", kSetting},
      {"SlitScanRepeat", "scan-center=-1e39", kSetting},
      {"SlitScanRepeat", "axis=z;slit-width=3e38;scan-center=3e38", kSetting},
      {"SlitScanRepeat", "repeat=1", kRepeat},
      {"SlitScanRepeat", "repeat=0;output-file-name=run", kSetting},
      {"SlitDecScan", "axis=none", kSetting},
      {"SlitDecScan", "start-slit-width=abc", kSetting},
      {"SlitDecScan", "dec-step=0.00001", kSetting},  // too many points
      {"SlitDecScan", "axis=y;start-slit-width=3e38;end-slit-width=3e38;scan-center=3e38", kSetting},
      {"SlitDecScan", "output-file-name=run", kSetting},
      {"SlitDecScan", "repeat=1", kRepeat},
      {"SlitMove", "output-file-name=move", kSetting},
      {"SlitMove", "slit-width-y=3e38;slit-center-y=3e38", kSetting},  // a blade beyond 32 bits
      {"CollScan", "division=1", kSetting},
      {"CollScan", "output-file-name=Coll1DScan", kSetting},
      // The slit fields are checked even when the slit is not set; blades beyond 32 bits only when it is.
      {"CollScan", "move-4d-slit=0;slit-width-y=", "SlitWidthY Error!"},
      {"CollScan", "move-4d-slit=0;slit-width-z=1.2.3", "SlitWidthZ Error!"},
      {"CollScan", "move-4d-slit=0;slit-center-y=-1e39", "SlitCenterY Error!"},
      {"CollScan", "move-4d-slit=0;slit-width-z=-3e38;slit-center-z=3e38", ""},
      {"CollScan", "slit-width-z=-3e38;slit-center-z=3e38", "SlitCenterZ Error!"},
      {"LensScan", "axis=none", kSetting},
      {"LensScan", "scan-center=3e40", kSetting},
      // The omega texts are read, boxes ticked or not; the repeat count only for generator A.
      {"GonioYScanARepeat", "scan-center=1.2.3", kSetting},
      {"GonioYScanARepeat", "repeat=1", kRepeat},
      {"GonioYScanARepeat", "output-file-name=;omega2=x", "Omega1 Setting Error!"},
      {"GonioYScanARepeat", "omega2=x;omega1=-1e39", "Omega0 Setting Error!"},
      {"GonioYScanB", "repeat=1", ""},
      {"GonioStageScan", "scan-center=4e38", "Scan Center Error!"},
      {"GonioStageScan", "scan-width=abc", "Scan Width Error!"},
      {"GonioStageScan", "division=1", "Scan Division Error!"},
      {"GonioStageScan", "move-4d-slit=0;slit-center-z=1e", "SlitCenterZ Error!"},
      {"GonioStageScan", "output-file-name=.tcl", "FileName Error!"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SampleNamed(row.sample).refusal(row.typed), row.message)
        << row.sample << " row " << &row - rows;
  }
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
  // The collimator window stores four lines, the combined window the slit fields in front.
  const CollScanForm coll{0, "0.12345", "-2", "3.5", " scan,old.com ", true, "0.5", "0.3", "0.1", "-0.05"};
  ExpectSettingsRoundTrip(
      coll, dir.File(kCollScanSettingsFileY), "0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n", kValidate,
      kSave,
      [](const std::string& path, CollScanForm& form) {  // the four lines leave the slit fields as they were
        form = {0, "", "", "", "", false, "7", "0.3", "0.1", "-0.05"};
        LoadSettings(path, form);
      });
  ExpectSettingsRoundTrip(
      coll, dir.File(kCollScanSettingsFileY),
      "1\r\n0.500\r\n0.300\r\n0.100\r\n-0.050\r\n0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n", kValidate,
      [](const std::string& path, const CollScanParams& p) { return SaveCombinedSettings(path, p); },
      [](const std::string& path, CollScanForm& form) { LoadCombinedSettings(path, form); });
  // A grey omega box turned no angle and is stored unticked.
  GonioYScanForm gonioY{"0.12345", "-2", "10.5", " y,old.tcl "};
  gonioY.useOmega = {2, 1};
  gonioY.omega = {"1e-4", "7"};
  ExpectSettingsRoundTrip(gonioY, dir.File(kGonioYScanSettingsFile),
                          "0\r\n0.123\r\n-2.000\r\n10\r\n\"y,old.tcl\"\r\n0\r\n0.000\r\n1\r\n7.000\r\n",
                          [](const GonioYScanForm& form) { return Validate(form, GonioYGenerator::B); });
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
  // A collimator box value other than 0 or 1 stops the window's reader; the combined window's skips it.
  const std::string collFile = "\r\n0.5\r\n0.25\r\n0\r\n1\r\n3\r\n4\r\n5\r\nc.com\r\n";
  EXPECT_EQ(loaded(("2" + collFile).c_str(), CollScanForm{}).slitWidthY, "");
  CollScanForm combined;
  combined.move4DSlit = true;
  EXPECT_TRUE(WriteFileBytes(dir.File("combined.ini"), "3" + collFile));
  LoadCombinedSettings(dir.File("combined.ini"), combined);
  EXPECT_EQ(std::tuple(combined.move4DSlit, combined.slitWidthY, combined.outputFileName),
            std::tuple(true, std::string("0.5"), std::string("c.com")));
}

}  // namespace
}  // namespace vesko
