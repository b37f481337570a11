#include "cli/cli.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/break_analysis.h"
#include "core/line_sink.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_scan.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ListFolder;
using test::PathExists;
using test::ReadFileBytes;
using test::SameText;
using test::TempDir;
using test::WriteFileBytes;

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
  std::string FirstErrorLine() const { return err.substr(0, err.find('\n')); }
};

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

Outcome Invoke(const std::vector<std::string>& args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Outcome o;
  o.code = RunCli(args, out, err);
  o.out = Drain(out);
  o.err = Drain(err);
  return o;
}

std::string Expected(const SlitScanForm& form, const std::string& outputFolder) {
  const Result<SlitScanParams> p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  StringSink sink;
  if (p.ok()) {
    BuildScript(*p, outputFolder, sink);
  }
  return sink.text();
}

class SlitScanCli : public ::testing::Test {
 protected:
  // The worked example of the y pair, typed in full on the command line.
  std::vector<std::string> Args(std::vector<std::string> extra = {}) const {
    std::vector<std::string> args = {"slit-scan",
                                     "--settings-dir",
                                     settings_.path(),
                                     "--axis",
                                     "y",
                                     "--slit-width",
                                     "0.1",
                                     "--scan-center=0",
                                     "--scan-width",
                                     "1",
                                     "--division",
                                     "5",
                                     "--output-folder",
                                     output_.path()};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }

  static SlitScanForm ExampleForm() {
    SlitScanForm f;
    f.axisY = true;
    f.slitWidth = "0.1";
    f.scanCenter = "0";
    f.scanWidth = "1";
    f.division = "5";
    return f;
  }

  std::string ScriptPath(const std::string& name = "4DSlit1DScan.tcl") const { return output_.File(name); }
  std::string SettingsPath() const { return settings_.File("4DSlitScan.ini"); }

  TempDir settings_;
  TempDir output_;
};

TEST_F(SlitScanCli, WritesTheScriptThenTheSettings) {
  const Outcome o = Invoke(Args());
  EXPECT_EQ(0, o.code);
  EXPECT_EQ("", o.out);
  EXPECT_EQ("", o.err);
  EXPECT_TRUE(SameText(Expected(ExampleForm(), output_.path()), ReadFileBytes(ScriptPath())));
  EXPECT_EQ("0\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n4DSlit1DScan.tcl\r\n", ReadFileBytes(SettingsPath()));
}

TEST_F(SlitScanCli, StdoutPrintsTheScriptAndWritesNothing) {
  const Outcome o = Invoke(Args({"--output-folder=C:\\data", "--stdout"}));
  EXPECT_EQ(0, o.code);
  EXPECT_EQ("", o.err);
  EXPECT_TRUE(SameText(Expected(ExampleForm(), "C:\\data"), o.out));
  EXPECT_TRUE(ListFolder(output_.path()).empty());
  EXPECT_TRUE(ListFolder(settings_.path()).empty());
}

// A fresh window: the boxes come from the settings file, and each option retypes one box as is.
TEST_F(SlitScanCli, OptionsReplaceTheStoredTexts) {
  ASSERT_TRUE(WriteFileBytes(SettingsPath(), "1\r\n0.200\r\n1.500\r\n2.000\r\n3\r\nz.tcl\r\n"));
  Outcome o =
      Invoke({"slit-scan", "--settings-dir", settings_.path(), "--output-folder", "C:\\data", "--stdout"});
  EXPECT_EQ(0, o.code) << o.err;
  SlitScanForm stored;
  stored.axisZ = true;
  stored.slitWidth = "0.2";
  stored.scanCenter = "1.5";
  stored.scanWidth = "2";
  stored.division = "3";
  stored.outputFileName = "z.tcl";
  EXPECT_TRUE(SameText(Expected(stored, "C:\\data"), o.out));

  o = Invoke({"slit-scan", "--settings-dir", settings_.path(), "--output-folder", "C:\\data", "--stdout",
              "--axis=y", "--division", " 4.5 ", "--output-file-name=  run.b.tcl  ", "--repeat", "3"});
  EXPECT_EQ(0, o.code) << o.err;
  stored.axisY = true;
  stored.axisZ = false;
  stored.division = "4";
  stored.outputFileName = "run.tcl";
  stored.repeatActive = true;
  stored.repeatTimes = "3";
  EXPECT_TRUE(SameText(Expected(stored, "C:\\data"), o.out));
}

