#include "cli/summary_json.h"

#include <charconv>
#include <nlohmann/json.hpp>

namespace vesko::cli {
namespace {

using Json = nlohmann::ordered_json;

// A target as the script writes it ("-0.450") as a JSON number.
Json Number(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return text;  // not a plain decimal: kept as written rather than lost
  }
  return value;
}

}  // namespace

std::string SummaryJson(const ScriptSummary& summary) {
  const ScanOutline& outline = summary.outline;
  Json doc;
  doc["scan"] =
      outline.scanned.empty()
          ? Json(nullptr)
          : Json{{"scanned", outline.scanned}, {"points", outline.points}, {"passes", outline.passes}};
  doc["axes"] = Json::array();
  for (const AxisTravel& axis : summary.axes) {
    doc["axes"].push_back({{"axis", axis.axis},
                           {"moves", axis.moves},
                           {"first", Number(axis.first)},
                           {"last", Number(axis.last)},
                           {"lowest", Number(axis.lowest)},
                           {"highest", Number(axis.highest)}});
  }
  doc["count_measurements"] = summary.measurements;
  doc["exposure_seconds"] = summary.exposureSeconds;
  doc["counting_seconds"] = static_cast<double>(summary.measurements) * summary.exposureSeconds;
  doc["result_files"] = summary.resultFiles;
  doc["script_lines"] = summary.lines;
  doc["notes"] = summary.notes;
  // Only with an axis table (or one that could not be used): without one the document is as before.
  if (summary.axisReport) {
    const AxisReport& report = *summary.axisReport;
    doc["axis_table"] = {
        {"limit_notes", report.limitNotes},
        {"estimated_seconds", report.countingSeconds + report.moveSeconds + report.shutterSeconds},
        {"counting_seconds", report.countingSeconds},
        {"move_seconds", report.moveSeconds},
        {"shutter_seconds", report.shutterSeconds},
        {"untimed_axes", report.untimed}};
  } else if (!summary.axisTableProblem.empty()) {
    doc["axis_table"] = {{"problem", summary.axisTableProblem}};
  }
  // File names are bytes on Linux; one that is not UTF-8 gets U+FFFD where JSON cannot carry it.
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace vesko::cli
