#include "tests/dryrun/tcl_runner.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vesko::test {
namespace {

std::string Quote(const std::string& text) {
#ifdef _WIN32
  // cmd.exe: the whole command line is quoted once more by std::system's shell.
  return "\"" + text + "\"";
#else
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
#endif
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path.string());
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string FromHex(const std::string& hex) {
  if (hex.size() % 2 != 0) {
    throw std::runtime_error("odd hexadecimal text in the dry-run report: " + hex);
  }
  std::string bytes;
  for (std::size_t k = 0; k < hex.size(); k += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(k, 2), nullptr, 16));
  }
  return bytes;
}

DryRunOpen& OpenNumber(DryRunReport& report, std::size_t index) {
  if (index == 0) {
    throw std::runtime_error("open number 0 in the dry-run report");
  }
  if (report.opens.size() < index) {
    report.opens.resize(index);
  }
  return report.opens[index - 1];
}

DryRunReport ParseReport(const std::string& text, const std::filesystem::path& sandbox) {
  DryRunReport report;
  std::istringstream lines(text);
  std::string line;
  bool sawStatus = false;
  std::vector<std::string> axisNames;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') {
      continue;
    }
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    if (key == "status") {
      std::string value;
      fields >> value;
      report.ok = value == "ok";
      sawStatus = true;
    } else if (key == "message") {
      std::string hex;
      fields >> hex;
      report.message = FromHex(hex);
    } else if (key == "call") {
      std::string seq, name, hex;
      fields >> seq >> name >> hex;
      report.calls.push_back({name, FromHex(hex)});
    } else if (key == "open") {
      std::size_t index = 0;
      std::string mode, path;
      fields >> index >> mode >> path;
      DryRunOpen& open = OpenNumber(report, index);
      open.mode = FromHex(mode);
      open.requestedPath = FromHex(path);
    } else if (key == "file") {
      std::size_t index = 0;
      std::string name;
      fields >> index >> name;
      OpenNumber(report, index).sandboxFile = sandbox / name;
    } else if (key == "axes") {
      axisNames.clear();
      for (std::string name; fields >> name;) {
        axisNames.push_back(name);
      }
      fields.clear();
    } else if (key == "measure") {
      std::string seq;
      DryRunMeasure measure;
      fields >> seq >> measure.count;
      for (std::string& blade : measure.blades) {
        fields >> blade;
      }
      fields >> measure.mode >> measure.countB >> measure.shutter >> measure.beamStop;
      if (axisNames.size() < measure.blades.size()) {
        throw std::runtime_error("dry-run report without its axes line");
      }
      for (std::size_t k = 0; k < axisNames.size(); ++k) {
        std::string value;
        if (k < measure.blades.size()) {
          value = measure.blades[k];
        } else {
          fields >> value;
        }
        measure.axes[axisNames[k]] = value;
      }
      report.measures.push_back(measure);
    } else if (key == "position") {
      std::string axis, value;
      fields >> axis >> value;
      report.positions[axis] = value;
    } else if (key == "moves") {
      fields >> report.moves;
    } else if (key == "shutter") {
      fields >> report.shutter;
    } else if (key == "beamstop") {
      fields >> report.beamStop;
    } else if (key == "timer") {
      fields >> report.timer;
    } else if (key == "unclosed") {
      fields >> report.unclosed;
    } else if (key == "lineends") {
      fields >> report.crlfLineEnds >> report.bareLfLineEnds;
    } else if (key == "nonascii") {
      fields >> report.nonAsciiBytes;
    }
    if (fields.fail()) {
      throw std::runtime_error("malformed dry-run report line: " + line);
    }
  }
  if (!sawStatus) {
    throw std::runtime_error("dry-run report without status");
  }
  return report;
}

}  // namespace

DryRunReport RunDryRun(const std::filesystem::path& script, const std::filesystem::path& sandbox,
                       const std::string& countModel) {
  const std::filesystem::path report = sandbox / "dryrun-report.txt";
  const std::filesystem::path errors = sandbox / "dryrun-stderr.txt";
  std::string command = Quote(VESKO_TCLSH) + " " + Quote(VESKO_SIM_SERVER) + " " + Quote(script.string()) +
                        " " + Quote(sandbox.string()) + " " + Quote(report.string());
  if (!countModel.empty()) {
    command += " " + Quote(countModel);
  }
  command += " 2>" + Quote(errors.string());
#ifdef _WIN32
  command = "\"" + command + "\"";
#endif
  int status = std::system(command.c_str());
#ifndef _WIN32
  status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  if (status != 0) {
    std::string reason;
    try {
      reason = ReadWholeFile(errors);
    } catch (const std::runtime_error&) {
      reason = "(no error output)";
    }
    throw std::runtime_error("dry-run harness failed with status " + std::to_string(status) + ": " + reason);
  }
  return ParseReport(ReadWholeFile(report), sandbox);
}

std::vector<std::string> ReadResultLines(const std::filesystem::path& file) {
  std::istringstream text(ReadWholeFile(file));
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(text, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace vesko::test
