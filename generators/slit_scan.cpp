#include "generators/slit_scan.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "core/format.h"
#include "core/numbers.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "generators/form_checks.h"

namespace vesko {
namespace {

// Where the two blades of the pair go for one opening, and the opening's centre.
// Blade 1 sits at p + w/2 and blade 2, which counts the other way, at -p + w/2.
struct BladeTargets {
  float pos1 = 0;
  float pos2 = 0;
  double slitMid = 0;
};

// The centre column: the blade difference is taken in 32 bits, the halving in double.
double SlitMidOf(float pos1, float pos2) {
  const float difference = pos1 - pos2;
  return static_cast<double>(difference) / 2;
}

// The evenly spaced openings of one scan. Every sum runs left to right in double precision on the
// 32-bit inputs and is rounded once to 32 bits, so that the script's numbers do not depend on how
// a compiler would regroup the terms.
class ScanGeometry {
 public:
  explicit ScanGeometry(const SlitScanParams& p) : p_(p), lastIndex_(static_cast<int>(p.Division) - 1) {
    const float n = static_cast<float>(lastIndex_);
    step_ = static_cast<double>(p.ScanWidth) / n;
    halfSpan_ = ((static_cast<double>(n) / 2) * p.ScanWidth) / n;
    t_ = static_cast<float>(halfSpan_ - p.ScanCenter);
  }

  int lastIndex() const { return lastIndex_; }
  double step() const { return step_; }

  BladeTargets Point(int i) const {
    const double offset = static_cast<double>(i) * step_;
    BladeTargets b;
    b.pos1 = static_cast<float>(offset + (p_.ScanCenter - halfSpan_) + p_.SlitWidth / 2.0);
    b.pos2 = static_cast<float>(static_cast<double>(t_) - offset + p_.SlitWidth / 2.0);
    b.slitMid = SlitMidOf(b.pos1, b.pos2);
    return b;
  }

  // The opening put back on the scan centre after the scan.
  BladeTargets Centre() const {
    BladeTargets b;
    b.pos1 = static_cast<float>(p_.SlitWidth / 2.0 + p_.ScanCenter);
    b.pos2 = static_cast<float>(p_.SlitWidth / 2.0 - p_.ScanCenter);
    b.slitMid = SlitMidOf(b.pos1, b.pos2);
    return b;
  }

 private:
  const SlitScanParams& p_;
  int lastIndex_;
  double step_ = 0;
  double halfSpan_ = 0;
  float t_ = 0;
};

bool IsFinite(const BladeTargets& b) {
  return std::isfinite(b.pos1) && std::isfinite(b.pos2) && std::isfinite(b.slitMid);
}

// True when the step and every blade target stay finite 32-bit numbers. The targets are linear
// in the point index, so the two ends of the range and the centre bound all of them.
bool FitsInFloats(const SlitScanParams& p) {
  const ScanGeometry g(p);
  if (!IsFinite(g.Centre())) {
    return false;
  }
  if (g.lastIndex() < 0) {
    return true;
  }
  return std::isfinite(g.step()) && IsFinite(g.Point(0)) && IsFinite(g.Point(g.lastIndex()));
}

// Writes the lines of one scan. Each point goes out as one block whose storage is reused, so that a
// long scan costs no more memory than a short one and allocates nothing per line.
class SlitScanWriter {
 public:
  SlitScanWriter(const SlitScanParams& p, LineSink& out)
      : p_(p),
        out_(out),
        geometry_(p),
        zPair_(p.Axis != 0),
        blade1Move_(zPair_ ? "TclSrv_Optics:4DSlit {slit_z1 move " : "TclSrv_Optics:4DSlit {slit_y1 move "),
        blade2Move_(zPair_ ? "TclSrv_Optics:4DSlit {slit_z2 move " : "TclSrv_Optics:4DSlit {slit_y2 move ") {}

  void Write(const std::string& outputFolder) {
    out_.WriteLine(tcl::kSetExptime);
    out_.WriteLine(tcl::kConfigureTimer);
    out_.WriteLine(tcl::kBeamStopIn);
    out_.WriteLine(tcl::kShutterOpen);
    if (p_.RepeatActive) {
      out_.WriteLine(tcl::OpenLine("fp1", outputFolder, p_.ResultBase, "_Repeat"));
      out_.WriteLine(tcl::OpenLine("fp2", outputFolder, p_.ResultBase, "_Average"));
      WriteRepeatedBody();
      out_.WriteLine(tcl::CloseLine("fp1"));
      out_.WriteLine(tcl::CloseLine("fp2"));
    } else {
      out_.WriteLine(tcl::OpenLine("fp", outputFolder, p_.ResultBase, ""));
      WriteSingleBody();
      out_.WriteLine(tcl::CloseLine("fp"));
    }
    out_.WriteLine(tcl::kShutterClose);
  }

 private:
  void WriteSingleBody() {
    out_.WriteLine(tcl::PutsLine("fp", zPair_ ? "slit_z1, slit_z2, slit_center, Intensity"
                                              : "slit_y1, slit_y2, slit_center, Intensity"));
    ForEachPointInScanOrder([this](int i) {
      AddPointBlock(geometry_.Point(i), "fp");
      block_.WriteTo(out_);
    });
    AddPointBlock(geometry_.Centre(), "fp");
    block_.WriteTo(out_);
  }

