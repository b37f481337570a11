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

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <thread>
#endif

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
  Captured Print(const std::string& line) const {
    return Invoke(line + " --settings-dir " + settings_.path() + " --output-folder C:\\data --stdout");
  }
  bool NothingWritten() const {
    return ListFolder(output_.path()).empty() && ListFolder(settings_.path()).empty();
  }
  std::string WrittenScript(const std::string& file = "4DSlit1DScan.tcl") const {
    return ReadFileBytes(output_.File(file));
  }

  TempDir settings_;
  TempDir output_;
};

// Without --output-folder the script goes into the folder stored in VeskoScriptCreator.ini. The next run
// starts from the saved boxes and each option retypes one; --stdout writes nothing, not even the settings.
TEST_F(Cli, WritesTheScriptThenTheSettingsAndStartsFromThem) {
  ASSERT_TRUE(WriteFileBytes(settings_.File("VeskoScriptCreator.ini"), output_.path() + "\r\n"));
  Captured c = Invoke(kSlitExample + " --settings-dir " + settings_.path());
  EXPECT_EQ(0, c.code);
  EXPECT_EQ("", c.out + c.err);
  EXPECT_TRUE(SameText(ScriptOf(kSlitForm, output_.path()), WrittenScript()));
  const std::string stored = "0\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n4DSlit1DScan.tcl\r\n";
  EXPECT_EQ(stored, ReadFileBytes(settings_.File("4DSlitScan.ini")));

  c = Print("slit-scan --axis=z --repeat 3 --output-file-name=run.tcl");
  EXPECT_EQ(0, c.code) << c.err;
  EXPECT_TRUE(
      SameText(ScriptOf(SlitScanForm{false, true, "0.1", "0", "1", "5", "run.tcl", true, "3"}), c.out));
  EXPECT_EQ(stored, ReadFileBytes(settings_.File("4DSlitScan.ini")));
  EXPECT_EQ(Names{"4DSlit1DScan.tcl"}, ListFolder(output_.path()));
}

// The summary as text and as JSON (every field of the JSON form).
TEST_F(Cli, SummaryPrintsTheFiguresAndWritesNothing) {
  const std::string lens =
      "lens-scan --axis lens_y --scan-center 0.0 --scan-width 0.3 --division 4 --summary";
  EXPECT_TRUE(Invoke(lens + Folders()).out.ends_with("Script lines: 28\n"));
  const Captured c = Invoke(lens + " --json" + Folders(), {"--output-folder", "C:\\data"});
  ASSERT_EQ(0, c.code) << c.err;
  EXPECT_EQ(nlohmann::json::parse(R"({
    "scan": {"scanned": "lens_y", "points": 4, "passes": 1},
    "axes": [{"axis": "lens_y", "moves": 5, "first": 0.15, "last": 0.0, "lowest": -0.15, "highest": 0.15}],
    "count_measurements": 5, "exposure_seconds": 1.0, "counting_seconds": 5.0,
    "result_files": ["C:\\data\\Lens1DScan.dat"], "script_lines": 28, "notes": []})"),
            nlohmann::json::parse(c.out));
  EXPECT_TRUE(NothingWritten());
}

// With an axis table a script beyond a limit is refused with the first note and nothing written, also on
// standard output; --ignore-limits writes the same bytes as without a table; --summary names the limits.
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
  Captured c = Invoke(wide + Folders() + " --summary --json");
  EXPECT_EQ(0, c.code);
  EXPECT_EQ(
      nlohmann::json::array({note, "slit_y1 goes to 10.050, above its upper limit 5.000 (first at point 4)"}),
      nlohmann::json::parse(c.out)["axis_table"]["limit_notes"]);

  c = Invoke(wide + Folders() + " --ignore-limits");
  EXPECT_EQ(0, c.code) << c.err;
  SlitScanForm form = kSlitForm;
  form.scanWidth = "20";
  EXPECT_TRUE(SameText(ScriptOf(form, output_.path()), WrittenScript()));

  // A table that cannot be read is told and checks nothing.
  ASSERT_TRUE(WriteFileBytes(settings_.File("Axes.toml"), "[axis.slit_y1]\nlower = \"-5\"\n"));
  c = Invoke(wide + Folders());
  EXPECT_EQ(0, c.code);
  EXPECT_EQ("Axes.toml line 2: lower is not a number; limits not checked\n", c.err);
}

