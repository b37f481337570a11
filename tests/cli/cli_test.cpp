#include "cli/cli.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/break_analysis.h"
#include "core/platform.h"
#include "generators/slit_scan.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::ListFolder;
using test::ReadFileBytes;
using test::SameText;
using test::ScriptOf;
using test::TempDir;
using test::WriteFileBytes;
using Names = std::vector<std::string>;

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

// The blank-separated words of `line`, then `more` as they are.
std::vector<std::string> Words(const std::string& line, const std::vector<std::string>& more = {}) {
  std::vector<std::string> args;
  std::istringstream words(line);
  for (std::string word; words >> word;) {
    args.push_back(word);
  }
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

Outcome Invoke(const std::string& line, const std::vector<std::string>& more = {}) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Outcome o;
  o.code = RunCli(Words(line, more), out, err);
  o.out = Drain(out);
  o.err = Drain(err);
  return o;
}

// The worked example of the y pair, typed in full.
constexpr const char* kSlitExample =
    "slit-scan --axis y --slit-width 0.1 --scan-center=0 --scan-width 1 --division 5";

SlitScanForm SlitExample() {
  SlitScanForm f;
  f.axisY = true;
  f.slitWidth = "0.1";
  f.scanCenter = "0";
  f.scanWidth = "1";
  f.division = "5";
  return f;
}

// Each test starts with an empty settings folder and an empty output folder.
class Cli : public ::testing::Test {
 protected:
  // `line` with this test's settings and output folders.
  Outcome Run(const std::string& line, const std::vector<std::string>& more = {}) const {
    return Invoke(line + " --settings-dir " + settings_.path() + " --output-folder " + output_.path(), more);
  }
  // `line` printed to standard output with C:\data as its folder.
  Outcome Print(const std::string& line, const std::vector<std::string>& more = {}) const {
    return Invoke(line + " --settings-dir " + settings_.path() + " --output-folder C:\\data --stdout", more);
  }
  bool NothingWritten() const {
    return ListFolder(output_.path()).empty() && ListFolder(settings_.path()).empty();
  }

  TempDir settings_;
  TempDir output_;
};

TEST_F(Cli, WritesTheScriptThenTheSettings) {
  const Outcome o = Run(kSlitExample);
  EXPECT_EQ(0, o.code);
  EXPECT_EQ("", o.out);
  EXPECT_EQ("", o.err);
  EXPECT_TRUE(
      SameText(ScriptOf(SlitExample(), output_.path()), ReadFileBytes(output_.File("4DSlit1DScan.tcl"))));
  EXPECT_EQ("0\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n4DSlit1DScan.tcl\r\n",
            ReadFileBytes(settings_.File("4DSlitScan.ini")));
}

TEST_F(Cli, StdoutPrintsTheScriptAndWritesNothing) {
  const Outcome o = Print(kSlitExample);
  EXPECT_EQ(0, o.code);
  EXPECT_EQ("", o.err);
  EXPECT_TRUE(SameText(ScriptOf(SlitExample()), o.out));
  EXPECT_TRUE(NothingWritten());
}

// A fresh window: the boxes come from the settings file, and each option retypes one box as is.
TEST_F(Cli, OptionsReplaceTheStoredTexts) {
  ASSERT_TRUE(
      WriteFileBytes(settings_.File("4DSlitScan.ini"), "1\r\n0.200\r\n1.500\r\n2.000\r\n3\r\nz.tcl\r\n"));
  SlitScanForm stored;
  stored.axisZ = true;
  stored.slitWidth = "0.2";
  stored.scanCenter = "1.5";
  stored.scanWidth = "2";
  stored.division = "3";
  stored.outputFileName = "z.tcl";
  Outcome o = Print("slit-scan");
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_TRUE(SameText(ScriptOf(stored), o.out));

  o = Print("slit-scan --axis=y --repeat 3", {"--division", " 4.5 ", "--output-file-name=  run.b.tcl  "});
  EXPECT_EQ(0, o.code) << o.err;
  stored.axisY = true;
  stored.axisZ = false;
  stored.division = "4";
  stored.outputFileName = "run.tcl";
  stored.repeatActive = true;
  stored.repeatTimes = "3";
  EXPECT_TRUE(SameText(ScriptOf(stored), o.out));
}

