#include "generators/two_counter.h"

#include "core/format.h"
#include "core/tcl_lines.h"

namespace vesko {
namespace {

// Turns the last reply into the list "A, B, B/A" in `strBuff2`.
constexpr std::string_view kSeikikaOfCounts = "set strBuff2 [Seikika $counts]";

// The nine lines that define Seikika: it parses "A B" and returns counter A, counter B and B/A (0 when
// A counted nothing), the first two with a trailing comma so that a result row reads
// "position, A, B, B/A".
void WriteSeikikaProc(LineSink& out) {
  out.WriteLine("proc Seikika {strArg} {");
  out.WriteLine("scan $strArg \"%f %f\" counterA counterB");
  out.WriteLine("if {$counterA == 0} {");
  out.WriteLine("set c 0");
  out.WriteLine("} else {");
  out.WriteLine("set c [expr $counterB / $counterA]");
  out.WriteLine("}");
  out.WriteLine("return [list $counterA, $counterB, $c]");
  out.WriteLine("}");
}

// The four blade moves that set the 4D slit before a scan, each followed by a count.
void WriteSlitPreset(const SlitOpening& opening, LineSink& out) {
  const struct {
    const char* blade;
    float target;
  } moves[] = {
      {"slit_y1", opening.y1}, {"slit_y2", opening.y2}, {"slit_z1", opening.z1}, {"slit_z2", opening.z2}};
  for (const auto& move : moves) {
    out.WriteLine("TclSrv_Optics:4DSlit {" + std::string(move.blade) + " move " + FormatF(move.target) + "}");
    out.WriteLine(kCountBothChannels);
  }
}

}  // namespace

void WriteTwoCounterHead(const std::vector<std::string>& openLines,
                         const std::optional<SlitOpening>& slitPreset, LineSink& out) {
  WriteSeikikaProc(out);
  out.WriteLine(tcl::kSetExptime);
  out.WriteLine(tcl::kConfigureTimer);
  for (const std::string& line : openLines) {
    out.WriteLine(line);
  }
  out.WriteLine(tcl::kBeamStopOut);
  if (slitPreset) {
    WriteSlitPreset(*slitPreset, out);
  }
  out.WriteLine(tcl::kShutterOpen);
}

void WriteTwoCounterTail(LineSink& out) {
  out.WriteLine(tcl::kShutterClose);
  out.WriteLine(tcl::kBeamStopIn);
}

LineBlock& AddTwoCounterRowText(LineBlock& block, std::string_view formattedPosition) {
  return block.Add(formattedPosition).Add(", $strBuff2");
}

void AddTwoCounterPoint(LineBlock& block, std::string_view moveHead, std::string_view target,
                        std::string_view fileVar) {
  block.Add(moveHead).Add(target).Add("}").EndLine();
  block.Line(kCountBothChannels);
  block.Line(kSeikikaOfCounts);
  AddTwoCounterRowText(tcl::BeginPuts(block, fileVar), target);
  tcl::EndPuts(block);
}

}  // namespace vesko
