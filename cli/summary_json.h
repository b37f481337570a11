#pragma once

#include <string>

#include "generators/script_summary.h"

namespace vesko::cli {

/// The summary as one JSON document for scripts (UTF-8, ended by a newline): the figures of SummaryText,
/// with the axis targets as numbers.
std::string SummaryJson(const ScriptSummary& summary);

}  // namespace vesko::cli