TEST_F(SlitScanCli, RefusedInputsExitOneWithTheWindowsMessage) {
  struct Row {
    std::vector<std::string> extra;
    const char* firstLine;  // nullptr: any non-empty message
  };
  const Row rows[] = {
      {{"--division", "1"}, "Setting Error!"},
      {{"--slit-width", "1e39"}, "Setting Error!"},
      {{"--output-file-name", "   "}, "Setting Error!"},
      {{"--repeat", "1"}, "Repeat Times Error"},
      {{"--repeat", "abc", "--division", "40000"}, "Setting Error!"},
      {{"--output-folder", "|cat"}, nullptr},
      {{"--output-folder", "~/x", "--stdout"}, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.extra.at(1));
    const Outcome o = Invoke(Args(row.extra));
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("", o.out);
    if (row.firstLine != nullptr) {
      EXPECT_EQ(row.firstLine, o.FirstErrorLine());
    } else {
      EXPECT_NE(std::string::npos, o.FirstErrorLine().find(row.extra.at(1)));
    }
    EXPECT_TRUE(ListFolder(output_.path()).empty());
    EXPECT_TRUE(ListFolder(settings_.path()).empty());
  }
}

TEST_F(SlitScanCli, RefusedRepeatLeavesThePreviousScriptAndSettings) {
  ASSERT_EQ(0, Invoke(Args()).code);
  const std::string script = ReadFileBytes(ScriptPath());
  const std::string settings = ReadFileBytes(SettingsPath());
  ASSERT_FALSE(script.empty());
  ASSERT_FALSE(settings.empty());

  const Outcome o = Invoke(Args({"--slit-width", "0.3", "--repeat", "0"}));
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("Repeat Times Error", o.FirstErrorLine());
  EXPECT_EQ(script, ReadFileBytes(ScriptPath()));
  EXPECT_EQ(settings, ReadFileBytes(SettingsPath()));
  EXPECT_EQ(std::vector<std::string>{"4DSlit1DScan.tcl"}, ListFolder(output_.path()));
}

TEST_F(SlitScanCli, UsageErrorsExitTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"slit"},
      {"--stdout"},
      {"slit-scan", "--bogus", "1"},
      {"slit-scan", "--axis", "x"},
      {"slit-scan", "--axis=Y"},
      {"slit-scan", "--division"},
      {"slit-scan", "--stdout=yes"},
      {"slit-scan", "extra"},
  };
  for (const std::vector<std::string>& args : cases) {
    SCOPED_TRACE(args.empty() ? "(none)" : args.back());
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--settings-dir=" + settings_.path(), "--output-folder=" + output_.path()});
    if (!args.empty() && args.back() == "--division") {
      all = args;  // the missing value must be the last argument
    }
    const Outcome o = Invoke(all);
    EXPECT_EQ(2, o.code);
    EXPECT_EQ("", o.out);
    EXPECT_EQ(0u, o.err.rfind("vesko-script: ", 0)) << o.err;
    EXPECT_NE(std::string::npos, o.err.find("Usage: vesko-script GENERATOR")) << o.err;
    EXPECT_TRUE(ListFolder(output_.path()).empty());
  }
}

TEST_F(SlitScanCli, UnwritableScriptExitsThreeAndStoresNothing) {
  const std::string missing = output_.File("no such folder");
  const Outcome o = Invoke(Args({"--output-folder", missing}));
  EXPECT_EQ(3, o.code);
  EXPECT_EQ(0u, o.FirstErrorLine().rfind("Cannot write " + missing, 0)) << o.err;
  EXPECT_FALSE(PathExists(SettingsPath()));
  EXPECT_TRUE(ListFolder(output_.path()).empty());
}

