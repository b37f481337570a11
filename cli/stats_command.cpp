#include "cli/stats_command.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "analysis/result_series.h"
#include "analysis/scan_figures.h"
#include "cli/cli.h"
#include "core/numbers.h"
#include "core/platform.h"

namespace vesko::cli {
namespace {

constexpr std::string_view kStatsUsage = "Usage: vesko-script stats FILE [--json] [--column NAME]\n";

void Print(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

// Messages name files; the console reads the system's code page.
void PrintMessage(std::FILE* stream, std::string_view message) {
  Print(stream, ToFileText(message));
  Print(stream, "\n");
}

std::string StatsHelp() {
  return std::string(kStatsUsage) +
         "\nPrints the figures of every series of a result file, as the Results window shows them:\n"
         "one block per series (a pass of a repeated scan, the average, or the whole file) with\n"
         "series, points, max_x, max_y, min_x, min_y, com, half_left, half_right, fwhm, cen,\n"
         "edge_x and edge_slope, one key=value per line, blocks separated by an empty line.\n"
         "A decreasing-width scan adds cross_x, a0, a1 and b0 of its crossing. The return to the\n"
         "centre that some scans measure after their points is left out. \"none\": undefined.\n\n"
         "Options:\n"
         "  --json                        one JSON document instead (undefined figures are null)\n"
         "  --column NAME                 the intensity column of a two-counter scan: I/Io (default),\n"
         "                                Io or I\n"
         "  --help                        show this text\n\n"
         "Exit status: 0 figures printed, 1 the file holds no series, 2 usage error,\n"
         "3 the file could not be read.\n";
}

// A figure's value in JSON: the number as printed, an integer for the count, null for "none".
nlohmann::json JsonValue(const std::string& key, const std::string& text) {
  if (key == "series") {
    return text;
  }
  if (key == "points") {
    return std::stoull(text);
  }
  const std::optional<double> value = ToDouble(text);
  return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

std::string JsonDocument(const ResultSet& set, const std::vector<FigureBlock>& blocks) {
  nlohmann::ordered_json series = nlohmann::ordered_json::array();
  for (const FigureBlock& block : blocks) {
    nlohmann::ordered_json entry = nlohmann::ordered_json::object();
    for (const auto& [key, text] : block.texts) {
      entry[key] = JsonValue(key, text);
    }
    series.push_back(std::move(entry));
  }
  nlohmann::ordered_json document = nlohmann::ordered_json::object();
  document["layout"] = LayoutName(set.layout);
  document["x"] = set.xName;
  document["y"] = set.yName;
  document["series"] = std::move(series);
  // Names from the file may hold bytes that are not UTF-8; they are passed through as they are.
  return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string StatsSummaryLine() {
  return "  stats FILE [--json]         peak, width and edge figures of every series of a result file\n";
}

int RunStatsCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  std::optional<std::string> file;
  std::optional<std::string> column;
  bool json = false;
  std::string usageError;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (arg == "--help" || arg == "-h") {
      Print(out, StatsHelp());
      return kExitDone;
    }
    if (arg == "--json") {
      json = true;
    } else if (arg == "--column") {
      if (k + 1 < args.size()) {
        column = args[++k];
      } else {
        usageError = "option '--column' needs a value";
      }
    } else if (arg.rfind("--", 0) == 0) {
      usageError = "unknown option '" + arg + "' for stats";
    } else if (file) {
      usageError = "unexpected argument '" + arg + "'";
    } else {
      file = arg;
    }
    if (!usageError.empty()) {
      break;
    }
  }
  if (usageError.empty() && !file) {
    usageError = "no result file given";
  }
  if (!usageError.empty()) {
    PrintMessage(err, "vesko-script: " + usageError);
    Print(err, kStatsUsage);
    Print(err, "Try 'vesko-script stats --help'.\n");
    return kExitUsage;
  }

  Result<ResultSet> read = ReadResultSet(*file);
  if (!read) {
    PrintMessage(err, read.message());
    return kExitIoFailed;
  }
  ResultSet& set = read.value();
  if (set.series.empty()) {
    PrintMessage(err, NoSeriesMessage(*file));
    return kExitRefused;
  }
  if (column && !UseIntensityColumn(set, *column)) {
    std::string offered;
    for (const std::string& name : IntensityColumns(set)) {
      offered.append(offered.empty() ? "" : ", ").append(name);
    }
    PrintMessage(err, "No column " + *column + " in " + *file + " (it offers " + offered + ").");
    return kExitRefused;
  }
  const std::vector<FigureBlock> blocks = FigureBlocksOf(set);
  if (json) {
    Print(out, JsonDocument(set, blocks));
    return kExitDone;
  }
  std::string text;
  for (const FigureBlock& block : blocks) {
    text.append(text.empty() ? "" : "\n");
    for (const auto& [key, value] : block.texts) {
      text.append(key).append("=").append(value).append("\n");
    }
  }
  Print(out, text);  // the series names are bytes of the file itself
  return kExitDone;
}

}  // namespace vesko::cli
