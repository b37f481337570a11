#include "generators/two_counter.h"

#include <cmath>

#include "core/format.h"

namespace vesko {
namespace {

float Blade1(float width, float center) {
  return static_cast<float>(static_cast<double>(width) / 2 + center);
}
float Blade2(float width, float center) {
  return static_cast<float>(static_cast<double>(width) / 2 - center);
}

}  // namespace

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

std::string TwoCounterRowText(double position) {
  return FormatF(position) + ", $strBuff2";
}

SlitOpening SlitOpeningOf(float widthY, float widthZ, float centerY, float centerZ) {
  return {Blade1(widthY, centerY), Blade2(widthY, centerY), Blade1(widthZ, centerZ), Blade2(widthZ, centerZ)};
}

bool SlitPairFits(float width, float center) {
  return std::isfinite(Blade1(width, center)) && std::isfinite(Blade2(width, center));
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