TEST_F(SlitScanCli, FullStandardOutputExitsThree) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) {
    GTEST_SKIP() << "no /dev/full here";
  }
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(3, RunCli(Args({"--stdout"}), full, err));
  std::fclose(full);
  EXPECT_EQ(0u, Drain(err).rfind("Cannot write standard output: ", 0));
}

TEST_F(SlitScanCli, OutputFolderDefaultsToTheStoredOne) {
  ASSERT_TRUE(WriteFileBytes(settings_.File("VeskoScriptCreator.ini"), output_.path() + "\r\n"));
  const Outcome o = Invoke({"slit-scan", "--settings-dir", settings_.path(), "--axis", "z", "--slit-width",
                            "0.2", "--scan-center", "1.5", "--scan-width", "2", "--division", "3"});
  EXPECT_EQ(0, o.code) << o.err;
  SlitScanForm form;
  form.axisZ = true;
  form.slitWidth = "0.2";
  form.scanCenter = "1.5";
  form.scanWidth = "2";
  form.division = "3";
  EXPECT_TRUE(SameText(Expected(form, output_.path()), ReadFileBytes(ScriptPath())));
}

TEST_F(SlitScanCli, HostileFileNameIsEscapedInTheOpenLine) {
  const std::string name = "a[exec rm x].tcl";
  Outcome o = Invoke(Args({"--output-folder", "C:\\data", "--output-file-name", name, "--stdout"}));
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_NE(std::string::npos, o.out.find("\r\nset fp [open C:\\\\data\\\\a\\[exec\\ rm\\ x\\].dat w+]\r\n"));

  o = Invoke(Args({"--output-file-name", name}));
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_TRUE(PathExists(ScriptPath(name)));
}

TEST(SlitMoveCli, WritesTheCommandFileAndReportsTheBlades) {
  TempDir settings;
  TempDir output;
  const Outcome o = Invoke({"slit-move", "--settings-dir", settings.path(), "--output-folder", output.path(),
                            "--slit-width-y", "0.2", "--slit-width-z", "0.4", "--slit-center-y", "0.0",
                            "--slit-center-z", "0.1"});
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, "y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。\n");
  EXPECT_EQ(ReadFileBytes(output.File("4DSlitMove.com")).substr(0, 43),
            "TclSrv_Optics:4DSlit {slit_y1 move 0.100}\r\n");
  EXPECT_EQ(ReadFileBytes(settings.File("4DSlitMove.ini")),
            "0.200\r\n0.400\r\n0.000\r\n0.100\r\n4DSlitMove.com\r\n");

  // Without any stored or typed widths the first check refuses; nothing new is written.
  TempDir fresh;
  const Outcome refused =
      Invoke({"slit-move", "--settings-dir", fresh.path(), "--output-folder", fresh.path()});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.FirstErrorLine(), "Setting Error!");
  EXPECT_TRUE(refused.out.empty());
  EXPECT_TRUE(ListFolder(fresh.path()).empty());
}

TEST(SlitDecScanCli, StdoutMatchesTheGeneratorAndAZeroStepIsRefused) {
  TempDir settings;
  const std::vector<std::string> args = {"slit-dec-scan",
                                         "--settings-dir",
                                         settings.path(),
                                         "--output-folder",
                                         "C:\\data",
                                         "--axis",
                                         "z",
                                         "--start-slit-width",
                                         "1.0",
                                         "--end-slit-width",
                                         "0.5",
                                         "--scan-center",
                                         "0.1",
                                         "--dec-step",
                                         "0.25",
                                         "--repeat",
                                         "3",
                                         "--stdout"};
  const Outcome o = Invoke(args);
  ASSERT_EQ(o.code, 0) << o.err;
  SlitDecScanForm form;
  form.axisZ = true;
  form.startSlitWidth = "1.0";
  form.endSlitWidth = "0.5";
  form.scanCenter = "0.1";
  form.decStep = "0.25";
  form.repeatActive = true;
  form.repeatTimes = "3";
  StringSink sink;
  BuildScript(*Validate(form), "C:\\data", sink);
  EXPECT_TRUE(SameText(sink.text(), o.out));
  EXPECT_TRUE(ListFolder(settings.path()).empty());

  std::vector<std::string> zeroStep = args;
  zeroStep[14] = "0";
  zeroStep.pop_back();
  const Outcome refused = Invoke(zeroStep);
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.FirstErrorLine(), "Setting Error!");
}

