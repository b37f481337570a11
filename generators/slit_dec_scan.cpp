#include "generators/slit_dec_scan.h"

#include <algorithm>
#include <cmath>

#include "core/format.h"
#include "core/numbers.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "generators/form_checks.h"

namespace vesko {
namespace {

// The point index is a 16-bit integer on the control side of things.
constexpr float kMaxPointCount = 32767.0f;

struct BladeNames {
  const char* blade1Move;
  const char* blade2Move;
  const char* columns;
};

BladeNames NamesFor(std::int16_t axis) {
  if (axis == 0) {
    return {"TclSrv_Optics:4DSlit {slit_y1 move ", "TclSrv_Optics:4DSlit {slit_y2 move ",
            "slit_y1,slit_y2,Intensity"};
  }
  return {"TclSrv_Optics:4DSlit {slit_z1 move ", "TclSrv_Optics:4DSlit {slit_z2 move ",
          "slit_z1,slit_z2,Intensity"};
}

// The data text of a result row.
void AddPutsData(LineBlock& block, std::string_view fileVar, std::string_view pos1, std::string_view pos2) {
  tcl::BeginPuts(block, fileVar).Add(pos1).Add(",").Add(pos2).Add(", $cnt");
  tcl::EndPuts(block);
}

// Both blade moves, the count and the result row of one point; the positions are formatted once.
void AddPoint(const BladeNames& names, const DecBladePositions& b, std::string_view fileVar,
              LineBlock& block) {
  const NumberText pos1 = NumberText::F(b.pos1);
  const NumberText pos2 = NumberText::F(b.pos2);
  block.Add(names.blade1Move).Add(pos1).Add("}").EndLine();
  block.Add(names.blade2Move).Add(pos2).Add("}").EndLine();
  block.Line(tcl::kMeasureWithTimer);
  block.Line(tcl::kTakeCounterA);
  AddPutsData(block, fileVar, pos1, pos2);
}

// Point indices run 0, 1, ... while not above PointCount - 1, a bound fixed before the loop.
int LastPointIndex(const SlitDecScanParams& p) {
  const float last = PointCount(p) - 1.0f;
  return last < 0.0f ? -1 : static_cast<int>(std::floor(last));
}

// The blade targets move linearly with the point index: finite at both ends means finite throughout.
bool PositionsFit(const SlitDecScanParams& p) {
  for (const int i : {0, std::max(LastPointIndex(p), 0)}) {
    const DecBladePositions b = DecPointPositions(p, i);
    if (!std::isfinite(b.pos1) || !std::isfinite(b.pos2)) {
      return false;
    }
  }
  return true;
}

}  // namespace

float PointCount(const SlitDecScanParams& p) {
  const double quotient =
      (static_cast<double>(p.StartSlitWidth) - static_cast<double>(p.EndSlitWidth)) / p.DecStep;
  return static_cast<float>(std::floor(quotient) + 1.0);
}

DecBladePositions DecPointPositions(const SlitDecScanParams& p, int i) {
  const float outer1 = static_cast<float>(static_cast<double>(p.StartSlitWidth) / 2 + p.ScanCenter);
  const float outer2 = static_cast<float>(static_cast<double>(p.StartSlitWidth) / 2 - p.ScanCenter);
  const float closing = static_cast<float>(i) * p.DecStep / 2.0f;
  return {outer1 - closing, outer2 - closing};
}

Result<SlitDecScanParams> Validate(const SlitDecScanForm& form) {
  using R = Result<SlitDecScanParams>;
  SlitDecScanParams p;
  if (form.axisY) {
    p.Axis = 0;
  } else if (form.axisZ) {
    p.Axis = 1;
  } else {
    return R::Refused(kSettingError, FirstOptionOf(form));
  }

  const struct {
    const std::string& text;
    float& target;
  } numbers[] = {{form.startSlitWidth, p.StartSlitWidth},
                 {form.endSlitWidth, p.EndSlitWidth},
                 {form.scanCenter, p.ScanCenter},
                 {form.decStep, p.DecStep}};
  for (const auto& n : numbers) {
    const std::optional<float> value = ToSingle(n.text);
    if (!value) {
      return R::Refused(kSettingError, ControlOf(form, n.text));
    }
    n.target = *value;
  }
  // A zero step, or one so small that the point index cannot hold the count, has no scan.
  if (p.DecStep == 0.0f) {
    return R::Refused(kSettingError, ControlOf(form, form.decStep));
  }
  const float count = PointCount(p);
  if (!std::isfinite(count) || count > kMaxPointCount || !PositionsFit(p)) {
    return R::Refused(kSettingError, ControlOf(form, form.decStep));
  }

  if (!Taken(TakeOutputFileName(form.outputFileName), p)) {
    return R::Refused(kSettingError, ControlOf(form, form.outputFileName));
  }

  // Checked after every other field but before any file is touched: a refused count must not leave
  // a half-written script that opens the shutter and never closes it.
  if (!Taken(TakeRepeat(form.repeatActive, form.repeatTimes), p)) {
    return R::Refused(kRepeatTimesError, ControlOf(form, form.repeatTimes));
  }
  return p;
}

void BuildScript(const SlitDecScanParams& p, const std::string& outputFolder, LineSink& out) {
  const BladeNames names = NamesFor(p.Axis);
  const int last = LastPointIndex(p);

  out.WriteLine(tcl::kSetExptime);
  out.WriteLine(tcl::kConfigureTimer);
  if (!p.RepeatActive) {
    out.WriteLine(tcl::OpenLine("fp", outputFolder, p.ResultBase, ""));
  } else {
    out.WriteLine(tcl::OpenLine("fp1", outputFolder, p.ResultBase, "_Repeat"));
    out.WriteLine(tcl::OpenLine("fp2", outputFolder, p.ResultBase, "_Average"));
  }
  out.WriteLine(tcl::kBeamStopIn);
  out.WriteLine(tcl::kShutterOpen);

  // Each point goes out as one block; the block's storage is reused from point to point.
  LineBlock block;
  if (!p.RepeatActive) {
    out.WriteLine(tcl::PutsLine("fp", names.columns));
    for (int i = 0; i <= last; ++i) {
      AddPoint(names, DecPointPositions(p, i), "fp", block);
      block.WriteTo(out);
    }
    out.WriteLine(tcl::CloseLine("fp"));
  } else {
    for (int i = 0; i <= last; ++i) {
      tcl::AddAccumulatorInitLine(block, i);
      block.WriteTo(out);
    }
    for (int r = 0; r < p.RepeatTimes; ++r) {
      out.WriteLine(tcl::PutsLine("fp1", tcl::RepeatHeaderText(names.columns, r)));
      for (int i = 0; i <= last; ++i) {
        AddPoint(names, DecPointPositions(p, i), "fp1", block);
        tcl::AddAccumulateLine(block, i);
        block.WriteTo(out);
      }
    }
    // The control server's expr divides the integer sums: the averages are integer quotients.
    out.WriteLine(tcl::PutsLine("fp2", tcl::AverageHeaderText(names.columns)));
    for (int i = 0; i <= last; ++i) {
      const DecBladePositions b = DecPointPositions(p, i);
      tcl::AddAverageLine(block, i, p.RepeatTimes);
      AddPutsData(block, "fp2", NumberText::F(b.pos1), NumberText::F(b.pos2));
      block.WriteTo(out);
    }
    out.WriteLine(tcl::CloseLine("fp1"));
    out.WriteLine(tcl::CloseLine("fp2"));
  }
  out.WriteLine(tcl::kShutterClose);
}

void LoadSettings(const std::string& path, SlitDecScanForm& form) {
  ReadStoredFields(path, form, false);
}

void LoadCombinedSettings(const std::string& path, SlitDecScanForm& form) {
  ReadStoredFields(path, form, true);
}

std::optional<IoError> SaveSettings(const std::string& path, const SlitDecScanParams& p) {
  return vesko::SaveSettings(path, {FormatPlain(p.Axis), FormatF(p.StartSlitWidth), FormatF(p.EndSlitWidth),
                                    FormatF(p.ScanCenter), FormatF(p.DecStep), p.OutputFileName});
}

}  // namespace vesko
