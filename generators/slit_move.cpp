#include "generators/slit_move.h"

#include "core/format.h"
#include "core/numbers.h"
#include "core/script_naming.h"
#include "core/settings_file.h"

namespace vesko {
namespace {

constexpr const char* kSettingError = "Setting Error!";

// Blade 1 sits at half the width beyond the centre, blade 2 at half the width on the other side.
float Blade1(float width, float center) {
  return static_cast<float>(static_cast<double>(width) / 2 + center);
}
float Blade2(float width, float center) {
  return static_cast<float>(static_cast<double>(width) / 2 - center);
}

}  // namespace

SlitMovePositions BladePositions(const SlitMoveParams& p) {
  return {Blade1(p.SlitWidthY, p.SlitCenterY), Blade2(p.SlitWidthY, p.SlitCenterY),
          Blade1(p.SlitWidthZ, p.SlitCenterZ), Blade2(p.SlitWidthZ, p.SlitCenterZ)};
}

Result<SlitMoveParams> Validate(const SlitMoveForm& form) {
  using R = Result<SlitMoveParams>;
  SlitMoveParams p;
  const struct {
    const std::string& text;
    float& target;
  } numbers[] = {{form.slitWidthY, p.SlitWidthY},
                 {form.slitWidthZ, p.SlitWidthZ},
                 {form.slitCenterY, p.SlitCenterY},
                 {form.slitCenterZ, p.SlitCenterZ}};
  for (const auto& n : numbers) {
    const auto value = ToSingle(n.text);
    if (!value) {
      return R::Refused(kSettingError);
    }
    n.target = *value;
  }
  p.OutputFileName = OutputFileNameOf(form.outputFileName);
  // The name is used whole; it only has to have something before its first dot.
  if (p.OutputFileName.empty() || !ResultBaseOf(p.OutputFileName)) {
    return R::Refused(kSettingError);
  }
  return p;
}

void BuildScript(const SlitMoveParams& p, LineSink& out) {
  const SlitMovePositions b = BladePositions(p);
  out.WriteLine("TclSrv_Optics:4DSlit {slit_y1 move " + FormatF(b.y1) + "}");
  out.WriteLine("TclSrv_Optics:4DSlit {slit_y2 move " + FormatF(b.y2) + "}");
  out.WriteLine("TclSrv_Optics:4DSlit {slit_z1 move " + FormatF(b.z1) + "}");
  out.WriteLine("TclSrv_Optics:4DSlit {slit_z2 move " + FormatF(b.z2) + "}");
}

std::string MoveReport(const SlitMoveParams& p) {
  const SlitMovePositions b = BladePositions(p);
  return "y1=" + FormatF(b.y1) + ",y2=" + FormatF(b.y2) + ",z1=" + FormatF(b.z1) + ",z2=" + FormatF(b.z2) +
         ",ファイルネーム=" + p.OutputFileName + "で作成しました。";
}

void LoadSettings(const std::string& path, SlitMoveForm& form) {
  const std::vector<std::string> fields = vesko::LoadSettings(path, 5);
  std::string* texts[] = {&form.slitWidthY, &form.slitWidthZ, &form.slitCenterY, &form.slitCenterZ,
                          &form.outputFileName};
  for (std::size_t k = 0; k < fields.size(); ++k) {
    *texts[k] = fields[k];
  }
}

std::optional<IoError> SaveSettings(const std::string& path, const SlitMoveParams& p) {
  return vesko::SaveSettings(path, {FormatF(p.SlitWidthY), FormatF(p.SlitWidthZ), FormatF(p.SlitCenterY),
                                    FormatF(p.SlitCenterZ), p.OutputFileName});
}

}  // namespace vesko
