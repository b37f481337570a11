#include "tests/dryrun/dryrun_fixture.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace vesko::test {
namespace {

// Folders and file name bases that a careless open line would turn into Tcl commands, variable
// reads, word breaks or a different file.
const std::vector<std::string> kHostileFolders = {
    "C:\\Users\\Beam Line [exec calc]",
    "D:\\data\\",
    "/srv/beam line/$run;x {y}",
    "\\\\server\\share\\\"q\"\\\xE6\x97\xA5\xE6\x9C\xAC",
};

const std::vector<std::string> kHostileBases = {
    "a[exec rm -rf x]",
    "$HOME",
    "${x}y",
    "x;y{z}",
    "}{",
    "a\"b",
    "x\\",
    "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80",
    "#c\td",
    std::string(240, 'L'),
};

std::size_t CountCrLf(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
    ++count;
  }
  return count;
}

}  // namespace

long long DefaultCountA(long long seq) {
  return 1000 + 7 * seq;
}

long long DefaultCountB(long long seq) {
  return 500 + 3 * seq;
}

std::string TclDouble(double value) {
  const double magnitude = std::fabs(value);
  EXPECT_TRUE(value == 0 || (magnitude >= 1e-4 && magnitude < 1e16)) << value << " would take an exponent";
  char buffer[64];
  const std::to_chars_result end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, end.ptr);
  if (text.find('.') == std::string::npos) {
    text += ".0";
  }
  return text;
}

std::string SeikikaText(double a, double b) {
  const std::string ratio = a == 0 ? "0" : TclDouble(b / a);
  return TclDouble(a) + ", " + TclDouble(b) + ", " + ratio;
}

std::string ExpectedResultPath(const std::string& folder, const std::string& base,
                               const std::string& suffix) {
#ifdef _WIN32
  const bool posixFolder = false;
#else
  const bool posixFolder = !folder.empty() && folder.front() == '/';
#endif
  return folder + (posixFolder ? "/" : "\\") + base + suffix + ".dat";
}

void ExpectTwoCounterReadings(const DryRunReport& report, std::size_t& measure, const std::string& axis,
                              const std::vector<Reading>& readings, const std::vector<std::string>& lines,
                              std::size_t& line) {
  for (const Reading& reading : readings) {
    SCOPED_TRACE("measurement " + std::to_string(measure + 1) + " at " + reading.position);
    ASSERT_LT(measure, report.measures.size());
    const DryRunMeasure& m = report.measures[measure++];
    EXPECT_EQ(m.mode, -1);
    EXPECT_EQ(m.At(axis), reading.position);
    EXPECT_EQ(m.shutter, "open");
    EXPECT_EQ(m.beamStop, "out");
    const auto seq = static_cast<long long>(measure);
    EXPECT_EQ(m.count, DefaultCountA(seq));
    EXPECT_EQ(m.countB, DefaultCountB(seq));
    if (reading.row) {
      ASSERT_LT(line, lines.size());
      EXPECT_EQ(lines[line++], reading.position + ", " +
                                   SeikikaText(static_cast<double>(m.count), static_cast<double>(m.countB)));
    }
  }
}

void ExpectSlitPreset(const DryRunReport& report, const std::vector<std::string>& blades) {
  const std::vector<std::string> names = {"slit_y1", "slit_y2", "slit_z1", "slit_z2"};
  ASSERT_EQ(blades.size(), names.size());
  ASSERT_GE(report.measures.size(), names.size());
  for (std::size_t k = 0; k < report.measures.size(); ++k) {
    const DryRunMeasure& m = report.measures[k];
    for (std::size_t b = 0; b < names.size(); ++b) {
      EXPECT_EQ(m.At(names[b]), b <= k ? blades[b] : "-") << "measurement " << k + 1 << ", " << names[b];
    }
    if (k < names.size()) {
      EXPECT_EQ(m.mode, -1);
      EXPECT_EQ(m.shutter, "closed");
    }
  }
}

DryRunReport DryRunTest::RunScript(const std::string& script, const std::string& countModel) {
  lineCount_ = CountCrLf(script);
  const std::string path = scripts_.File("script.tcl");
  EXPECT_TRUE(WriteFileBytes(path, script));
  return RunDryRun(path, sandbox_.path(), countModel);
}

void DryRunTest::ExpectCleanRun(const DryRunReport& report) const {
  EXPECT_TRUE(report.ok) << report.message;
  EXPECT_EQ(report.unclosed, 0);
  EXPECT_EQ(report.shutter, "closed");
  EXPECT_EQ(report.beamStop, "in");
  EXPECT_EQ(report.timer, "1.0");
  EXPECT_EQ(static_cast<std::size_t>(report.crlfLineEnds), lineCount_);
  EXPECT_EQ(report.bareLfLineEnds, 0);
  EXPECT_EQ(report.nonAsciiBytes, 0);
}

void DryRunTest::ExpectHostileNamesHarmless(const ScriptBuilder& build,
                                            const std::vector<std::string>& suffixes) {
  const DryRunReport plain = RunScript(build("C:\\data", "plain.tcl"));
  ExpectCleanRun(plain);
  ASSERT_EQ(plain.opens.size(), suffixes.size());

  // Each folder meets several names; every name is tried once.
  for (std::size_t k = 0; k < kHostileBases.size(); ++k) {
    const std::string& folder = kHostileFolders[k % kHostileFolders.size()];
    const std::string& base = kHostileBases[k];
    SCOPED_TRACE("folder " + folder + ", base " + base);
    const DryRunReport report = RunScript(build(folder, base + ".tcl"));
    ExpectCleanRun(report);

    ASSERT_EQ(report.opens.size(), suffixes.size());
    for (std::size_t f = 0; f < suffixes.size(); ++f) {
      EXPECT_EQ(report.opens[f].requestedPath, ExpectedResultPath(folder, base, suffixes[f]));
      EXPECT_EQ(report.opens[f].mode, "w+");
    }
    // A name that ran a command of its own would add a call, change one or end in an error.
    ASSERT_EQ(report.calls.size(), plain.calls.size());
    for (std::size_t c = 0; c < plain.calls.size(); ++c) {
      EXPECT_EQ(report.calls[c].name, plain.calls[c].name) << "call " << c + 1;
      if (plain.calls[c].name != "open") {
        EXPECT_EQ(report.calls[c].args, plain.calls[c].args) << "call " << c + 1;
      }
    }
  }
}

std::vector<std::string> DryRunTest::ResultLines(const DryRunReport& report, std::size_t index) {
  if (index >= report.opens.size()) {
    ADD_FAILURE() << "the script opened no result file number " << index + 1;
    return {};
  }
  return ReadResultLines(report.opens[index].sandboxFile);
}

}  // namespace vesko::test