// One refusal of each kind: its exit code, its whole first line on standard error, what it printed (nothing
// but the analysis' results), nothing written; a usage error (2) names the program and shows the usage.
TEST_F(Cli, RefusalsExitWithTheirCodeAndMessage) {
  TempDir data;
  const std::string run = data.File("run.dat"), empty = data.File("empty.dat"), missing = data.File("no.dat");
  // A decreasing-width result file: falls of 20 a step, then a level near 40 from step 3.
  ASSERT_TRUE(WriteFileBytes(run,
                             "slit_y1,slit_y2,Intensity\r\n2,2,100\r\n1.5,1.5,80\r\n1,1,60\r\n0.5,0.5,40\r\n"
                             "0,0,39\r\n-0.5,-0.5,40\r\n-1,-1,40\r\n"));
  ASSERT_TRUE(WriteFileBytes(empty, ""));
  const std::string slit = kSlitExample + Folders() + " ";
  const std::string results = "cross_x=0.49167\na0=20.00000\na1=40.00000\nb0=39.66667\n";
  const struct {
    std::string line;
    int code;
    std::string firstErrorLine;
    std::string out = "";
  } rows[] = {
      {slit + "--division 1", 1, "Setting Error!"},
      {slit + "--output-folder ~/x --stdout", 1,
       "Output Folder Error! \"~/x\" cannot be used in a script (a leading | or ~ has a special meaning for "
       "Tcl's open)."},
      {slit + "--output-folder=", 1, kNoOutputFolder},
      // The settings would overwrite the script at once.
      {slit + "--output-file-name 4DSlitScan.ini --output-folder " + settings_.path(), 1,
       "Output FileName Error! " + settings_.File("4DSlitScan.ini") +
           " is where this window keeps its settings: choose another file name or output folder."},
      {"", 2, "no generator given"},
      {"slit" + Folders(), 2, "unknown generator 'slit'"},
      {"slit-scan --bogus 1" + Folders(), 2, "unknown option '--bogus' for slit-scan"},
      {"slit-scan --axis=Y" + Folders(), 2, "option '--axis' takes y|z, not 'Y'"},
      {"slit-scan --summary=yes" + Folders(), 2, "option '--summary' takes no value"},
      {"slit-scan --stdout --summary" + Folders(), 2,
       "options '--stdout' and '--summary' cannot go together"},
      {"slit-scan --json" + Folders(), 2, "option '--json' goes only with '--summary'"},
      {"slit-scan x\x1B[31m\x7F" + Folders(), 2, "unexpected argument 'x\\x1B[31m\\x7F'"},  // shown escaped
      {"slit-scan" + Folders() + " --division", 2, "option '--division' needs a value"},
      {"coll-scan --stdout" + Folders(), 2, "option '--panel' is required for coll-scan"},
      {"slit-scan" + Folders() + " --settings-dir=", 2, "option '--settings-dir' needs a folder"},
      {"analyse " + run, 0, "", results},
      {"analyse --threshold abc " + run, 0, std::string(kThresholdResetMessage), results},
      {"analyse " + run + " --threshold=-2", 1, "0" + std::string(kGateStopText)},
      {"analyse " + missing, 3, "Cannot read " + missing + ": No such file or directory"},
      {"stats " + empty, 1,
       "No series in " + empty +
           ": a result file starts with a header line of comma-separated column names, followed by rows of "
           "numbers."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    const Captured c = Invoke(row.line);
    EXPECT_EQ(row.code, c.code);
    EXPECT_EQ(row.out, c.out);
    EXPECT_EQ(ToFileText((row.code == 2 ? "vesko-script: " : "") + row.firstErrorLine), c.FirstErrorLine());
    EXPECT_EQ(row.code == 2, c.err.find("\nUsage: vesko-script ") != std::string::npos) << c.err;
    EXPECT_TRUE(NothingWritten());
  }
}

#ifndef _WIN32
// A script that cannot be written exits 3 with the whole message on the first line: control characters of
// the folder are shown escaped (Windows forbids them in file names). A full standard output is the
// interrupted-write test's matter.
TEST_F(Cli, UnwritableScriptOrFullStandardOutputExitsThree) {
  const std::string missing = output_.File("a\nFAKE: line\x1B[31m");
  const Captured c = Invoke(kSlitExample + Folders(), {"--output-folder", missing});
  EXPECT_EQ(3, c.code);
  EXPECT_EQ(c.err, "Cannot write " + output_.File("a\\nFAKE: line\\x1B[31m") +
                       "/4DSlit1DScan.tcl: No such file or directory\n");
  EXPECT_TRUE(NothingWritten());
}
#endif

// About 250 GB: refused from the first part of its dry count, long before the disk could fill.
TEST_F(Cli, ScriptLargerThanTheFreeRoomIsRefusedAtOnce) {
  if (std::filesystem::space(output_.path()).available > 100'000'000'000) {
    GTEST_SKIP() << "more than 100 GB free here";
  }
  const Captured c = Invoke(kSlitExample + Folders() + " --division 32767 --repeat 32767");
  EXPECT_EQ(3, c.code);
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
  EXPECT_TRUE(SameText(ScriptOf(kSlitForm, folder), WrittenScript("sub/4DSlit1DScan.tcl")));
}

#ifndef _WIN32
// More than a million lines (32767 points a pass, 7 passes, five lines a point), or fewer points.
std::string LongScan(const std::string& division = "32767") {
  return "slit-scan --axis=y --slit-width=0.1 --scan-center=0 --scan-width=1 --repeat=7 --division=" +
         division;
}

// Standard error on a pseudo terminal, as in an interactive shell; returns what the terminal shows.
std::string OnTerminal(const std::string& line) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    return "<no pseudo terminal>";
  }
  const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
  std::string shown;
  std::thread reader([&] {
    char buffer[4096];
    for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) {
      shown.append(buffer, static_cast<std::size_t>(n));
    }
  });
  std::FILE* err = fdopen(terminal, "w");
  std::FILE* out = std::tmpfile();
  EXPECT_EQ(0, RunCli(Words(line), out, err));
  std::fclose(err);  // the reader sees the end once the terminal's last handle is closed
  std::fclose(out);
  reader.join();
  close(master);
  return shown;
}

