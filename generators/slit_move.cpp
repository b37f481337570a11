#include "generators/slit_move.h"

#include "core/format.h"
#include "core/settings_file.h"
#include "core/shown_text.h"
#include "generators/form_checks.h"

namespace vesko {

SlitOpening BladePositions(const SlitMoveParams& p) {
  return SlitOpeningOf(p.SlitWidthY, p.SlitWidthZ, p.SlitCenterY, p.SlitCenterZ);
}

Result<SlitMoveParams> Validate(const SlitMoveForm& form) {
  using R = Result<SlitMoveParams>;
  SlitMoveParams p;
  if (const Result<SlitSetting> slit = TakeSlitSetting(SlitTextsOf(form), true); !Taken(slit, p)) {
    return R::Refused(kSettingError, slit.field());
  }
  // The name is used whole; it only has to have something before its first dot.
  const std::optional<OutputName> name = TakeOutputFileName(form.outputFileName);
  if (!name) {
    return R::Refused(kSettingError, ControlOf(form, form.outputFileName));
  }
  p.OutputFileName = name->fileName;
  return p;
}

void BuildScript(const SlitMoveParams& p, LineSink& out) {
  const SlitOpening b = BladePositions(p);
  out.WriteLine("TclSrv_Optics:4DSlit {slit_y1 move " + FormatF(b.y1) + "}");
  out.WriteLine("TclSrv_Optics:4DSlit {slit_y2 move " + FormatF(b.y2) + "}");
  out.WriteLine("TclSrv_Optics:4DSlit {slit_z1 move " + FormatF(b.z1) + "}");
  out.WriteLine("TclSrv_Optics:4DSlit {slit_z2 move " + FormatF(b.z2) + "}");
}

std::string MoveReport(const SlitMoveParams& p) {
  const SlitOpening b = BladePositions(p);
  return "y1=" + FormatF(b.y1) + ",y2=" + FormatF(b.y2) + ",z1=" + FormatF(b.z1) + ",z2=" + FormatF(b.z2) +
         ",ファイルネーム=" + ShownText(p.OutputFileName) + "で作成しました。";
}

void LoadSettings(const std::string& path, SlitMoveForm& form) {
  ReadStoredFields(path, form, false);
}

std::optional<IoError> SaveSettings(const std::string& path, const SlitMoveParams& p) {
  return vesko::SaveSettings(path, {FormatF(p.SlitWidthY), FormatF(p.SlitWidthZ), FormatF(p.SlitCenterY),
                                    FormatF(p.SlitCenterZ), p.OutputFileName});
}

}  // namespace vesko