TEST_F(Cli, RefusedInputsExitOneWithTheWindowsMessage) {
  const struct {
    const char* extra;
    std::string firstLine;  // or its beginning
  } rows[] = {
      {"--division 1", "Setting Error!"},
      {"--repeat 1", "Repeat Times Error"},
      {"--repeat abc --division 40000", "Setting Error!"},
      {"--output-folder |cat", "Output Folder Error! \"|cat\" cannot be used in a script"},
      {"--output-folder ~/x --stdout", "Output Folder Error! \"~/x\" cannot be used in a script"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.extra);
    const Outcome o = Invoke(kSlitExample + std::string(" --settings-dir ") + settings_.path() +
                             " --output-folder " + output_.path() + " " + row.extra);
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("", o.out);
    EXPECT_EQ(0u, o.FirstErrorLine().rfind(row.firstLine, 0)) << o.err;
    EXPECT_TRUE(NothingWritten());
  }
}

TEST_F(Cli, RefusedRepeatLeavesThePreviousScriptAndSettings) {
  ASSERT_EQ(0, Run(kSlitExample).code);
  const std::string script = ReadFileBytes(output_.File("4DSlit1DScan.tcl"));
  const std::string settings = ReadFileBytes(settings_.File("4DSlitScan.ini"));
  const Outcome o = Run(kSlitExample, {"--slit-width", "0.3", "--repeat", "0"});
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("Repeat Times Error", o.FirstErrorLine());
  EXPECT_EQ(script, ReadFileBytes(output_.File("4DSlit1DScan.tcl")));
  EXPECT_EQ(settings, ReadFileBytes(settings_.File("4DSlitScan.ini")));
  EXPECT_EQ(Names{"4DSlit1DScan.tcl"}, ListFolder(output_.path()));
}

TEST_F(Cli, UsageErrorsExitTwo) {
  const std::string folders = " --settings-dir=" + settings_.path() + " --output-folder=" + output_.path();
  for (const std::string& line :
       {folders, "slit" + folders, "--stdout" + folders, "slit-scan --bogus 1" + folders,
        "slit-scan --axis x" + folders, "slit-scan --axis=Y" + folders, "slit-scan --stdout=yes" + folders,
        "slit-scan extra" + folders, "coll-scan --panel z --move-4d-slit 2" + folders,
        "slit-scan" + folders + " --division"}) {
    SCOPED_TRACE(line);
    const Outcome o = Invoke(line);
    EXPECT_EQ(2, o.code);
    EXPECT_EQ("", o.out);
    EXPECT_EQ(0u, o.err.rfind("vesko-script: ", 0)) << o.err;
    EXPECT_NE(std::string::npos, o.err.find("Usage: vesko-script GENERATOR")) << o.err;
    EXPECT_TRUE(NothingWritten());
  }
  EXPECT_EQ("vesko-script: option '--panel' is required for coll-scan",
            Invoke("coll-scan --stdout").FirstErrorLine());
}

TEST_F(Cli, UnwritableScriptExitsThreeAndStoresNothing) {
  const std::string missing = output_.File("no-such-folder");
  const Outcome o = Run(kSlitExample, {"--output-folder", missing});
  EXPECT_EQ(3, o.code);
  EXPECT_EQ(0u, o.FirstErrorLine().rfind("Cannot write " + missing, 0)) << o.err;
  EXPECT_TRUE(NothingWritten());
}

TEST_F(Cli, FullStandardOutputExitsThree) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) {
    GTEST_SKIP() << "no /dev/full here";
  }
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(3, RunCli(Words(kSlitExample + std::string(" --stdout --settings-dir ") + settings_.path()), full,
                      err));
  std::fclose(full);
  EXPECT_EQ(0u, Drain(err).rfind("Cannot write standard output: ", 0));
}

TEST_F(Cli, OutputFolderDefaultsToTheStoredOne) {
  ASSERT_TRUE(WriteFileBytes(settings_.File("VeskoScriptCreator.ini"), output_.path() + "\r\n"));
  const Outcome o = Invoke(kSlitExample + std::string(" --settings-dir ") + settings_.path());
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_TRUE(
      SameText(ScriptOf(SlitExample(), output_.path()), ReadFileBytes(output_.File("4DSlit1DScan.tcl"))));
}

