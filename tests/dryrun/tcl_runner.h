#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

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

/// One counter measurement: both channel counts, what the script asked for, and where everything stood.
struct DryRunMeasure {
  long long count = 0;                // channel A
  std::array<std::string, 4> blades;  // slit_y1, slit_y2, slit_z1, slit_z2 (move texts, "-" never moved)
  int mode = 0;                       // 0: channel A into _ORTEC994(counterA); -1: reply "A B"
  long long countB = 0;               // channel B
  std::string shutter;                // "open" or "closed" while counting
  std::string beamStop;               // "in", "out" or "unknown" while counting
  std::map<std::string, std::string> axes;  // every axis by its report name, blades included

  /// The move text of `axis` ("-" when never moved); throws for an axis the server does not know.
  const std::string& At(const std::string& axis) const { return axes.at(axis); }
};

/// What the simulated control server saw while running one script.
struct DryRunReport {
  bool ok = false;
  std::string message;  // the Tcl error when !ok
  std::vector<DryRunCall> calls;
  std::vector<DryRunOpen> opens;
  std::vector<DryRunMeasure> measures;
  std::map<std::string, std::string> positions;  // where every axis stands at the end ("-" never moved)
  int moves = 0;
  std::string shutter;   // "open" or "closed" at the end
  std::string beamStop;  // "in", "out" or "unknown"
  std::string timer;     // last exposure time set, "-" if none
  int unclosed = 0;      // opened channels the script left open
  int crlfLineEnds = 0;
  int bareLfLineEnds = 0;
  int nonAsciiBytes = 0;
};

/// Runs `script` in a safe Tcl interpreter with simulated control-server commands; result files
/// go into `sandbox`. `countModel`, when given, is a Tcl lambda {seq y1 y2 z1 z2} or {seq positions}
/// (a dict of every axis) giving channel A or {A B} (default A = 1000 + 7 * seq, B = 500 + 3 * seq,
/// seq from 1). Throws std::runtime_error if the harness fails.
DryRunReport RunDryRun(const std::filesystem::path& script, const std::filesystem::path& sandbox,
                       const std::string& countModel = {});

/// The lines of a result file without their CR LF ends; throws if the file cannot be read.
std::vector<std::string> ReadResultLines(const std::filesystem::path& file);

}  // namespace vesko::test
