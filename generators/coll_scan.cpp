#include "generators/coll_scan.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/format.h"
#include "core/platform.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "generators/form_checks.h"
#include "generators/scan_positions.h"
#include "generators/two_counter.h"

namespace vesko {
namespace {

// The collimator window's own layout, and the combined window's one with the slit fields in front.
constexpr std::size_t kShortLayoutFields = 4;
constexpr std::size_t kLongLayoutFields = 9;

// The stored check box value of this window: 0 unticked, 1 ticked; anything else is refused by the box.
std::optional<bool> TickedValue(const std::string& field) {
  const std::optional<int> value = CheckBoxValue(field);
  if (!value || *value == 2) {
    return std::nullopt;
  }
  return *value == 1;
}

// Reads one panel's file in either layout; true when a whole layout was read. More than four fields
// can only be the nine-line layout, whole or cut short. With `skipFailures` a field that cannot be
// taken is passed over, otherwise it ends the reading.
bool ReadPanelFile(const std::string& path, CollScanForm& form, bool skipFailures) {
  const std::vector<std::string> fields = vesko::LoadSettings(path, kLongLayoutFields);
  if (fields.size() <= kShortLayoutFields) {
    FillTextFields(fields, form);
    return fields.size() == kShortLayoutFields;
  }
  const std::optional<bool> ticked = TickedValue(fields[0]);
  if (ticked) {
    form.move4DSlit = *ticked;
  } else if (!skipFailures) {
    return false;
  }
  FillBoxes(fields, 1,
            {&form.slitWidthY, &form.slitWidthZ, &form.slitCenterY, &form.slitCenterZ, &form.scanCenter,
             &form.scanWidth, &form.division, &form.outputFileName});
  return fields.size() == kLongLayoutFields;
}

// One measured point, in one write.
void WritePoint(std::string_view movePrefix, float position, LineBlock& block, LineSink& out) {
  AddTwoCounterPoint(block, movePrefix, NumberText::F(position), "fp");
  block.WriteTo(out);
}

}  // namespace

const char* CollScanSettingsFile(std::int16_t panel) {
  return panel == 0 ? kCollScanSettingsFileY : kCollScanSettingsFileZ;
}

Result<CollScanParams> Validate(const CollScanForm& form) {
  using R = Result<CollScanParams>;
  CollScanParams p;
  p.Panel = form.panel == 0 ? 0 : 1;

  if (const Result<ScanRange> range = TakeScanRange(ScanTextsOf(form)); !Taken(range, p)) {
    return R::Refused(kSettingError, range.field());
  }

  p.Move4DSlit = form.move4DSlit;
  if (const Result<SlitSetting> slit = TakeSlitSetting(SlitTextsOf(form), p.Move4DSlit); !Taken(slit, p)) {
    return R::Refused(slit.message(), slit.field());
  }

  if (!Taken(TakeOutputFileName(form.outputFileName), p)) {
    return R::Refused(kSettingError, ControlOf(form, form.outputFileName));
  }
  return p;
}

void BuildScript(const CollScanParams& p, const std::string& outputFolder, LineSink& out) {
  std::optional<SlitOpening> preset;
  if (p.Move4DSlit) {
    preset = SlitOpeningOf(p.SlitWidthY, p.SlitWidthZ, p.SlitCenterY, p.SlitCenterZ);
  }
  WriteTwoCounterHead({tcl::OpenLine("fp", outputFolder, p.ResultBase, "")}, preset, out);

  const bool zAxis = p.Panel != 0;
  out.WriteLine(tcl::PutsLine("fp", zAxis ? "col_z, Io, I, I/Io" : "col_y, Io, I, I/Io"));
  const std::string_view movePrefix =
      zAxis ? "TclSrv_Optics:Collimator {col_z move " : "TclSrv_Optics:Collimator {col_y move ";
  const ScanPositions positions(p.ScanCenter, p.ScanWidth, p.Division);
  const int lastIndex = positions.LastIndex();
  LineBlock block;  // reused from point to point
  // col_y travels from the high edge down, col_z from the low edge up.
  if (zAxis) {
    for (int i = 0; i <= lastIndex; ++i) {
      WritePoint(movePrefix, positions.At(i), block, out);
    }
  } else {
    for (int i = lastIndex; i >= 0; --i) {
      WritePoint(movePrefix, positions.At(i), block, out);
    }
  }
  WritePoint(movePrefix, p.ScanCenter, block, out);

  out.WriteLine(tcl::CloseLine("fp"));
  WriteTwoCounterTail(out);
}

void LoadSettings(const std::string& path, CollScanForm& form) {
  ReadPanelFile(path, form, false);
}

void LoadPanelSettings(const std::string& settingsFolder, CollScanForm& panel0, CollScanForm& panel1) {
  if (ReadPanelFile(JoinPath(settingsFolder, kCollScanSettingsFileY), panel0, false)) {
    ReadPanelFile(JoinPath(settingsFolder, kCollScanSettingsFileZ), panel1, false);
  }
}

void LoadCombinedSettings(const std::string& path, CollScanForm& form) {
  ReadPanelFile(path, form, true);
}

std::optional<IoError> SaveSettings(const std::string& path, const CollScanParams& p) {
  return vesko::SaveSettings(
      path, {FormatF(p.ScanCenter), FormatF(p.ScanWidth), FormatPlain(p.Division), p.OutputFileName});
}

std::optional<IoError> SaveCombinedSettings(const std::string& path, const CollScanParams& p) {
  return vesko::SaveSettings(
      path, {FormatPlain(p.Move4DSlit ? 1 : 0), FormatF(p.SlitWidthY), FormatF(p.SlitWidthZ),
             FormatF(p.SlitCenterY), FormatF(p.SlitCenterZ), FormatF(p.ScanCenter), FormatF(p.ScanWidth),
             FormatPlain(p.Division), p.OutputFileName});
}

}  // namespace vesko
