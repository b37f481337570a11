#include "generators/lens_scan.h"

#include <cstddef>
#include <vector>

#include "core/format.h"
#include "core/numbers.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "generators/form_checks.h"
#include "generators/scan_positions.h"

namespace vesko {
namespace {

// The four lines of one measured point: move, count channel A, take the count, result row; one write.
void WritePoint(const std::string& movePrefix, float position, LineBlock& block, LineSink& out) {
  const NumberText target = NumberText::F(position);
  block.Add(movePrefix).Add(target).Add("}").EndLine();
  block.Line(tcl::kMeasureWithTimer);
  block.Line(tcl::kTakeCounterA);
  tcl::BeginPuts(block, "fp").Add(target).Add(", $cnt");
  tcl::EndPuts(block);
  block.WriteTo(out);
}

}  // namespace

Result<LensScanParams> Validate(const LensScanForm& form) {
  using R = Result<LensScanParams>;
  LensScanParams p;
  std::size_t axis = 0;
  while (axis < form.axis.size() && !form.axis[axis]) {
    ++axis;
  }
  if (axis == form.axis.size()) {
    return R::Refused(kSettingError, FirstOptionOf(form));
  }
  p.Axis = static_cast<std::int16_t>(axis);

  if (const Result<ScanRange> range = TakeScanRange(ScanTextsOf(form)); !Taken(range, p)) {
    return R::Refused(kSettingError, range.field());
  }

  if (!Taken(TakeOutputFileName(form.outputFileName), p)) {
    return R::Refused(kSettingError, ControlOf(form, form.outputFileName));
  }
  return p;
}

void BuildScript(const LensScanParams& p, const std::string& outputFolder, LineSink& out) {
  const std::string name = kLensAxisNames.at(static_cast<std::size_t>(p.Axis));
  const std::string movePrefix = "TclSrv_Optics:Lens {" + name + " move ";

  out.WriteLine(tcl::kSetExptime);
  out.WriteLine(tcl::kConfigureTimer);
  out.WriteLine(tcl::OpenLine("fp", outputFolder, p.ResultBase, ""));
  out.WriteLine(tcl::kBeamStopIn);
  out.WriteLine(tcl::kShutterOpen);
  out.WriteLine(tcl::PutsLine("fp", name + ", Io"));
  // Every lens axis is scanned from the high edge down, then measured once more at the centre.
  const ScanPositions positions(p.ScanCenter, p.ScanWidth, p.Division);
  LineBlock block;  // reused from point to point
  for (int i = positions.LastIndex(); i >= 0; --i) {
    WritePoint(movePrefix, positions.At(i), block, out);
  }
  WritePoint(movePrefix, p.ScanCenter, block, out);
  out.WriteLine(tcl::CloseLine("fp"));
  out.WriteLine(tcl::kShutterClose);
}

void LoadSettings(const std::string& path, LensScanForm& form) {
  ReadStoredFields(path, form, false);
}

void LoadCombinedSettings(const std::string& path, LensScanForm& form) {
  ReadStoredFields(path, form, true);
}

std::optional<IoError> SaveSettings(const std::string& path, const LensScanParams& p) {
  return vesko::SaveSettings(path, {FormatPlain(p.Axis), FormatF(p.ScanCenter), FormatF(p.ScanWidth),
                                    FormatPlain(p.Division), p.OutputFileName});
}

}  // namespace vesko
