#include "generators/lens_scan.h"

#include <cstddef>
#include <vector>

#include "core/format.h"
#include "core/numbers.h"
#include "core/script_naming.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "generators/form_checks.h"
#include "generators/scan_positions.h"

namespace vesko {
namespace {

constexpr std::size_t kSettingsFieldCount = 5;

// The four lines of one measured point: move, count channel A, take the count, result row.
void WritePoint(const std::string& movePrefix, float position, LineSink& out) {
  const std::string p = FormatF(position);
  out.WriteLine(movePrefix + p + "}");
  out.WriteLine(tcl::kMeasureWithTimer);
  out.WriteLine(tcl::kTakeCounterA);
  out.WriteLine(tcl::PutsLine("fp", p + ", $cnt"));
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
    return R::Refused(kSettingError);
  }
  p.Axis = static_cast<std::int16_t>(axis);

  if (!TakeSingle(form.scanCenter, p.ScanCenter)) {
    return R::Refused(kSettingError);
  }

  if (!TakeSingle(form.scanWidth, p.ScanWidth)) {
    return R::Refused(kSettingError);
  }

  const std::optional<std::int16_t> division = TakeScanDivision(form.division, p.ScanCenter, p.ScanWidth);
  if (!division) {
    return R::Refused(kSettingError);
  }
  p.Division = *division;

  if (!TakeOutputFileName(form.outputFileName, p.OutputFileName, p.ResultBase)) {
    return R::Refused(kSettingError);
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
  for (int i = positions.LastIndex(); i >= 0; --i) {
    WritePoint(movePrefix, positions.At(i), out);
  }
  WritePoint(movePrefix, p.ScanCenter, out);
  out.WriteLine(tcl::CloseLine("fp"));
  out.WriteLine(tcl::kShutterClose);
}

void LoadSettings(const std::string& path, LensScanForm& form) {
  const std::vector<std::string> fields = vesko::LoadSettings(path, kSettingsFieldCount);
  if (fields.empty()) {
    return;
  }
  const std::optional<std::int16_t> axis = ToInteger16(fields[0]);
  if (!axis) {
    return;
  }
  if (*axis >= 0 && static_cast<std::size_t>(*axis) < form.axis.size()) {
    form.axis = {};
    form.axis[static_cast<std::size_t>(*axis)] = true;
  }
  std::string* const boxes[] = {&form.scanCenter, &form.scanWidth, &form.division, &form.outputFileName};
  for (std::size_t k = 1; k < fields.size(); ++k) {
    *boxes[k - 1] = fields[k];
  }
}

std::optional<IoError> SaveSettings(const std::string& path, const LensScanParams& p) {
  return vesko::SaveSettings(path, {FormatPlain(p.Axis), FormatF(p.ScanCenter), FormatF(p.ScanWidth),
                                    FormatPlain(p.Division), p.OutputFileName});
}

}  // namespace vesko
