// Generated scripts run in a real tclsh against a simulated control server (sim_server.tcl): each count is
// written where the axes stood, and hostile output names stay file names.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/generator_checks.h"
#include "tests/support/generator_samples.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vesko::test {
namespace {

using Lines = std::vector<std::string>;

struct Measure {
  long long counts = 0;  // on channel A and on channel B
  int mode = 0;          // 0: A into _ORTEC994(counterA); -1: reply "A B"
  std::string shutter, beamStop;
  std::map<std::string, std::string> axes;  // each axis' move text, "-" never moved
};
struct Open {
  std::string mode, path;
  std::filesystem::path sandboxFile;
};
// What the simulated server saw; facts: shutter, beamstop, timer, unclosed.
struct Report {
  bool ok = false;
  std::string message;
  std::vector<std::pair<std::string, std::string>> calls;  // name, arguments as a Tcl list
  std::vector<Open> opens;
  std::vector<Measure> measures;
  std::map<std::string, std::string> facts;
};

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

std::string FromHex(const std::string& hex) {  // "x" and the bytes in hexadecimal
  std::string bytes;
  for (std::size_t k = 1; k + 1 < hex.size(); k += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(k, 2), nullptr, 16));
  }
  return bytes;
}

Report ParseReport(const std::string& text, const std::filesystem::path& sandbox) {
  Report report;
  Lines axes;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    Lines w;
    for (std::string word; in >> word;) {
      w.push_back(word);
    }
    const std::string& key = w.at(0);
    if (key == "axes") {
      axes.assign(w.begin() + 1, w.end());
    } else if (key == "call") {
      report.calls.emplace_back(w.at(1), FromHex(w.at(2)));
    } else if (key == "open") {
      report.opens.push_back({FromHex(w.at(1)), FromHex(w.at(2)), sandbox / w.at(3)});
    } else if (key == "measure") {
      Measure m{std::stoll(w.at(1)), std::stoi(w.at(2)), w.at(3), w.at(4), {}};
      for (std::size_t k = 0; k < axes.size(); ++k) {
        m.axes[axes[k]] = w.at(5 + k);
      }
      report.measures.push_back(m);
    } else if (key == "message") {
      report.message = FromHex(w.at(1));
    } else {
      report.facts[key] = w.at(1);
    }
  }
  report.ok = report.facts.at("status") == "ok";
  return report;
}

// The counts of `m` as its result line ends: ", A" (one channel), or what the scripts' Seikika makes of the
// reply "A B" (two channels): "A, B, B/A" as Tcl doubles. The server counts 2^seq on both channels (exact as
// doubles), so no average of two passes reads as a count.
std::string CountsText(const Measure& m) {
  const std::string a = std::to_string(m.counts);
  return m.mode == 0 ? ", " + a : ", " + a + ".0, " + a + ".0, 1.0";
}

class EachGenerator : public ::testing::TestWithParam<std::size_t> {
 protected:
  // Runs `script` in tclsh against the simulated server: no error, every file closed, the shutter closed; a
  // `counting` script ends as on the control server with the beam stop in and the timer set, a move file
  // sets neither.
  Report Run(const std::string& script, bool counting) {
    const std::string path = scripts_.File("script.tcl");
    EXPECT_TRUE(WriteFileBytes(path, script));
    const std::string report = sandbox_.File("dryrun-report.txt"),
                      errors = sandbox_.File("dryrun-stderr.txt");
    std::string command = Quote(VESKO_TCLSH) + " " + Quote(VESKO_SIM_SERVER) + " " + Quote(path) + " " +
                          Quote(sandbox_.path()) + " " + Quote(report) + " 2>" + Quote(errors);
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
    const Report parsed = ParseReport(ReadFileBytes(report), sandbox_.path());
    EXPECT_TRUE(parsed.ok) << parsed.message;
    std::string facts;
    for (const char* fact : {"unclosed", "shutter", "beamstop", "timer"}) {
      facts += std::string(fact) + "=" + parsed.facts.at(fact) + " ";
    }
    EXPECT_EQ(facts, counting ? "unclosed=0 shutter=closed beamstop=in timer=1.0 "
                              : "unclosed=0 shutter=closed beamstop=unknown timer=- ");
    return parsed;
  }

