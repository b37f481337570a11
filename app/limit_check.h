#pragma once

#include <optional>
#include <string>

#include "app/checked_script.h"
#include "generators/axis_table.h"
#include "generators/script_summary.h"

namespace vesko {

/// The script's summary, read in one dry pass with the axis table `axes`; nothing is written.
[[nodiscard]] ScriptSummary SummarizeScript(const CheckedScript& script, const std::string& outputFolder,
                                            AxisTableRead axes);

/// The first note of an axis the script takes beyond a limit of `table` ("slit_y1 goes to 5.550, above its
/// upper limit 5.000 (first at point 3)"); none when every move stays within its limits.
[[nodiscard]] std::optional<std::string> FirstLimitNote(const CheckedScript& script,
                                                        const std::string& outputFolder,
                                                        const AxisTable& table);

}  // namespace vesko
