#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace vesko::test {

/// One command of the simulated control server as the script called it.
struct DryRunCall {
  std::string name;
  std::string args;  // the arguments as a Tcl list
};

/// One `open` of the script: what it asked for and where the harness put the file instead.
struct DryRunOpen {
  std::string mode;
  std::string requestedPath;
  std::filesystem::path sandboxFile;
};

/// One counter measurement: both channels, what the script asked for, and where everything stood.
struct DryRunMeasure {
  long long count = 0;                      // channel A
  long long countB = 0;                     // channel B
  int mode = 0;                             // 0: channel A into _ORTEC994(counterA); -1: reply "A B"
  std::string shutter;                      // "open" or "closed"
  std::string beamStop;                     // "in", "out" or "unknown"
  std::map<std::string, std::string> axes;  // every axis by its report name: its move text, "-" never moved
};

/// What the simulated control server saw while running one script.
struct DryRunReport {
  bool ok = false;
  std::string message;  // the Tcl error when !ok
  std::vector<DryRunCall> calls;
  std::vector<DryRunOpen> opens;
  std::vector<DryRunMeasure> measures;
  std::map<std::string, std::string> positions;  // where every axis stands at the end ("-" never moved)
  /// shutter, beamstop, timer ("-" never set), unclosed (files left open), crlf and lf (line
  /// ends of the script), nonascii (its bytes above 127).
  std::map<std::string, std::string> facts;
};

/// What the scripts' Seikika procedure makes of the counter reply "A B": "A, B, B/A" with the counts
/// as Tcl 8.6 prints doubles and 0 for the ratio when A is 0.
std::string SeikikaText(double a, double b);

/// One count of a scan: where the scanned axes stood (their move texts, separated by blanks) and the
/// start of the result line written from it ("" for a count whose reply is not written).
struct Point {
  std::string at;
  std::string row;
};

/// Checks the counts from `measure` on against `points` (each made with the shutter open) and each
/// written point against `lines[line]`: its row start, then ", A" (one channel, beam stop in) or ", " +
/// Seikika (two channels, beam stop out). Moves both indices past what was checked.
void ExpectPoints(const DryRunReport& report, std::size_t& measure, const std::vector<std::string>& axes,
                  const std::vector<Point>& points, const std::vector<std::string>& lines, std::size_t& line);

/// Checks that the counts up to `measure` were all that was counted, and that the axes in `moved` end at
/// their values and no other axis moved.
void ExpectEnd(const DryRunReport& report, std::size_t measure,
               const std::map<std::string, std::string>& moved);

/// Checks that the run opened exactly `paths`, for writing, and gives the lines of each file.
std::vector<std::vector<std::string>> ResultFiles(const DryRunReport& report,
                                                  const std::vector<std::string>& paths);

/// A scratch folder for scripts and a sandbox for the result files of the simulated server.
class DryRunTest : public ::testing::Test {
 protected:
  /// Writes `script` to a file and runs it in tclsh against the simulated server; `countModel` is a Tcl
  /// lambda {seq positions} giving channel A or {A B} (sim_server.tcl describes it).
  DryRunReport RunScript(const std::string& script, const std::string& countModel = {});

  /// RunScript, checking that the run ended as the control server must end it: no error, every file
  /// closed, the shutter closed, the beam stop in, the timer set, a script of CR LF lines in plain ASCII.
  DryRunReport RunClean(const std::string& script, const std::string& countModel = {});

  TempDir scripts_;
  TempDir sandbox_;
};

}  // namespace vesko::test