// The script a window would write from these checked inputs.
template <typename Form>
std::string ScriptOf(const Form& form, const std::string& outputFolder) {
  const auto p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  StringSink sink;
  if (p.ok()) {
    BuildScript(*p, outputFolder, sink);
  }
  return sink.text();
}

class CollScanCli : public ::testing::Test {
 protected:
  // The worked example (centre 0.5, width 1.0, five points), slit fields at 0, on panel `panel`.
  std::vector<std::string> Args(const std::string& panel, std::vector<std::string> extra = {}) const {
    std::vector<std::string> args = {"coll-scan",
                                     "--settings-dir",
                                     settings_.path(),
                                     "--output-folder",
                                     output_.path(),
                                     "--panel",
                                     panel,
                                     "--scan-center",
                                     "0.5",
                                     "--scan-width",
                                     "1.0",
                                     "--division",
                                     "5",
                                     "--slit-width-y=0",
                                     "--slit-width-z=0",
                                     "--slit-center-y=0",
                                     "--slit-center-z=0"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }

  static CollScanForm ExampleForm(std::int16_t panel) {
    CollScanForm f;
    f.panel = panel;
    f.scanCenter = "0.5";
    f.scanWidth = "1.0";
    f.division = "5";
    f.slitWidthY = f.slitWidthZ = f.slitCenterY = f.slitCenterZ = "0";
    return f;
  }

  TempDir settings_;
  TempDir output_;
};

TEST_F(CollScanCli, StdoutPrintsTheWorkedExample) {
  const Outcome o = Invoke(Args("y", {"--output-folder", "C:\\data", "--stdout"}));
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_TRUE(SameText(ScriptOf(ExampleForm(0), "C:\\data"), o.out));
  EXPECT_NE(std::string::npos, o.out.find("\r\nTclSrv_Optics:Collimator {col_y move 1.000}\r\n"));
  EXPECT_TRUE(ListFolder(settings_.path()).empty());
}

TEST_F(CollScanCli, PanelZWritesItsScriptAndOnlyItsSettingsFile) {
  const Outcome o =
      Invoke(Args("z", {"--move-4d-slit", "1", "--slit-width-y", "0.3", "--output-file-name", "z.com"}));
  EXPECT_EQ(0, o.code) << o.err;
  CollScanForm form = ExampleForm(1);
  form.move4DSlit = true;
  form.slitWidthY = "0.3";
  form.outputFileName = "z.com";
  EXPECT_TRUE(SameText(ScriptOf(form, output_.path()), ReadFileBytes(output_.File("z.com"))));
  EXPECT_EQ(std::vector<std::string>{"ColliScan_z.ini"}, ListFolder(settings_.path()));
  EXPECT_EQ("0.500\r\n1.000\r\n5\r\nz.com\r\n", ReadFileBytes(settings_.File("ColliScan_z.ini")));
}

// A fresh window fills the z panel only after the whole y file; options type into the chosen panel.
TEST_F(CollScanCli, StoredPanelsLoadUnderOneFailureRule) {
  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_z.ini"), "-1.000\r\n2.000\r\n3\r\nz.com\r\n"));
  const std::vector<std::string> slits = {"--slit-width-y=0",  "--slit-width-z=0",
                                          "--slit-center-y=0", "--slit-center-z=0",
                                          "--stdout",          "--output-folder=C:\\data"};
  std::vector<std::string> args = {"coll-scan", "--settings-dir", settings_.path(), "--panel", "z"};
  args.insert(args.end(), slits.begin(), slits.end());
  Outcome o = Invoke(args);
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("Setting Error!", o.FirstErrorLine());

  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_y.ini"), "0.500\r\n1.000\r\n5\r\ny.com\r\n"));
  o = Invoke(args);
  EXPECT_EQ(0, o.code) << o.err;
  CollScanForm z = ExampleForm(1);
  z.scanCenter = "-1.000";
  z.scanWidth = "2.000";
  z.division = "3";
  z.outputFileName = "z.com";
  EXPECT_TRUE(SameText(ScriptOf(z, "C:\\data"), o.out));
}

TEST_F(CollScanCli, RefusalsAndUsageErrors) {
  // Unused slit fields must still hold numbers, each with its own message.
  std::vector<std::string> args = Args("y");
  args.resize(args.size() - 4);
  Outcome o = Invoke(args);
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("SlitWidthY Error!", o.FirstErrorLine());
  o = Invoke(Args("y", {"--slit-center-z", "z"}));
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("SlitCenterZ Error!", o.FirstErrorLine());
  EXPECT_TRUE(ListFolder(output_.path()).empty());

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"coll-scan", "--settings-dir", settings_.path(), "--scan-center", "0"},
        Args("x"), Args("y", {"--move-4d-slit", "2"})}) {
    o = Invoke(bad);
    EXPECT_EQ(2, o.code);
    EXPECT_EQ(0u, o.err.rfind("vesko-script: ", 0)) << o.err;
  }
  EXPECT_EQ("vesko-script: option '--panel' is required for coll-scan",
            Invoke({"coll-scan", "--stdout"}).FirstErrorLine());
}

