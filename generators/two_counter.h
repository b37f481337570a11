#pragma once

#include <string>
#include <string_view>

#include "core/line_sink.h"

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

/// The four blade targets of a 4D slit opening: blade 1 of a pair at half the width plus the centre,
/// blade 2 at half the width minus the centre (it counts outward on the other side).
struct SlitOpening {
  float y1, y2, z1, z2;
};
SlitOpening SlitOpeningOf(float widthY, float widthZ, float centerY, float centerZ);

/// True when both blades of a pair with this width and centre get finite 32-bit targets.
bool SlitPairFits(float width, float center);

/// Writes the eight lines that set the 4D slit before a scan: each blade move followed by a count.
void WriteSlitPreset(const SlitOpening& opening, LineSink& out);

}  // namespace vesko