TEST_F(Cli, ALongWriteShowsOneProgressLineOnATerminal) {
  const std::string shown = OnTerminal(LongScan() + Folders());
  const std::string script = WrittenScript();
  const auto lines = std::count(script.begin(), script.end(), '\n');
  ASSERT_GT(lines, 1000000);
  const std::string last = "\rWriting 4DSlit1DScan.tcl: 100% of " + std::to_string(lines) + " lines\r\n";
  EXPECT_EQ(0u, shown.rfind("\rWriting 4DSlit1DScan.tcl: ", 0)) << shown.substr(0, 80);
  EXPECT_NE(std::string::npos, shown.find("% of " + std::to_string(lines) + " lines\rWriting")) << shown;
  EXPECT_EQ(shown.size() - last.size(), shown.find(last)) << shown.substr(shown.size() - 80);
  EXPECT_EQ(1, std::count(shown.begin(), shown.end(), '\n'));
  EXPECT_EQ("", OnTerminal(LongScan("5") + Folders()));  // a short script shows nothing
  EXPECT_EQ("", Invoke(LongScan() + Folders()).err);     // nor does a file
}
#endif

// A panel command loads both stored panels (the z panel once the y file was read whole, as the window does),
// types into the chosen one and saves only its file; slit-move reports its blades on standard output.
TEST_F(Cli, PanelsStoreTheirOwnFileAndSlitMoveReports) {
  const std::string yFile = "0.500\r\n1.000\r\n5\r\ny.com\r\n";
  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_z.ini"), "-1.000\r\n2.000\r\n3\r\nz.com\r\n"));
  ASSERT_TRUE(WriteFileBytes(settings_.File("ColliScan_y.ini"), yFile));
  Captured c = Invoke(
      "coll-scan --panel z --division 4 --slit-width-y=0 --slit-width-z=0 --slit-center-y=0 "
      "--slit-center-z=0" +
      Folders());
  EXPECT_EQ(0, c.code) << c.err;
  EXPECT_NE(std::string::npos,
            WrittenScript("z.com").find("\r\nTclSrv_Optics:Collimator {col_z move -2.000}\r\n"));
  EXPECT_EQ("-1.000\r\n2.000\r\n4\r\nz.com\r\n", ReadFileBytes(settings_.File("ColliScan_z.ini")));
  EXPECT_EQ(yFile, ReadFileBytes(settings_.File("ColliScan_y.ini")));
  c = Invoke(
      "slit-move --slit-width-y 0.2 --slit-width-z 0.4 --slit-center-y 0.0 --slit-center-z 0.1 "
      "--output-file-name m.com" +
      Folders());
  EXPECT_EQ(0, c.code) << c.err;
  EXPECT_EQ(ToFileText("y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=m.comで作成しました。\n"),
            c.out);  // messages reach the console in its code page
}

TEST_F(Cli, GonioYScanRepeatNeedsEveryOmegaBoxUnticked) {
  const std::string line = "gonioy-scan --scan-center=0 --scan-width=1 --division=3 --repeat 2";
  // A box ticked by the stored settings counts; unticking it on the command line frees --repeat.
  ASSERT_TRUE(WriteFileBytes(settings_.File("GonioYScan.ini"),
                             "0\r\n0.000\r\n1.000\r\n3\r\nGonioYScan.tcl\r\n1\r\n5.000\r\n0\r\n-5.000\r\n"));
  const Captured c = Print(line);
  EXPECT_EQ(2, c.code);
  EXPECT_EQ("vesko-script: option '--repeat' cannot be used while an omega box is ticked",
            c.FirstErrorLine());
  EXPECT_EQ(0, Print(line + " --use-omega1 0").code);
}

