#include "cli/cli.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "analysis/break_analysis.h"
#include "app/file_create.h"
#include "core/platform.h"
#include "generators/slit_scan.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::Captured;
using test::ListFolder;
using test::ReadFileBytes;
using test::SameText;
using test::ScriptOf;
using test::TempDir;
using test::WriteFileBytes;
using Names = std::vector<std::string>;

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

Captured Invoke(const std::string& line, const std::vector<std::string>& more = {}) {
  return test::Capture([&](std::FILE* out, std::FILE* err) { return RunCli(Words(line, more), out, err); });
}

// The worked example of the y pair, typed in full.
const std::string kSlitExample =
    "slit-scan --axis y --slit-width 0.1 --scan-center=0 --scan-width 1 --division 5";

const SlitScanForm kSlitForm{
    .axisY = true, .slitWidth = "0.1", .scanCenter = "0", .scanWidth = "1", .division = "5"};

// Each test starts with an empty settings folder and an empty output folder.
class Cli : public ::testing::Test {
 protected:
  std::string Folders() const {
    return " --settings-dir " + settings_.path() + " --output-folder " + output_.path();
  }
  // `line` printed to standard output with C:\data as its folder.
  Captured Print(const std::string& line, const std::vector<std::string>& more = {}) const {
    return Invoke(line + " --settings-dir " + settings_.path() + " --output-folder C:\\data --stdout", more);
  }
  bool NothingWritten() const {
    return ListFolder(output_.path()).empty() && ListFolder(settings_.path()).empty();
  }

  TempDir settings_;
  TempDir output_;
};

// Without --output-folder the script goes into the folder stored in VeskoScriptCreator.ini.
TEST_F(Cli, WritesTheScriptThenTheSettings) {
  ASSERT_TRUE(WriteFileBytes(settings_.File("VeskoScriptCreator.ini"), output_.path() + "\r\n"));
  const Captured c = Invoke(kSlitExample + " --settings-dir " + settings_.path());
  EXPECT_EQ(0, c.code);
  EXPECT_EQ("", c.out + c.err);
  EXPECT_TRUE(SameText(ScriptOf(kSlitForm, output_.path()), ReadFileBytes(output_.File("4DSlit1DScan.tcl"))));
  EXPECT_EQ("0\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n4DSlit1DScan.tcl\r\n",
            ReadFileBytes(settings_.File("4DSlitScan.ini")));
}

// The figures of the lens scan's worked example are checked only here.
TEST_F(Cli, SummaryPrintsTheFiguresAndWritesNothing) {
  const Captured c =
      Invoke("lens-scan --axis lens_y --scan-center 0.0 --scan-width 0.3 --division 4 --summary" + Folders(),
             {"--output-folder", "C:\\data"});
  EXPECT_EQ(0, c.code) << c.err;
  EXPECT_EQ(
      "Scan: lens_y, 4 points, 1 pass\n"
      "lens_y: 5 moves, first 0.150, last 0.000, range -0.150 to 0.150\n"
      "Count measurements: 5\n"
      "Counting time: at least 0:00:05 of counting; motor moves come on top\n"
      "No axis table: limits not checked, moves not timed.\n"
      "Result file: C:\\data\\Lens1DScan.dat\n"
      "Script lines: 28\n",
      c.out);
  EXPECT_TRUE(NothingWritten());
}

// The JSON summary carries the text summary's figures.
TEST_F(Cli, JsonSummaryParsesBackToTheSameFigures) {
  const std::string lens =
      "lens-scan --axis lens_y --scan-center 0.0 --scan-width 0.3 --division 4 --summary --json";
  Captured c = Invoke(lens + Folders(), {"--output-folder", "C:\\data"});
  ASSERT_EQ(0, c.code) << c.err;
  const nlohmann::json summary = nlohmann::json::parse(c.out);
  EXPECT_EQ(nlohmann::json::parse(R"({
    "scan": {"scanned": "lens_y", "points": 4, "passes": 1},
    "axes": [{"axis": "lens_y", "moves": 5, "first": 0.15, "last": 0.0, "lowest": -0.15, "highest": 0.15}],
    "count_measurements": 5, "exposure_seconds": 1.0, "counting_seconds": 5.0,
    "result_files": ["C:\\data\\Lens1DScan.dat"], "script_lines": 28, "notes": []})"),
            summary);
  EXPECT_TRUE(NothingWritten());

  // A scan width of 0 gives a note.
  c = Invoke("lens-scan --axis lens_z --scan-center 1 --scan-width 0 --division 3 --summary --json" +
             Folders());
  ASSERT_EQ(0, c.code) << c.err;
  EXPECT_EQ(nlohmann::json::array({"Scan Width is 0: every point is at the scan centre."}),
            nlohmann::json::parse(c.out)["notes"]);
}

