#pragma once

#include <string>
#include <string_view>

#include "core/line_sink.h"
#include "generators/slit_blades.h"

namespace vesko {

/// One count of both counter channels, kept in `counts` as the counter's reply "A B".
inline constexpr std::string_view kCountBothChannels =
    "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]";

/// Turns the last reply into the list "A, B, B/A" in `strBuff2`.
inline constexpr std::string_view kSeikikaOfCounts = "set strBuff2 [Seikika $counts]";

/// Writes the nine lines that define the Tcl procedure Seikika at the head of a two-counter script:
/// it parses "A B" and returns counter A, counter B and B/A (0 when A counted nothing), the first two
/// with a trailing comma so that a result row reads "position, A, B, B/A".
void WriteSeikikaProc(LineSink& out);

/// Data text of a two-counter result row: F(position) + ", $strBuff2".
std::string TwoCounterRowText(double position);
/// Adds the row text of a position already formatted as F(position) to the line being built in `block`.
LineBlock& AddTwoCounterRowText(LineBlock& block, std::string_view formattedPosition);

/// Writes the eight lines that set the 4D slit before a scan: each blade move followed by a count.
void WriteSlitPreset(const SlitOpening& opening, LineSink& out);

}  // namespace vesko