  TempDir scripts_;
  TempDir sandbox_;
};

// Folders and file name bases a careless open line would turn into Tcl commands, variable reads, word
// breaks or another file (names holding a quote or a backslash are refused). Each folder meets several
// names; every name is tried once.
const Lines kHostileFolders = {"C:\\Users\\Beam Line [exec calc]", "D:\\data\\", "/srv/beam line/$run;x {y}",
                               "\\\\server\\share\\\"q\"\\\xE6\x97\xA5\xE6\x9C\xAC"};
const Lines kHostileBases = {
    "a[exec rm -rf x]",   "$HOME", "${x}y", "x;y{z}", "}{", "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", "#c\td",
    std::string(240, 'L')};

// Every count has the beam stop in for one channel and out for two; each count with the shutter open is
// written once, in order, into a row that starts where an axis stood, except generator B's count at each new
// omega angle and the stage scan's approach counts. Hostile folders and names: the same calls, and exactly
// base + suffix + ".dat" opened in the folder.
TEST_P(EachGenerator, WritesEachCountWhereTheAxesStoodAndOpensOnlyTheNamedFiles) {
  const GeneratorSample& sample = GeneratorSamples()[GetParam()];
  const bool counting = !sample.resultSuffixes.empty();
  const Report plain = Run(sample.Script("C:\\data"), counting);
  EXPECT_EQ(plain.opens.size(), sample.resultSuffixes.size());
  std::size_t unwritten = sample.name == "GonioYScanB" || sample.name == "GonioStageScan" ? 2 : 0, next = 0;
  for (const Measure& m : plain.measures) {
    EXPECT_EQ(m.beamStop, m.mode == 0 ? "in" : "out");
    unwritten += m.shutter == "open" ? 0 : 1;
  }
  std::size_t written = 0;
  for (const Open& file : plain.opens) {
    for (const std::string& line : SplitLines(ReadFileBytes(file.sandboxFile.string()))) {
      for (std::size_t k = 0; k < plain.measures.size(); ++k) {
        const Measure& m = plain.measures[k];
        if (line.ends_with(CountsText(m))) {
          SCOPED_TRACE(line);
          EXPECT_GE(k, next) << "written out of order";
          next = k + 1;
          ++written;
          EXPECT_EQ(m.shutter, "open");
          const std::string first = line.substr(0, line.find(','));
          EXPECT_TRUE(
              std::any_of(m.axes.begin(), m.axes.end(), [&](const auto& a) { return a.second == first; }));
        }
      }
    }
  }
  EXPECT_EQ(written + unwritten, plain.measures.size());

  for (std::size_t k = 0; k < kHostileBases.size(); ++k) {
    const std::string &folder = kHostileFolders[k % kHostileFolders.size()], &base = kHostileBases[k];
    SCOPED_TRACE("folder " + folder + ", base " + base);
    const Report report = Run(sample.Script(folder, base + ".tcl"), counting);
    ASSERT_EQ(report.opens.size(), sample.resultSuffixes.size());
#ifdef _WIN32
    const std::string separator = "\\";
#else
    const std::string separator = folder.front() == '/' ? "/" : "\\";
#endif
    for (std::size_t f = 0; f < sample.resultSuffixes.size(); ++f) {
      EXPECT_EQ(report.opens[f].path, folder + separator + base + sample.resultSuffixes[f] + ".dat");
      EXPECT_EQ(report.opens[f].mode, "w+");
    }
    ASSERT_EQ(report.calls.size(), plain.calls.size());
    for (std::size_t c = 0; c < plain.calls.size(); ++c) {
      EXPECT_EQ(report.calls[c].first, plain.calls[c].first) << "call " << c + 1;
      if (plain.calls[c].first != "open") {
        EXPECT_EQ(report.calls[c].second, plain.calls[c].second) << "call " << c + 1;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryGenerator, EachGenerator,
                         ::testing::Range<std::size_t>(0, GeneratorSamples().size()),
                         [](const auto& info) { return GeneratorSamples()[info.param].name; });

}  // namespace
}  // namespace vesko::test