// Runs `line` in fresh folders: exit 0, `out` printed, the script file and the one settings file written,
// the settings stored as `settings`, and each of `scriptLines` in the script.
void ExpectWritten(const std::string& line, const std::string& script, const std::string& settingsFile,
                   const std::string& settings, const std::vector<std::string>& scriptLines,
                   const std::string& out = "") {
  SCOPED_TRACE(line);
  TempDir settingsDir;
  TempDir outputDir;
  const Outcome o =
      Invoke(line + " --settings-dir " + settingsDir.path() + " --output-folder " + outputDir.path());
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_EQ(ToFileText(out), o.out);  // messages reach the console in its code page
  EXPECT_EQ(Names{script}, ListFolder(outputDir.path()));
  EXPECT_EQ(Names{settingsFile}, ListFolder(settingsDir.path()));
  EXPECT_EQ(settings, ReadFileBytes(settingsDir.File(settingsFile)));
  const std::vector<std::string> lines = test::SplitLines(ReadFileBytes(outputDir.File(script)));
  for (const std::string& wanted : scriptLines) {
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), wanted)) << wanted;
  }
}

// Every field option of each generator types into its own box: the stored settings and the script's
// lines show each value, a panel writes only its own settings file, and slit-move reports its blades.
TEST(CliGenerators, EveryOptionReachesItsBox) {
  ExpectWritten(
      "slit-dec-scan --axis z --start-slit-width 1.0 --end-slit-width 0.5 --scan-center 0.1 "
      "--dec-step 0.25 --repeat 3 --output-file-name d.tcl",
      "d.tcl", "4DSlitDec1DScan.ini", "1\r\n1.000\r\n0.500\r\n0.100\r\n0.250\r\nd.tcl\r\n",
      {"set cnt [expr $cnt00 / 3]"});
  ExpectWritten(
      "slit-move --slit-width-y 0.2 --slit-width-z 0.4 --slit-center-y 0.0 --slit-center-z 0.1 "
      "--output-file-name m.com",
      "m.com", "4DSlitMove.ini", "0.200\r\n0.400\r\n0.000\r\n0.100\r\nm.com\r\n",
      {"TclSrv_Optics:4DSlit {slit_y1 move 0.100}"},
      "y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=m.comで作成しました。\n");
  ExpectWritten(
      "coll-scan --panel z --scan-center 0.5 --scan-width 1.0 --division 5 --slit-width-y 0.3 "
      "--slit-width-z 0.1 --slit-center-y 0.2 --slit-center-z 0.05 --move-4d-slit 1 --output-file-name z.com",
      "z.com", "ColliScan_z.ini", "0.500\r\n1.000\r\n5\r\nz.com\r\n",
      {"TclSrv_Optics:4DSlit {slit_y1 move 0.350}", "TclSrv_Optics:4DSlit {slit_y2 move -0.050}",
       "TclSrv_Optics:4DSlit {slit_z1 move 0.100}", "TclSrv_Optics:4DSlit {slit_z2 move 0.000}"});
  ExpectWritten(
      "gonio-stage-scan --panel z --scan-center=1.0 --scan-width=0.4 --division=3 --slit-width-y=0.5 "
      "--slit-width-z=0.3 --slit-center-y=0.1 --slit-center-z=-0.05 --move-4d-slit 1 --output-file-name "
      "z.tcl",
      "z.tcl", "GonioStageScan2_z.ini",
      "1\r\n0.500\r\n0.300\r\n0.100\r\n-0.050\r\n1.000\r\n0.400\r\n3\r\nz.tcl\r\n",
      {"TclSrv_GStage {z move 0.800}"});
  ExpectWritten(
      "lens-scan --axis lens_rz --scan-center 0.0 --scan-width 0.3 --division 4 --output-file-name l.tcl",
      "l.tcl", "LensScan.ini", "3\r\n0.000\r\n0.300\r\n4\r\nl.tcl\r\n",
      {"TclSrv_Optics:Lens {lens_rz move 0.150}"});
  ExpectWritten(
      "gonioy-scan --scan-center=0 --scan-width=1 --division=3 --omega1 2.5 --omega2 -1 --use-omega1 1 "
      "--use-omega2 0 --output-file-name g.tcl",
      "g.tcl", "GonioYScan.ini", "0\r\n0.000\r\n1.000\r\n3\r\ng.tcl\r\n1\r\n2.500\r\n0\r\n-1.000\r\n",
      {"TclSrv_Gonio {omega move 2.500}"});
}