  void WriteRepeatedBody() {
    const std::string_view columns =
        zPair_ ? "slit_z1,slit_z2,slit_center,Intensity" : "slit_y1,slit_y2,slit_center,Intensity";
    const int lastIndex = geometry_.lastIndex();
    for (int i = 0; i <= lastIndex; ++i) {
      tcl::AddAccumulatorInitLine(block_, i);
      block_.WriteTo(out_);
    }
    for (int pass = 0; pass < p_.RepeatTimes; ++pass) {
      out_.WriteLine(tcl::PutsLine("fp1", tcl::RepeatHeaderText(columns, pass)));
      ForEachPointInScanOrder([this](int i) {
        AddPointBlock(geometry_.Point(i), "fp1");
        tcl::AddAccumulateLine(block_, i);
        block_.WriteTo(out_);
      });
    }
    // The averages only divide the sums; they list the points from the low end whatever the pair.
    out_.WriteLine(tcl::PutsLine("fp2", tcl::AverageHeaderText(columns)));
    for (int i = 0; i <= lastIndex; ++i) {
      const BladeTargets b = geometry_.Point(i);
      tcl::AddAverageLine(block_, i, p_.RepeatTimes);
      tcl::BeginPuts(block_, "fp2").AddF(b.pos1).Add(",");
      AddPositionsTail(block_, NumberText::F(b.pos2), b.slitMid);
      tcl::EndPuts(block_);
      block_.WriteTo(out_);
    }
    AddPointBlock(geometry_.Centre(), "fp2");
    block_.WriteTo(out_);
  }

  // The y pair scans from the low end upward, the z pair from the high end downward.
  template <typename Visit>
  void ForEachPointInScanOrder(Visit visit) {
    const int lastIndex = geometry_.lastIndex();
    if (zPair_) {
      for (int i = lastIndex; i >= 0; --i) {
        visit(i);
      }
    } else {
      for (int i = 0; i <= lastIndex; ++i) {
        visit(i);
      }
    }
  }

  // Both blade moves, the count and the result row of one point.
  void AddPointBlock(const BladeTargets& b, std::string_view fileVar) {
    const NumberText pos1 = NumberText::F(b.pos1);
    const NumberText pos2 = NumberText::F(b.pos2);
    block_.Add(blade1Move_).Add(pos1).Add("}").EndLine();
    block_.Add(blade2Move_).Add(pos2).Add("}").EndLine();
    block_.Line(tcl::kMeasureWithTimer);
    block_.Line(tcl::kTakeCounterA);
    tcl::BeginPuts(block_, fileVar).Add(pos1).Add(", ");
    AddPositionsTail(block_, pos2, b.slitMid);
    tcl::EndPuts(block_);
  }

  // Everything of a data text after blade 1's column.
  static void AddPositionsTail(LineBlock& block, std::string_view pos2, double slitMid) {
    block.Add(pos2).Add(", ").AddF(slitMid).Add(", $cnt");
  }

  const SlitScanParams& p_;
  LineSink& out_;
  ScanGeometry geometry_;
  bool zPair_;
  std::string_view blade1Move_;
  std::string_view blade2Move_;
  LineBlock block_;
};

}  // namespace

Result<SlitScanParams> Validate(const SlitScanForm& form) {
  using R = Result<SlitScanParams>;
  SlitScanParams p;

  if (form.axisY) {
    p.Axis = 0;
  } else if (form.axisZ) {
    p.Axis = 1;
  } else {
    return R::Refused(kSettingError, FirstOptionOf(form));
  }

  const std::optional<float> slitWidth = ToSingle(form.slitWidth);
  if (!slitWidth) {
    return R::Refused(kSettingError, ControlOf(form, form.slitWidth));
  }
  p.SlitWidth = *slitWidth;

  const std::optional<float> scanCenter = ToSingle(form.scanCenter);
  if (!scanCenter) {
    return R::Refused(kSettingError, ControlOf(form, form.scanCenter));
  }
  p.ScanCenter = *scanCenter;

  const std::optional<float> scanWidth = ToSingle(form.scanWidth);
  if (!scanWidth) {
    return R::Refused(kSettingError, ControlOf(form, form.scanWidth));
  }
  p.ScanWidth = *scanWidth;

  // One point would make the step a division by zero; -32768 points have no last index in
  // 16 bits; and the step and the blade targets must stay finite.
  const std::optional<std::int16_t> division = ToInteger16(form.division);
  if (!division || *division == 1 || *division == std::numeric_limits<std::int16_t>::min()) {
    return R::Refused(kSettingError, ControlOf(form, form.division));
  }
  p.Division = *division;
  if (!FitsInFloats(p)) {
    return R::Refused(kSettingError, ControlOf(form, form.division));
  }

  if (!Taken(TakeOutputFileName(form.outputFileName), p)) {
    return R::Refused(kSettingError, ControlOf(form, form.outputFileName));
  }

  // Checked after every other field but before any file is touched: a refused count must not
  // leave a half-written script that opens the shutter and never closes it.
  if (!Taken(TakeRepeat(form.repeatActive, form.repeatTimes), p)) {
    return R::Refused(kRepeatTimesError, ControlOf(form, form.repeatTimes));
  }
  return p;
}

void BuildScript(const SlitScanParams& p, const std::string& outputFolder, LineSink& out) {
  SlitScanWriter(p, out).Write(outputFolder);
}

void LoadSettings(const std::string& path, SlitScanForm& form) {
  ReadStoredFields(path, form, false);
}

void LoadCombinedSettings(const std::string& path, SlitScanForm& form) {
  ReadStoredFields(path, form, true);
}

std::optional<IoError> SaveSettings(const std::string& path, const SlitScanParams& p) {
  const std::vector<std::string> fields = {FormatPlain(p.Axis),     FormatF(p.SlitWidth),
                                           FormatF(p.ScanCenter),   FormatF(p.ScanWidth),
                                           FormatPlain(p.Division), p.OutputFileName};
  return vesko::SaveSettings(path, fields);
}

}  // namespace vesko