TEST(LensScanCli, AxisChoiceReachesScriptAndSettings) {
  TempDir settings;
  TempDir output;
  const std::vector<std::string> args = {
      "lens-scan", "--settings-dir", settings.path(), "--output-folder", output.path(), "--axis",
      "lens_rz",   "--scan-center",  "0.0",           "--scan-width",    "0.3",         "--division",
      "4"};
  Outcome o = Invoke(args);
  ASSERT_EQ(0, o.code) << o.err;
  LensScanForm form;
  form.axis[3] = true;
  form.scanCenter = "0.0";
  form.scanWidth = "0.3";
  form.division = "4";
  EXPECT_TRUE(SameText(ScriptOf(form, output.path()), ReadFileBytes(output.File("Lens1DScan.tcl"))));
  EXPECT_EQ("3\r\n0.000\r\n0.300\r\n4\r\nLens1DScan.tcl\r\n", ReadFileBytes(settings.File("LensScan.ini")));

  // The stored axis is chosen again by a fresh window; another one replaces it.
  o = Invoke({"lens-scan", "--settings-dir", settings.path(), "--output-folder", "C:\\data", "--stdout"});
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_NE(std::string::npos, o.out.find("\r\nTclSrv_Optics:Lens {lens_rz move 0.150}\r\n"));
  o = Invoke({"lens-scan", "--settings-dir", settings.path(), "--output-folder", "C:\\data", "--stdout",
              "--axis", "lens_z"});
  EXPECT_NE(std::string::npos, o.out.find("\r\nputs $fp \"lens_z, Io\"\r\n"));

  EXPECT_EQ(2, Invoke({"lens-scan", "--axis", "lens_x"}).code);
  // No stored and no given axis: the window's refusal.
  o = Invoke({"lens-scan", "--settings-dir", output.path(), "--scan-center=0", "--scan-width=1",
              "--division=3", "--output-folder", "C:\\data", "--stdout"});
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("Setting Error!", o.FirstErrorLine());
}