// With an axis table a script beyond a limit is refused with the first note and nothing written, also on
// standard output; --ignore-limits writes the same bytes as without a table; --summary names the limit.
TEST_F(Cli, AxisLimitsRefuseTheScriptUnlessIgnored) {
  ASSERT_TRUE(WriteFileBytes(settings_.File("Axes.toml"), "[axis.slit_y1]\nlower = -5.0\nupper = 5.0\n"));
  const std::string wide = "slit-scan --axis y --slit-width 0.1 --scan-center=0 --scan-width 20 --division 5";
  const std::string note = "slit_y1 goes to -9.950, below its lower limit -5.000 (first at point 1)";
  for (const char* how : {"", " --stdout"}) {
    const Captured c = Invoke(wide + Folders() + how);
    EXPECT_EQ(1, c.code) << how;
    EXPECT_EQ("", c.out) << how;
    EXPECT_EQ(note + "\n", c.err) << how;
    EXPECT_TRUE(ListFolder(output_.path()).empty()) << how;
  }
  Captured c = Invoke(wide + Folders() + " --summary");
  EXPECT_EQ(0, c.code);
  EXPECT_NE(std::string::npos, c.out.find("\nNote: " + note + "\n")) << c.out;
  c = Invoke(wide + Folders() + " --summary --json");
  EXPECT_EQ(0, c.code);
  EXPECT_EQ(
      nlohmann::json::array({note, "slit_y1 goes to 10.050, above its upper limit 5.000 (first at point 4)"}),
      nlohmann::json::parse(c.out)["axis_table"]["limit_notes"]);

  c = Invoke(wide + Folders() + " --ignore-limits");
  EXPECT_EQ(0, c.code) << c.err;
  SlitScanForm form = kSlitForm;
  form.scanWidth = "20";
  EXPECT_TRUE(SameText(ScriptOf(form, output_.path()), ReadFileBytes(output_.File("4DSlit1DScan.tcl"))));

  // A table that cannot be read is told and checks nothing.
  ASSERT_TRUE(WriteFileBytes(settings_.File("Axes.toml"), "[axis.slit_y1]\nlower = \"-5\"\n"));
  c = Invoke(wide + Folders());
  EXPECT_EQ(0, c.code);
  EXPECT_EQ("Axes.toml line 2: lower is not a number; limits not checked\n", c.err);
}

// A fresh window: the boxes come from the settings file, and each option retypes one box as is. --stdout
// writes nothing, not even the settings.
TEST_F(Cli, OptionsReplaceTheStoredTexts) {
  const std::string stored = "1\r\n0.200\r\n1.500\r\n2.000\r\n3\r\nz.tcl\r\n";
  ASSERT_TRUE(WriteFileBytes(settings_.File("4DSlitScan.ini"), stored));
  SlitScanForm form{.axisZ = true,
                    .slitWidth = "0.2",
                    .scanCenter = "1.5",
                    .scanWidth = "2",
                    .division = "3",
                    .outputFileName = "z.tcl"};
  Captured c = Print("slit-scan");
  EXPECT_EQ(0, c.code) << c.err;
  EXPECT_TRUE(SameText(ScriptOf(form), c.out));

  c = Print("slit-scan --axis=y --repeat 3", {"--division", " 4.5 ", "--output-file-name=  run.b.tcl  "});
  EXPECT_EQ(0, c.code) << c.err;
  form.axisY = true;
  form.axisZ = false;
  form.division = "4";
  form.outputFileName = "run.tcl";
  form.repeatActive = true;
  form.repeatTimes = "3";
  EXPECT_TRUE(SameText(ScriptOf(form), c.out));
  EXPECT_EQ("", c.err);
  EXPECT_EQ(Names{"4DSlitScan.ini"}, ListFolder(settings_.path()));
  EXPECT_EQ(stored, ReadFileBytes(settings_.File("4DSlitScan.ini")));
  EXPECT_EQ(Names{}, ListFolder(output_.path()));
}

