#include "app/limit_check.h"

#include <utility>

namespace vesko {

ScriptSummary SummarizeScript(const CheckedScript& script, const std::string& outputFolder,
                              AxisTableRead axes) {
  SummarySink sink(nullptr, std::move(axes));
  script.write(outputFolder, sink);
  return sink.Summary(script.outline);
}

std::optional<std::string> FirstLimitNote(const CheckedScript& script, const std::string& outputFolder,
                                          const AxisTable& table) {
  const ScriptSummary summary = SummarizeScript(script, outputFolder, {table, {}});
  if (!summary.axisReport || summary.axisReport->limitNotes.empty()) {
    return std::nullopt;
  }
  return summary.axisReport->limitNotes.front();
}

}  // namespace vesko
