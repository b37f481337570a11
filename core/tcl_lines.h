#pragma once

#include <string>
#include <string_view>

#include "core/line_sink.h"

namespace vesko::tcl {

// Fixed lines shared by the generators.
inline constexpr std::string_view kSetExptime = "set exptime 1.0";
inline constexpr std::string_view kConfigureTimer = "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime";
inline constexpr std::string_view kBeamStopIn = "TclSrv_Optics:BeamStop in null";
inline constexpr std::string_view kBeamStopOut = "TclSrv_Optics:BeamStop out null";
inline constexpr std::string_view kShutterOpen = "TclSrv_Optics:Shutter open";
inline constexpr std::string_view kShutterClose = "TclSrv_Optics:Shutter close";
inline constexpr std::string_view kMeasureWithTimer = "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0";
inline constexpr std::string_view kTakeCounterA = "set cnt $_ORTEC994(counterA)";

/// "set " + var + " [open " + ResultFileWord(folder, base, suffix) + " w+]"; var is "fp", "fp1", "fp2".
std::string OpenLine(std::string_view var, std::string_view outputFolder, std::string_view resultBase,
                     std::string_view suffix);

/// "close $" + var.
std::string CloseLine(std::string_view var);

/// "puts $" + var + " " + Q + text + Q.
std::string PutsLine(std::string_view var, std::string_view text);

/// Starts the line PutsLine(var, text) in `block`; the caller adds the text, then calls EndPuts.
LineBlock& BeginPuts(LineBlock& block, std::string_view var);

/// Ends the line begun by BeginPuts.
void EndPuts(LineBlock& block);

/// "set cnt" + I(i) + " 0": the accumulator of point i before the passes.
std::string AccumulatorInitLine(int i);
/// Adds AccumulatorInitLine(i) to `block` as a whole line.
void AddAccumulatorInitLine(LineBlock& block, int i);

/// "set cnt" + I(i) + " [expr $cnt" + I(i) + " + $cnt]": adds this pass's count of point i.
std::string AccumulateLine(int i);
/// Adds AccumulateLine(i) to `block` as a whole line.
void AddAccumulateLine(LineBlock& block, int i);

/// "set cnt [expr $cnt" + I(i) + " / " + R + "]": the average of point i over R passes.
std::string AverageLine(int i, int repeatTimes);
/// Adds AverageLine(i, repeatTimes) to `block` as a whole line.
void AddAverageLine(LineBlock& block, int i, int repeatTimes);

/// Header text of pass r: columns + "(Repeat" + I(r) + ")".
std::string RepeatHeaderText(std::string_view columns, int pass);

/// Header text of the averages: columns + "(Average)".
std::string AverageHeaderText(std::string_view columns);

}  // namespace vesko::tcl