TEST_F(Cli, RefusedInputsExitOneWithTheWindowsMessage) {
  const struct {
    std::string extra;
    std::string firstLine;  // or its beginning
  } rows[] = {
      {"--division 1 --summary", "Setting Error!"},
      {"--repeat 1", "Repeat Times Error"},
      {"--repeat abc --division 40000", "Setting Error!"},
      {"--output-folder |cat", "Output Folder Error! \"|cat\" cannot be used in a script"},
      {"--output-folder ~/x --stdout", "Output Folder Error! \"~/x\" cannot be used in a script"},
      // A name, not a path; a quote could not be read back from the settings file.
      {"--output-file-name a/../../escape.tcl", "Setting Error!"},
      {"--output-file-name a\\b.tcl", "Setting Error!"},
      {"--output-file-name \"a.tcl", "Setting Error!"},
      {"--output-folder=", kNoOutputFolder},
      {"--output-folder= --summary", kNoOutputFolder},
      // The settings would overwrite the script at once.
      {"--output-file-name 4DSlitScan.ini --output-folder " + settings_.path(),
       "Output FileName Error! " + settings_.File("4DSlitScan.ini") +
           " is where this window keeps its settings"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.extra);
    const Captured c = Invoke(kSlitExample + Folders() + " " + row.extra);
    EXPECT_EQ(1, c.code);
    EXPECT_EQ("", c.out);
    EXPECT_EQ(0u, c.FirstErrorLine().rfind(row.firstLine, 0)) << c.err;
    EXPECT_TRUE(NothingWritten());
  }
}

