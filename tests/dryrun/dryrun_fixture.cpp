#include "tests/dryrun/dryrun_fixture.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vesko::test {
namespace {

std::string Quote(const std::string& text) {
#ifdef _WIN32
  return "\"" + text + "\"";
#else
  std::string quoted = "'";
  for (char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
#endif
}

// The report's free texts: "x" and the UTF-8 bytes in hexadecimal.
std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t k = 1; k + 1 < hex.size(); k += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(k, 2), nullptr, 16));
  }
  return bytes;
}

DryRunReport ParseReport(const std::string& text, const std::filesystem::path& sandbox) {
  DryRunReport report;
  std::vector<std::string> axes;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;) {
      w.push_back(word);
    }
    const std::string key = w.at(0);
    if (key == "axes") {
      axes.assign(w.begin() + 1, w.end());
    } else if (key == "call") {
      report.calls.push_back({w.at(1), FromHex(w.at(2))});
    } else if (key == "open") {
      report.opens.push_back({FromHex(w.at(1)), FromHex(w.at(2)), sandbox / w.at(3)});
    } else if (key == "measure") {
      DryRunMeasure m{std::stoll(w.at(1)), std::stoll(w.at(2)), std::stoi(w.at(3)), w.at(4), w.at(5), {}};
      for (std::size_t k = 0; k < axes.size(); ++k) {
        m.axes[axes[k]] = w.at(6 + k);
      }
      report.measures.push_back(m);
    } else if (key == "position") {
      report.positions[w.at(1)] = w.at(2);
    } else if (key == "message") {
      report.message = FromHex(w.at(1));
    } else {
      report.facts[key] = w.at(1);
    }
  }
  report.ok = report.facts.at("status") == "ok";
  return report;
}

// A double as Tcl 8.6 prints it: the shortest text that reads back, ".0" after a whole number (only
// from 1e-4 to 1e16, where Tcl writes no exponent).
std::string TclDouble(double value) {
  EXPECT_TRUE(value == 0 || (std::fabs(value) >= 1e-4 && std::fabs(value) < 1e16)) << value;
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  const std::string text(buffer, end.ptr);
  return text.find('.') == std::string::npos ? text + ".0" : text;
}

}  // namespace

std::string SeikikaText(double a, double b) {
  return TclDouble(a) + ", " + TclDouble(b) + ", " + (a == 0 ? "0" : TclDouble(b / a));
}

void ExpectPoints(const DryRunReport& report, std::size_t& measure, const std::vector<std::string>& axes,
                  const std::vector<Point>& points, const std::vector<std::string>& lines,
                  std::size_t& line) {
  for (const Point& point : points) {
    SCOPED_TRACE("measurement " + std::to_string(measure + 1) + " at " + point.at);
    ASSERT_LT(measure, report.measures.size());
    const DryRunMeasure& m = report.measures[measure++];
    std::string at;
    for (const std::string& axis : axes) {
      at += (at.empty() ? "" : " ") + m.axes.at(axis);
    }
    EXPECT_EQ(at, point.at);
    EXPECT_EQ(m.shutter, "open");
    // One channel counts with the beam stop in, two channels with it out.
    EXPECT_EQ(m.beamStop, m.mode == 0 ? "in" : "out");
    if (!point.row.empty()) {
      ASSERT_LT(line, lines.size());
      const auto a = static_cast<double>(m.count), b = static_cast<double>(m.countB);
      EXPECT_EQ(lines[line++],
                point.row + ", " + (m.mode == 0 ? std::to_string(m.count) : SeikikaText(a, b)));
    }
  }
}

void ExpectEnd(const DryRunReport& report, std::size_t measure,
               const std::map<std::string, std::string>& moved) {
  EXPECT_EQ(measure, report.measures.size()) << "counts left unchecked";
  for (const auto& [axis, position] : report.positions) {
    const auto it = moved.find(axis);
    EXPECT_EQ(position, it == moved.end() ? "-" : it->second) << axis;
  }
}

DryRunReport DryRunTest::RunScript(const std::string& script, const std::string& countModel) {
  const std::string path = scripts_.File("script.tcl");
  EXPECT_TRUE(WriteFileBytes(path, script));
  const std::string report = sandbox_.File("dryrun-report.txt"), errors = sandbox_.File("dryrun-stderr.txt");
  std::string command = Quote(VESKO_TCLSH) + " " + Quote(VESKO_SIM_SERVER) + " " + Quote(path) + " " +
                        Quote(sandbox_.path()) + " " + Quote(report);
  command += (countModel.empty() ? "" : " " + Quote(countModel)) + " 2>" + Quote(errors);
#ifdef _WIN32
  command = "\"" + command + "\"";  // cmd.exe takes the outer quotes off
#endif
  int status = std::system(command.c_str());
#ifndef _WIN32
  status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  if (status != 0) {
    throw std::runtime_error("dry-run harness failed (" + std::to_string(status) +
                             "): " + ReadFileBytes(errors));
  }
  return ParseReport(ReadFileBytes(report), sandbox_.path());
}

DryRunReport DryRunTest::RunClean(const std::string& script, const std::string& countModel) {
  DryRunReport report = RunScript(script, countModel);
  EXPECT_TRUE(report.ok) << report.message;
  const std::map<std::string, std::string> clean = {{"unclosed", "0"},
                                                    {"shutter", "closed"},
                                                    {"beamstop", "in"},
                                                    {"timer", "1.0"},
                                                    {"lf", "0"},
                                                    {"nonascii", "0"},
                                                    {"crlf", std::to_string(SplitLines(script).size())}};
  for (const auto& [fact, value] : clean) {
    EXPECT_EQ(report.facts.at(fact), value) << fact;
  }
  return report;
}

std::vector<std::vector<std::string>> ResultFiles(const DryRunReport& report,
                                                  const std::vector<std::string>& paths) {
  std::vector<std::vector<std::string>> files(paths.size());
  EXPECT_EQ(report.opens.size(), paths.size());
  for (std::size_t k = 0; k < paths.size() && k < report.opens.size(); ++k) {
    EXPECT_EQ(report.opens[k].requestedPath, paths[k]);
    EXPECT_EQ(report.opens[k].mode, "w+");
    files[k] = SplitLines(ReadFileBytes(report.opens[k].sandboxFile.string()));
  }
  return files;
}

}  // namespace vesko::test
