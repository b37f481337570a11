#include "generators/form_checks.h"

#include "core/numbers.h"
#include "core/script_naming.h"
#include "generators/slit_blades.h"

namespace vesko {

bool TakeSingle(std::string_view text, float& target) {
  const std::optional<float> value = ToSingle(text);
  if (value) {
    target = *value;
  }
  return value.has_value();
}

bool TakeOutputFileName(std::string_view boxText, std::string& outputFileName, std::string& resultBase) {
  std::string name = OutputFileNameOf(boxText);
  std::optional<std::string> base = ResultBaseOf(name);
  if (name.empty() || !base) {
    return false;
  }
  outputFileName = std::move(name);
  resultBase = std::move(*base);
  return true;
}

std::optional<std::int16_t> TakeRepeatTimes(std::string_view text) {
  const std::optional<std::int16_t> times = ToInteger16(text);
  if (!times || *times <= 1) {
    return std::nullopt;
  }
  return times;
}

std::optional<int> CheckBoxValue(std::string_view field) {
  const std::optional<std::int16_t> value = ToInteger16(field);
  if (!value || *value < 0 || *value > 2) {
    return std::nullopt;
  }
  return *value;
}

std::optional<std::string> TakeSlitSetting(const SlitSettingTexts& texts, bool moveSlit, SlitSetting& out) {
  if (!TakeSingle(texts.widthY, out.widthY)) {
    return "SlitWidthY Error!";
  }
  if (!TakeSingle(texts.widthZ, out.widthZ)) {
    return "SlitWidthZ Error!";
  }
  // A pair is complete with its centre: only then can its blade targets be checked.
  if (!TakeSingle(texts.centerY, out.centerY) || (moveSlit && !SlitPairFits(out.widthY, out.centerY))) {
    return "SlitCenterY Error!";
  }
  if (!TakeSingle(texts.centerZ, out.centerZ) || (moveSlit && !SlitPairFits(out.widthZ, out.centerZ))) {
    return "SlitCenterZ Error!";
  }
  return std::nullopt;
}

}  // namespace vesko