TEST_F(Cli, UsageErrorsExitTwo) {
  const struct {
    std::string line;
    const char* message;
  } rows[] = {
      {"", "no generator given"},
      {"slit" + Folders(), "unknown generator 'slit'"},
      {"slit-scan --bogus 1" + Folders(), "unknown option '--bogus' for slit-scan"},
      {"slit-scan --axis=Y" + Folders(), "option '--axis' takes y|z, not 'Y'"},
      {"slit-scan --summary=yes" + Folders(), "option '--summary' takes no value"},
      {"slit-scan --stdout --summary" + Folders(), "options '--stdout' and '--summary' cannot go together"},
      {"slit-scan --json" + Folders(), "option '--json' goes only with '--summary'"},
      {"slit-scan extra" + Folders(), "unexpected argument 'extra'"},
      {"slit-scan" + Folders() + " --division", "option '--division' needs a value"},
      {"coll-scan --stdout" + Folders(), "option '--panel' is required for coll-scan"},
      {"slit-scan" + Folders() + " --settings-dir=", "option '--settings-dir' needs a folder"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    const Captured c = Invoke(row.line);
    EXPECT_EQ(2, c.code);
    EXPECT_EQ("", c.out);
    EXPECT_EQ("vesko-script: " + std::string(row.message), c.FirstErrorLine());
    EXPECT_NE(std::string::npos, c.err.find("Usage: vesko-script GENERATOR")) << c.err;
    EXPECT_TRUE(NothingWritten());
  }
}

TEST_F(Cli, UnwritableScriptOrFullStandardOutputExitsThree) {
  const std::string missing = output_.File("no-such-folder");
  Captured c = Invoke(kSlitExample + Folders(), {"--output-folder", missing});
  EXPECT_EQ(3, c.code);
  EXPECT_EQ(0u, c.FirstErrorLine().rfind("Cannot write " + missing, 0)) << c.err;
  EXPECT_TRUE(NothingWritten());

#ifndef _WIN32
  // Every command's output is checked, whatever it printed: a full device, a stream not open for writing.
  TempDir dir;
  const std::string run = dir.File("run.dat");
  ASSERT_TRUE(
      WriteFileBytes(run, "h\r\n2,2,100\r\n1.5,1.5,80\r\n1,1,60\r\n0.5,0.5,40\r\n0,0,39\r\n0,0,40\r\n"));
  ASSERT_TRUE(WriteFileBytes(dir.File("readonly"), ""));
  const struct {
    std::string device;
    const char* mode;
    const char* reason;  // the message's start after "standard output: "
  } streams[] = {{"/dev/full", "w", "No space left on device"}, {dir.File("readonly"), "r", ""}};
  for (const std::string& line :
       {kSlitExample + Folders() + " --stdout", kSlitExample + Folders() + " --summary", "analyse " + run,
        "slit-move --slit-width-y 0.2 --slit-width-z 0.4 --slit-center-y 0 --slit-center-z 0.1" + Folders(),
        std::string("--help"), std::string("analyse --help")}) {
    for (const auto& stream : streams) {
      SCOPED_TRACE(line + " > " + stream.device);
      std::FILE* out = std::fopen(stream.device.c_str(), stream.mode);
      ASSERT_NE(out, nullptr);
      c = test::Capture([&](std::FILE*, std::FILE* err) { return RunCli(Words(line), out, err); });
      std::fclose(out);
      EXPECT_EQ(3, c.code);
      EXPECT_EQ(0u, c.err.rfind("Cannot write standard output: " + std::string(stream.reason), 0)) << c.err;
      EXPECT_EQ(c.err.find('\n'), c.err.size() - 1) << c.err;
    }
  }
#endif
}

#ifndef _WIN32
// Control characters of folders, names and arguments reach no message or summary line raw: the first
// line on standard error is the whole message. (Windows forbids them in file names.)
TEST_F(Cli, ControlCharactersAreShownEscaped) {
  const std::string folder = output_.File("a\nFAKE: line\x1B[31m");
  const std::string shown = output_.File("a\\nFAKE: line\\x1B[31m");
  const Captured written = Invoke(kSlitExample + Folders(), {"--output-folder", folder});
  EXPECT_EQ(3, written.code);
  EXPECT_EQ(written.err, "Cannot write " + shown + "/4DSlit1DScan.tcl: No such file or directory\n");

  const Captured summary = Invoke(kSlitExample + Folders() + " --summary", {"--output-folder", folder});
  EXPECT_EQ(0, summary.code);
  EXPECT_NE(std::string::npos, summary.out.find("\nResult file: " + shown + "/4DSlit1DScan.dat\n"))
      << summary.out;
  EXPECT_EQ(std::string::npos, summary.out.find_first_of("\x1B\r\t")) << summary.out;

  const Captured usage = Invoke("slit-scan" + Folders(), {"x\ry\x7F"});
  EXPECT_EQ(2, usage.code);
  EXPECT_EQ("vesko-script: unexpected argument 'x\\ry\\x7F'", usage.FirstErrorLine());

  const Captured refused = Invoke(kSlitExample + Folders(), {"--output-folder", "|\x1B]0;title\x07"});
  EXPECT_EQ(1, refused.code);
  EXPECT_EQ(0u, refused.err.rfind("Output Folder Error! \"|\\x1B]0;title\\x07\" cannot", 0)) << refused.err;
}
#endif

TEST_F(Cli, SettingsThatCannotBeSavedAfterTheScriptSayBoth) {
  ASSERT_TRUE(MakeFolders(settings_.File("4DSlitScan.ini")));  // a folder where the file would go
  const Captured c = Invoke(kSlitExample + Folders());
  EXPECT_EQ(3, c.code);
  EXPECT_EQ(0u, c.FirstErrorLine().rfind(output_.File("4DSlit1DScan.tcl") +
                                             " was written; its settings could not be saved: Cannot write " +
                                             settings_.File("4DSlitScan.ini") + ": ",
                                         0))
      << c.err;
  EXPECT_TRUE(SameText(ScriptOf(kSlitForm, output_.path()), ReadFileBytes(output_.File("4DSlit1DScan.tcl"))));
}

// About 250 GB: refused from the first part of its dry count, long before the disk could fill.
TEST_F(Cli, ScriptLargerThanTheFreeRoomIsRefusedAtOnce) {
  if (std::filesystem::space(output_.path()).available > 100'000'000'000) {
    GTEST_SKIP() << "more than 100 GB free here";
  }
  const Captured c = Invoke(kSlitExample + Folders() + " --division 32767 --repeat 32767");
  EXPECT_EQ(3, c.code);
  // "<script> needs N GB, M GB are free", N judged from the first part counted.
  const std::string line = c.FirstErrorLine();
  const std::string needs = output_.File("4DSlit1DScan.tcl") + " needs ";
  ASSERT_EQ(0u, line.rfind(needs, 0)) << c.err;
  const double gigabytes = std::stod(line.substr(needs.size()));
  EXPECT_TRUE(gigabytes > 200 && gigabytes < 300) << line;
  EXPECT_NE(std::string::npos, line.find(" GB, ")) << line;
  EXPECT_TRUE(line.ends_with(" GB are free")) << line;
  EXPECT_TRUE(NothingWritten());
}

// A relative folder is taken against the current folder, for the file and for the script's result files.
TEST_F(Cli, RelativeOutputFolderIsTakenFromTheCurrentFolder) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(output_.path());
  ASSERT_TRUE(MakeFolders(output_.File("sub")));
  const Captured c = Invoke(kSlitExample + " --settings-dir " + settings_.path() + " --output-folder sub");
  std::filesystem::current_path(before);
  EXPECT_EQ(0, c.code) << c.err;
  const std::string folder = JoinPath(std::filesystem::canonical(output_.path()).string(), "sub");
  EXPECT_TRUE(SameText(ScriptOf(kSlitForm, folder), ReadFileBytes(output_.File("sub/4DSlit1DScan.tcl"))));
}