// gonioy-scan with centre 0, width 1 and three points typed in, results in C:\data; `extra` adds options.
std::vector<std::string> GonioYArgs(const TempDir& settings, std::vector<std::string> extra) {
  std::vector<std::string> args = {
      "gonioy-scan",     "--settings-dir", settings.path(), "--output-folder=C:\\data",
      "--scan-center=0", "--scan-width=1", "--division=3"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

TEST(GonioYScanCli, TickedOmegaBoxChoosesGeneratorB) {
  TempDir settings;
  GonioYScanForm form;
  form.scanCenter = "0";
  form.scanWidth = "1";
  form.division = "3";
  form.useOmega[1] = 1;
  StringSink expected;
  BuildScriptB(*Validate(form, GonioYGenerator::B), "C:\\data", expected);
  const Outcome o = Invoke(GonioYArgs(settings, {"--use-omega2", "1", "--stdout"}));
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_TRUE(SameText(expected.text(), o.out));
  EXPECT_NE(std::string::npos, o.out.find("\r\nTclSrv_Gonio {omega move -5.000}\r\n"));
}

TEST(GonioYScanCli, RepeatNeedsEveryOmegaBoxUnticked) {
  TempDir settings;
  EXPECT_EQ(2, Invoke(GonioYArgs(settings, {"--use-omega1", "1", "--repeat", "2"})).code);
  EXPECT_NE(std::string::npos,
            Invoke(GonioYArgs(settings, {"--repeat", "2", "--stdout"})).out.find("\r\nclose $fp2\r\n"));
  // A box ticked by the stored settings counts too; unticking it on the command line frees --repeat.
  ASSERT_TRUE(WriteFileBytes(settings.File("GonioYScan.ini"),
                             "0\r\n0.000\r\n1.000\r\n3\r\nGonioYScan.tcl\r\n1\r\n5.000\r\n0\r\n-5.000\r\n"));
  Outcome o = Invoke(GonioYArgs(settings, {"--repeat", "2", "--stdout"}));
  EXPECT_EQ(2, o.code);
  EXPECT_EQ("vesko-script: option '--repeat' cannot be used while an omega box is ticked",
            o.FirstErrorLine());
  EXPECT_EQ(0, Invoke(GonioYArgs(settings, {"--repeat", "2", "--use-omega1", "0", "--stdout"})).code);

  // An omega text is checked even when its box is not ticked.
  o = Invoke(GonioYArgs(settings, {"--use-omega1", "0", "--omega2", "x", "--stdout"}));
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("Omega1 Setting Error!", o.FirstErrorLine());
}

TEST(GonioStageScanCli, PanelsWriteTheirScriptAndOnlyTheirSettingsFile) {
  TempDir settings;
  TempDir output;
  GonioStageScan2Form form;
  form.scanCenter = "1.0";
  form.scanWidth = "0.4";
  form.division = "3";
  form.slitWidthY = form.slitWidthZ = form.slitCenterY = form.slitCenterZ = "0";
  const auto args = [&](const std::string& panel, std::vector<std::string> extra) {
    std::vector<std::string> all = {
        "gonio-stage-scan",  "--settings-dir",   settings.path(), "--panel",          panel,
        "--scan-center=1.0", "--scan-width=0.4", "--division=3",  "--slit-width-y=0", "--slit-width-z=0",
        "--slit-center-y=0", "--slit-center-z=0"};
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
  };
  const auto script = [](const GonioStageScan2Form& f, const std::string& outputFolder) {
    StringSink sink;
    BuildScript(*Validate(f), outputFolder, sink);
    return sink.text();
  };

  // The worked example of the y panel, approached from below.
  Outcome o = Invoke(args("y", {"--output-folder", "C:\\data", "--stdout"}));
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_TRUE(SameText(script(form, "C:\\data"), o.out));
  EXPECT_NE(std::string::npos, o.out.find("\r\nTclSrv_GStage {y move 0.780}\r\n"));

  o = Invoke(
      args("z", {"--output-folder", output.path(), "--move-4d-slit", "1", "--output-file-name", "z.tcl"}));
  EXPECT_EQ(0, o.code) << o.err;
  form.panel = 1;
  form.move4DSlit = 1;
  form.outputFileName = "z.tcl";
  EXPECT_TRUE(SameText(script(form, output.path()), ReadFileBytes(output.File("z.tcl"))));
  EXPECT_EQ(std::vector<std::string>{"GonioStageScan2_z.ini"}, ListFolder(settings.path()));
  EXPECT_EQ("1\r\n0.000\r\n0.000\r\n0.000\r\n0.000\r\n1.000\r\n0.400\r\n3\r\nz.tcl\r\n",
            ReadFileBytes(settings.File("GonioStageScan2_z.ini")));

  o = Invoke(args("y", {"--slit-center-y", "c", "--stdout"}));
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("SlitCenterY Error!", o.FirstErrorLine());
  EXPECT_EQ(2, Invoke({"gonio-stage-scan", "--division", "3"}).code);
}

TEST(Cli, HelpListsGeneratorsAndOptions) {
  Outcome o = Invoke({"--help"});
  EXPECT_EQ(0, o.code);
  EXPECT_NE(std::string::npos, o.out.find("slit-scan"));
  EXPECT_EQ("", o.err);

  o = Invoke({"slit-scan", "--help"});
  EXPECT_EQ(0, o.code);
  for (const char* option :
       {"--axis y|z", "--slit-width", "--scan-center", "--scan-width", "--division", "--output-file-name",
        "--repeat", "--output-folder", "--settings-dir", "--stdout"}) {
    EXPECT_NE(std::string::npos, o.out.find(option)) << option;
  }
}

// A decreasing-width result file's rows: falls of 20 a step, then a level near 40 from step 3.
constexpr const char* kWorkedRows =
    "2,2,100\r\n1.5,1.5,80\r\n1,1,60\r\n0.5,0.5,40\r\n0,0,39\r\n-0.5,-0.5,40\r\n-1,-1,40\r\n";

class AnalyseCli : public ::testing::Test {
 protected:
  std::string File(const std::string& name, const std::string& rows = kWorkedRows) {
    const std::string path = dir_.File(name);
    EXPECT_TRUE(WriteFileBytes(path, "slit_y1,slit_y2,Intensity\r\n" + rows));
    return path;
  }
  TempDir dir_;
};

TEST_F(AnalyseCli, PrintsTheFourResults) {
  const std::string results = "cross_x=0.49167\na0=20.00000\na1=40.00000\nb0=39.66667\n";
  Outcome o = Invoke({"analyse", File("run.dat")});
  EXPECT_EQ(0, o.code);
  EXPECT_EQ(results, o.out);
  EXPECT_EQ("", o.err);

  o = Invoke({"analyse", "--threshold", "abc", File("run.dat")});
  EXPECT_EQ(0, o.code);
  EXPECT_EQ(results, o.out);
  EXPECT_EQ(std::string(kThresholdResetMessage) + "\n", o.err);
}

TEST_F(AnalyseCli, StoppedRunsAndProblemsExitWithTheirCodes) {
  const std::string missing = dir_.File("missing.dat");
  struct Row {
    std::vector<std::string> args;
    int code;
    std::string firstErrorLine;
  };
  const std::vector<Row> rows = {
      {{"analyse", File("fall.dat", "3,3,100\r\n2,2,90\r\n1,1,80\r\n0,0,70\r\n")},
       1,
       "0" + std::string(kGateStopText)},
      {{"analyse", File("run.dat"), "--threshold=-2"}, 1, "0" + std::string(kGateStopText)},
      {{"analyse", File("flat.dat", "1,1,100\r\n1,1,80\r\n1,1,60\r\n0,0,40\r\n0,0,39\r\n0,0,40\r\n")},
       1,
       std::string(kNoCrossingMessage)},
      {{"analyse", missing}, 3, "Cannot read " + missing + ": No such file or directory"},
      {{"analyse"}, 2, "vesko-script: no result file given"},
      {{"analyse", File("run.dat"), "other.dat"}, 2, "vesko-script: unexpected argument 'other.dat'"},
      {{"analyse", File("run.dat"), "--threshold"}, 2, "vesko-script: option '--threshold' needs a value"},
      {{"analyse", File("run.dat"), "--stdout"}, 2, "vesko-script: unknown option '--stdout' for analyse"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args.back());
    const Outcome o = Invoke(row.args);
    EXPECT_EQ(row.code, o.code);
    EXPECT_EQ(row.firstErrorLine, o.FirstErrorLine());
    EXPECT_EQ("", o.out);
  }
  EXPECT_NE(std::string::npos, Invoke({"--help"}).out.find("analyse FILE [--threshold T]"));
}

}  // namespace
}  // namespace vesko
