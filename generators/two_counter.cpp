#include "generators/two_counter.h"

#include "core/format.h"

namespace vesko {
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

LineBlock& AddTwoCounterRowText(LineBlock& block, std::string_view formattedPosition) {
  return block.Add(formattedPosition).Add(", $strBuff2");
}

std::string TwoCounterRowText(double position) {
  LineBlock block;
  return std::string(AddTwoCounterRowText(block, NumberText::F(position)).text());
}

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

}  // namespace vesko