// Runs `line` in fresh folders: exit 0, `out` printed, the script file and the one settings file written,
// the settings stored as `settings`, and each of `scriptLines` in the script.
void ExpectWritten(const std::string& line, const std::string& script, const std::string& settingsFile,
                   const std::string& settings, const std::vector<std::string>& scriptLines,
                   const std::string& out = "") {
  SCOPED_TRACE(line);
  TempDir settingsDir;
  TempDir outputDir;
  const Captured c =
      Invoke(line + " --settings-dir " + settingsDir.path() + " --output-folder " + outputDir.path());
  EXPECT_EQ(0, c.code) << c.err;
  EXPECT_EQ(ToFileText(out), c.out);  // messages reach the console in its code page
  EXPECT_EQ(Names{script}, ListFolder(outputDir.path()));
  EXPECT_EQ(Names{settingsFile}, ListFolder(settingsDir.path()));
  EXPECT_EQ(settings, ReadFileBytes(settingsDir.File(settingsFile)));
  const std::vector<std::string> lines = test::SplitLines(ReadFileBytes(outputDir.File(script)));
  for (const std::string& wanted : scriptLines) {
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), wanted)) << wanted;
  }
}

// The command line types each option through the window's description, which the window tests hold against
// the controls; here what the description does not say: a panel writes only its own settings file, and
// slit-move reports its blades.
TEST(CliGenerators, PanelsStoreTheirOwnFileAndSlitMoveReports) {
  ExpectWritten(
      "slit-move --slit-width-y 0.2 --slit-width-z 0.4 --slit-center-y 0.0 --slit-center-z 0.1 "
      "--output-file-name m.com",
      "m.com", "4DSlitMove.ini", "0.200\r\n0.400\r\n0.000\r\n0.100\r\nm.com\r\n", {},
      "y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=m.comで作成しました。\n");
  ExpectWritten(
      "coll-scan --panel z --scan-center 0.5 --scan-width 1.0 --division 5 --slit-width-y 0.3 "
      "--slit-width-z 0.1 --slit-center-y 0.2 --slit-center-z 0.05 --move-4d-slit 1 --output-file-name z.com",
      "z.com", "ColliScan_z.ini", "0.500\r\n1.000\r\n5\r\nz.com\r\n",
      {"TclSrv_Optics:4DSlit {slit_y1 move 0.350}", "TclSrv_Optics:4DSlit {slit_z2 move 0.000}"});
}

// A fresh window fills the z panel only after the whole y file; options type into the chosen panel.
TEST_F(Cli, CollScanStoredPanelsLoadUnderOneFailureRule) {
  const std::string line =
      "coll-scan --panel z --slit-width-y=0 --slit-width-z=0 --slit-center-y=0 --slit-center-z=0";
  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_z.ini"), "-1.000\r\n2.000\r\n3\r\nz.com\r\n"));
  Captured c = Print(line);
  EXPECT_EQ(1, c.code);
  EXPECT_EQ("Setting Error!", c.FirstErrorLine());

  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_y.ini"), "0.500\r\n1.000\r\n5\r\ny.com\r\n"));
  c = Print(line);
  EXPECT_EQ(0, c.code) << c.err;
  EXPECT_NE(std::string::npos, c.out.find("\r\nset fp [open C:\\\\data\\\\z.dat w+]\r\n"));
  EXPECT_NE(std::string::npos, c.out.find("\r\nTclSrv_Optics:Collimator {col_z move -2.000}\r\n"));
}

