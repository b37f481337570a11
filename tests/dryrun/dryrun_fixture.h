#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/line_sink.h"
#include "tests/dryrun/tcl_runner.h"
#include "tests/support/test_support.h"

namespace vesko::test {

/// Channel A of measurement `seq` (from 1) when a dry run has no count model.
long long DefaultCountA(long long seq);
/// Channel B of measurement `seq` when a dry run has no count model.
long long DefaultCountB(long long seq);

/// A double as Tcl 8.6 prints it: the shortest text that reads back, ".0" after a whole number.
/// Only for magnitudes from 1e-4 to 1e16, where Tcl writes no exponent.
std::string TclDouble(double value);

/// What the scripts' Seikika procedure makes of the counter reply "A B": "A, B, B/A" with the counts
/// as Tcl doubles and 0 for the ratio when A is 0.
std::string SeikikaText(double a, double b);

/// The result file path as Tcl sees it once an open line's escapes are undone: the folder, its
/// separator ("/" after a POSIX folder outside Windows, else one backslash), base, suffix, ".dat".
std::string ExpectedResultPath(const std::string& folder, const std::string& base, const std::string& suffix);

/// One count of a two-counter scan: where the scanned axis stood, and whether a result row reports it.
struct Reading {
  std::string position;
  bool row = true;
};

/// Checks the measurements from `measure` on against `readings`: both channels counted with the
/// shutter open and the beam stop out, `axis` at the reading's position; each reading with a row
/// must match `lines[line]`, "position, A, B, B/A" under the default count model. Both indices
/// move past what was checked.
void ExpectTwoCounterReadings(const DryRunReport& report, std::size_t& measure, const std::string& axis,
                              const std::vector<Reading>& readings, const std::vector<std::string>& lines,
                              std::size_t& line);

/// Checks that the first four measurements count both channels after each blade of the 4D slit
/// reached its target in turn (slit_y1, slit_y2, slit_z1, slit_z2), before the shutter opens, and
/// that the blades stay there for every later measurement.
void ExpectSlitPreset(const DryRunReport& report, const std::vector<std::string>& blades);

/// Makes a generator's script for an output folder and an output file name; empty when refused.
using ScriptBuilder = std::function<std::string(const std::string& folder, const std::string& fileName)>;

/// Validates `form` and builds its script for `folder`; a refusal fails the test and gives "".
template <class Form>
std::string ScriptFor(const Form& form, const std::string& folder) {
  const auto params = Validate(form);
  if (!params.ok()) {
    ADD_FAILURE() << "the form was refused: " << params.message();
    return {};
  }
  StringSink sink;
  BuildScript(*params, folder, sink);
  return sink.text();
}

/// A scratch folder for scripts and a sandbox for the result files of the simulated server.
class DryRunTest : public ::testing::Test {
 protected:
  /// Writes `script` (lines ended by CR LF, as a generator writes them) to a file and runs it.
  DryRunReport RunScript(const std::string& script, const std::string& countModel = {});

  /// A run that ended the way the control server must end it: no error, every file closed, the
  /// shutter closed, the beam stop in, the timer set, and a script of CR LF lines in plain ASCII.
  void ExpectCleanRun(const DryRunReport& report) const;

  /// Runs the script `build` makes for each hostile output folder and file name: each must run
  /// cleanly, open exactly base + suffix + ".dat" for each of `suffixes` in the folder, in order,
  /// and make the same calls with the same arguments as the script for a plain folder and name.
  void ExpectHostileNamesHarmless(const ScriptBuilder& build, const std::vector<std::string>& suffixes);

  /// The result file of open number `index` (from 0), without its CR LF line ends.
  static std::vector<std::string> ResultLines(const DryRunReport& report, std::size_t index);

  TempDir scripts_;
  TempDir sandbox_;
  std::size_t lineCount_ = 0;
};

}  // namespace vesko::test