// Each generator's options are checked against the manual page (man_page_test.sh).
TEST(CliHelp, ListsGeneratorsAndOptions) {
  const Captured c = Invoke("--help");
  EXPECT_EQ(0, c.code);
  for (const char* name : {"slit-scan", "slit-dec-scan", "slit-move", "coll-scan", "lens-scan", "gonioy-scan",
                           "gonio-stage-scan", "analyse FILE [--threshold T]"}) {
    EXPECT_NE(std::string::npos, c.out.find(name)) << name;
  }
  // "vesko-script 1.22.3": the project version was filled in.
  int major = -1, minor = -1, patch = -1;
  char end = 0;
  EXPECT_EQ(4,
            std::sscanf(Invoke("-V").out.c_str(), "vesko-script %d.%d.%d%c", &major, &minor, &patch, &end));
  EXPECT_EQ('\n', end);
}

// Two passes of a slit scan: one block per pass, an empty line between them; the JSON form holds the same
// figures, numbers as printed and null for "none".
TEST(StatsCommand, PrintsOneBlockPerSeriesAsTextOrJson) {
  TempDir dir;
  const std::string file = dir.File("scan_Repeat.dat");
  ASSERT_TRUE(WriteFileBytes(
      file, test::Lines({"slit_y1,slit_y2,slit_center,Intensity(Repeat00)", "-0.200, 0.300, -0.250, 2",
                         "0.050, 0.050, 0.000, 6", "0.300, -0.200, 0.250, 3",
                         "slit_y1,slit_y2,slit_center,Intensity(Repeat01)", "-0.200, 0.300, -0.250, 3",
                         "0.050, 0.050, 0.000, 1"})));
  const std::string blocks =
      "series=Repeat00\npoints=3\nmax_x=0.00000\nmax_y=6.00000\nmin_x=-0.25000\nmin_y=2.00000\ncom=0.05000\n"
      "half_left=-0.12500\nhalf_right=0.16667\nfwhm=0.29167\ncen=0.02083\nedge_x=-0.12500\nedge_slope=16."
      "00000\n\n"
      "series=Repeat01\npoints=2\nmax_x=-0.25000\nmax_y=3.00000\nmin_x=0.00000\nmin_y=1.00000\ncom=-0.25000\n"
      "half_left=none\nhalf_right=-0.12500\nfwhm=none\ncen=none\nedge_x=-0.12500\nedge_slope=-8.00000\n";
  Captured run = Invoke("stats " + file);
  EXPECT_EQ(0, run.code) << run.err;
  EXPECT_EQ(blocks, run.out);

  run = Invoke("stats " + file + " --json");
  ASSERT_EQ(0, run.code) << run.err;
  const nlohmann::json document = nlohmann::json::parse(run.out);
  EXPECT_EQ("slit-scan", document["layout"]);
  EXPECT_EQ("slit_center", document["x"]);
  ASSERT_EQ(2u, document["series"].size());
  EXPECT_EQ(
      nlohmann::json::parse(R"({"series": "Repeat01", "points": 2, "max_x": -0.25, "max_y": 3.0, "min_x": 0.0,
    "min_y": 1.0, "com": -0.25, "half_left": null, "half_right": -0.125, "fwhm": null, "cen": null,
    "edge_x": -0.125, "edge_slope": -8.0})"),
      document["series"][1]);
  EXPECT_EQ(0.29167, document["series"][0]["fwhm"]);  // numbers as printed
}

// A two-counter scan gives the figures of I/Io, or of Io or I when asked; its return row stays out.
TEST(StatsCommand, ColumnOfATwoCounterScan) {
  TempDir dir;
  const std::string file = dir.File("c.dat");
  ASSERT_TRUE(WriteFileBytes(
      file, test::Lines({"col_y, Io, I, I/Io", "1.000, 10.0, 5.0, 0.5", "0.500, 20.0, 18.0, 0.9",
                         "0.000, 30.0, 3.0, 0.1", "0.500, 99.0, 99.0, 1.0"})));
  for (const auto& [options, maxima] : {std::pair{"", "max_x=0.50000\nmax_y=0.90000\n"},
                                        std::pair{" --column Io", "max_x=0.00000\nmax_y=30.00000\n"},
                                        std::pair{" --column I", "max_x=0.50000\nmax_y=18.00000\n"}}) {
    const Captured run = Invoke("stats " + file + options);
    EXPECT_EQ(0, run.code) << run.err;
    EXPECT_NE(std::string::npos, run.out.find(std::string("points=3\n") + maxima)) << run.out;
  }
  const Captured refused = Invoke("stats " + file + " --column Intensity");
  EXPECT_EQ(1, refused.code);
  EXPECT_EQ("No column Intensity in " + file + " (it offers I/Io, Io, I).", refused.FirstErrorLine());
}

}  // namespace
}  // namespace vesko