// A fresh window fills the z panel only after the whole y file; options type into the chosen panel.
TEST_F(Cli, CollScanStoredPanelsLoadUnderOneFailureRule) {
  const std::string line =
      "coll-scan --panel z --slit-width-y=0 --slit-width-z=0 --slit-center-y=0 --slit-center-z=0";
  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_z.ini"), "-1.000\r\n2.000\r\n3\r\nz.com\r\n"));
  Outcome o = Print(line);
  EXPECT_EQ(1, o.code);
  EXPECT_EQ("Setting Error!", o.FirstErrorLine());

  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_y.ini"), "0.500\r\n1.000\r\n5\r\ny.com\r\n"));
  o = Print(line);
  EXPECT_EQ(0, o.code) << o.err;
  EXPECT_NE(std::string::npos, o.out.find("\r\nset fp [open C:\\\\data\\\\z.dat w+]\r\n"));
  EXPECT_NE(std::string::npos, o.out.find("\r\nTclSrv_Optics:Collimator {col_z move -2.000}\r\n"));
}

TEST_F(Cli, GonioYScanRepeatNeedsEveryOmegaBoxUnticked) {
  const std::string line = "gonioy-scan --scan-center=0 --scan-width=1 --division=3 --repeat 2";
  EXPECT_EQ(2, Print(line + " --use-omega1 1").code);
  EXPECT_NE(std::string::npos, Print(line).out.find("\r\nclose $fp2\r\n"));
  // A box ticked by the stored settings counts too; unticking it on the command line frees --repeat.
  ASSERT_TRUE(WriteFileBytes(settings_.File("GonioYScan.ini"),
                             "0\r\n0.000\r\n1.000\r\n3\r\nGonioYScan.tcl\r\n1\r\n5.000\r\n0\r\n-5.000\r\n"));
  const Outcome o = Print(line);
  EXPECT_EQ(2, o.code);
  EXPECT_EQ("vesko-script: option '--repeat' cannot be used while an omega box is ticked",
            o.FirstErrorLine());
  EXPECT_EQ(0, Print(line + " --use-omega1 0").code);
}

TEST(CliHelp, ListsGeneratorsAndOptions) {
  Outcome o = Invoke("--help");
  EXPECT_EQ(0, o.code);
  EXPECT_EQ("", o.err);
  for (const char* name : {"slit-scan", "slit-dec-scan", "slit-move", "coll-scan", "lens-scan", "gonioy-scan",
                           "gonio-stage-scan", "analyse FILE [--threshold T]"}) {
    EXPECT_NE(std::string::npos, o.out.find(name)) << name;
  }
  o = Invoke("coll-scan --help");
  EXPECT_EQ(0, o.code);
  EXPECT_NE(std::string::npos,
            o.out.find("  --panel y|z                 panel: collimator_y or collimator_z (required)\n"));
  EXPECT_NE(std::string::npos,
            o.out.find("  --move-4d-slit 0|1          \"Move 4D Slit\": 1 sets the slit before the scan\n"));
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
  Outcome o = Invoke("analyse " + File("run.dat"));
  EXPECT_EQ(0, o.code);
  EXPECT_EQ(results, o.out);
  EXPECT_EQ("", o.err);

  o = Invoke("analyse --threshold abc " + File("run.dat"));
  EXPECT_EQ(0, o.code);
  EXPECT_EQ(results, o.out);
  EXPECT_EQ(ToFileText(kThresholdResetMessage) + "\n", o.err);
}

TEST_F(AnalyseCli, StoppedRunsAndProblemsExitWithTheirCodes) {
  const std::string missing = dir_.File("missing.dat");
  const struct {
    std::string line;
    int code;
    std::string firstErrorLine;
  } rows[] = {
      {"analyse " + File("run.dat") + " --threshold=-2", 1, "0" + std::string(kGateStopText)},
      {"analyse " + File("flat.dat", "1,1,100\r\n1,1,80\r\n1,1,60\r\n0,0,40\r\n0,0,39\r\n0,0,40\r\n"), 1,
       std::string(kNoCrossingMessage)},
      {"analyse " + missing, 3, "Cannot read " + missing + ": No such file or directory"},
      {"analyse", 2, "vesko-script: no result file given"},
      {"analyse " + File("run.dat") + " other.dat", 2, "vesko-script: unexpected argument 'other.dat'"},
      {"analyse " + File("run.dat") + " --threshold", 2, "vesko-script: option '--threshold' needs a value"},
      {"analyse " + File("run.dat") + " --stdout", 2, "vesko-script: unknown option '--stdout' for analyse"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    const Outcome o = Invoke(row.line);
    EXPECT_EQ(row.code, o.code);
    EXPECT_EQ(ToFileText(row.firstErrorLine), o.FirstErrorLine());
    EXPECT_EQ("", o.out);
  }
}

}  // namespace
}  // namespace vesko
