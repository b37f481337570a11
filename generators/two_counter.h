#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_sink.h"
#include "generators/slit_blades.h"

namespace vesko {

/// One count of both counter channels, kept in `counts` as the counter's reply "A B".
inline constexpr std::string_view kCountBothChannels =
    "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]";

/// Writes the head of a two-counter scan: the Tcl procedure Seikika, the timer set-up, `openLines`, the beam
/// stop out, the 4D slit preset when there is one (each blade move followed by a count), and the shutter
/// open.
void WriteTwoCounterHead(const std::vector<std::string>& openLines,
                         const std::optional<SlitOpening>& slitPreset, LineSink& out);

/// Writes the last lines of a two-counter scan, after its result files are closed: the shutter close
/// and the beam stop in.
void WriteTwoCounterTail(LineSink& out);

/// Adds the data text of a two-counter result row, F(position) + ", $strBuff2", of a position already
/// formatted as F(position) to the line being built in `block`.
LineBlock& AddTwoCounterRowText(LineBlock& block, std::string_view formattedPosition);

/// Adds one measured point to `block`: `moveHead` + `target` + "}", the count of both channels, Seikika
/// of the reply and the result row of `target` in the file `fileVar`.
void AddTwoCounterPoint(LineBlock& block, std::string_view moveHead, std::string_view target,
                        std::string_view fileVar);

}  // namespace vesko
