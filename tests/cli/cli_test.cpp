#include "cli/cli.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/line_sink.h"
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

}  // namespace
}  // namespace vesko