TEST_F(Cli, GonioYScanRepeatNeedsEveryOmegaBoxUnticked) {
  const std::string line = "gonioy-scan --scan-center=0 --scan-width=1 --division=3 --repeat 2";
  EXPECT_EQ(2, Print(line + " --use-omega1 1").code);
  EXPECT_NE(std::string::npos, Print(line).out.find("\r\nclose $fp2\r\n"));
  // A box ticked by the stored settings counts too; unticking it on the command line frees --repeat.
  ASSERT_TRUE(WriteFileBytes(settings_.File("GonioYScan.ini"),
                             "0\r\n0.000\r\n1.000\r\n3\r\nGonioYScan.tcl\r\n1\r\n5.000\r\n0\r\n-5.000\r\n"));
  const Captured c = Print(line);
  EXPECT_EQ(2, c.code);
  EXPECT_EQ("vesko-script: option '--repeat' cannot be used while an omega box is ticked",
            c.FirstErrorLine());
  EXPECT_EQ(0, Print(line + " --use-omega1 0").code);
}

TEST(CliHelp, ListsGeneratorsAndOptions) {
  Captured c = Invoke("--help");
  EXPECT_EQ(0, c.code);
  EXPECT_EQ("", c.err);
  for (const char* name : {"slit-scan", "slit-dec-scan", "slit-move", "coll-scan", "lens-scan", "gonioy-scan",
                           "gonio-stage-scan", "analyse FILE [--threshold T]"}) {
    EXPECT_NE(std::string::npos, c.out.find(name)) << name;
  }
  for (const char* version : {"--version", "-V"}) {
    c = Invoke(version);
    EXPECT_EQ(0, c.code);
    // "vesko-script 1.22.3": the project version was filled in.
    unsigned major = 0, minor = 0, patch = 0;
    char end = 0;
    EXPECT_EQ(4, std::sscanf(c.out.c_str(), "vesko-script %u.%u.%u%c", &major, &minor, &patch, &end))
        << c.out;
    EXPECT_EQ('\n', end);
  }
  c = Invoke("coll-scan --help");
  EXPECT_EQ(0, c.code);
  EXPECT_NE(std::string::npos,
            c.out.find("  --panel y|z                 panel: collimator_y or collimator_z (required)\n"));
  EXPECT_NE(std::string::npos,
            c.out.find("  --move-4d-slit 0|1          \"Move 4D Slit\": 1 sets the slit before the scan\n"));
}

// A decreasing-width result file: falls of 20 a step, then a level near 40 from step 3.
TEST(AnalyseCli, PrintsTheFourResultsOrExitsWithTheStopsCode) {
  TempDir dir;
  const std::string run = dir.File("run.dat");
  const std::string flat = dir.File("flat.dat");
  const std::string missing = dir.File("missing.dat");
  const std::string header = "slit_y1,slit_y2,Intensity\r\n";
  ASSERT_TRUE(WriteFileBytes(run, header + "2,2,100\r\n1.5,1.5,80\r\n1,1,60\r\n0.5,0.5,40\r\n0,0,39\r\n"
                                           "-0.5,-0.5,40\r\n-1,-1,40\r\n"));
  ASSERT_TRUE(WriteFileBytes(flat, header + "1,1,100\r\n1,1,80\r\n1,1,60\r\n0,0,40\r\n0,0,39\r\n0,0,40\r\n"));
  const std::string results = "cross_x=0.49167\na0=20.00000\na1=40.00000\nb0=39.66667\n";
  const struct {
    std::string line;
    int code;
    std::string out;
    std::string firstErrorLine;
  } rows[] = {
      {"analyse " + run, 0, results, ""},
      {"analyse --threshold abc " + run, 0, results, std::string(kThresholdResetMessage)},
      {"analyse " + run + " --threshold=-2", 1, "", "0" + std::string(kGateStopText)},
      {"analyse " + flat, 1, "", std::string(kNoCrossingMessage)},
      {"analyse " + missing, 3, "", "Cannot read " + missing + ": No such file or directory"},
      {"analyse", 2, "", "vesko-script: no result file given"},
      {"analyse " + run + " other.dat", 2, "", "vesko-script: unexpected argument 'other.dat'"},
      {"analyse " + run + " --threshold", 2, "", "vesko-script: option '--threshold' needs a value"},
      {"analyse " + run + " --stdout", 2, "", "vesko-script: unknown option '--stdout' for analyse"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    const Captured c = Invoke(row.line);
    EXPECT_EQ(row.code, c.code);
    EXPECT_EQ(row.out, c.out);
    EXPECT_EQ(ToFileText(row.firstErrorLine), c.FirstErrorLine());
  }
}

}  // namespace
}  // namespace vesko
