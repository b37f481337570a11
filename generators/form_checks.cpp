#include "generators/form_checks.h"

#include "core/numbers.h"
#include "core/script_naming.h"
#include "core/settings_file.h"
#include "generators/scan_positions.h"
#include "generators/slit_blades.h"

namespace vesko {

std::optional<OutputName> TakeOutputFileName(std::string_view boxText) {
  std::string name = OutputFileNameOf(boxText);
  std::optional<std::string> base = ResultBaseOf(name);
  // A name, not a path: a separator would put the script in another folder than its results ("." and
  // ".." have nothing before their first dot). A double quote cannot be read back from a settings
  // field, and Windows forbids it in names.
  if (name.empty() || !base || name.find_first_of("/\\\"") != std::string::npos) {
    return std::nullopt;
  }
  return OutputName{std::move(name), std::move(*base)};
}

std::optional<RepeatSetting> TakeRepeat(bool active, std::string_view timesText) {
  if (!active) {
    return RepeatSetting{};
  }
  const std::optional<std::int16_t> times = ToInteger16(timesText);
  if (!times || *times <= 1) {
    return std::nullopt;
  }
  return RepeatSetting{true, *times};
}

std::optional<int> CheckBoxValue(std::string_view field) {
  const std::optional<std::int16_t> value = ToInteger16(field);
  if (!value || *value < 0 || *value > 2) {
    return std::nullopt;
  }
  return *value;
}

std::optional<int> StoredNumber(FieldKind kind, std::string_view line) {
  if (kind == FieldKind::Choice) {
    const std::optional<std::int16_t> number = ToInteger16(line);
    return number ? std::optional<int>(*number) : std::nullopt;
  }
  return CheckBoxValue(line);
}

Result<ScanRange> TakeScanRange(const ScanRangeTexts& texts) {
  using R = Result<ScanRange>;
  const std::optional<float> center = ToSingle(texts.center.text);
  if (!center) {
    return R::Refused("Scan Center Error!", texts.center.control);
  }
  const std::optional<float> width = ToSingle(texts.width.text);
  if (!width) {
    return R::Refused("Scan Width Error!", texts.width.control);
  }
  // The count is judged with the edges known: no point may overflow.
  const std::optional<std::int16_t> count = TakeScanDivision(texts.division.text, *center, *width);
  if (!count) {
    return R::Refused("Scan Division Error!", texts.division.control);
  }
  return ScanRange{*center, *width, *count};
}

Result<SlitSetting> TakeSlitSetting(const SlitSettingTexts& texts, bool moveSlit) {
  using R = Result<SlitSetting>;
  const std::optional<float> widthY = ToSingle(texts.widthY.text);
  if (!widthY) {
    return R::Refused("SlitWidthY Error!", texts.widthY.control);
  }
  const std::optional<float> widthZ = ToSingle(texts.widthZ.text);
  if (!widthZ) {
    return R::Refused("SlitWidthZ Error!", texts.widthZ.control);
  }
  // A pair is complete with its centre: only then can its blade targets be checked.
  const std::optional<float> centerY = ToSingle(texts.centerY.text);
  if (!centerY || (moveSlit && !SlitPairFits(*widthY, *centerY))) {
    return R::Refused("SlitCenterY Error!", texts.centerY.control);
  }
  const std::optional<float> centerZ = ToSingle(texts.centerZ.text);
  if (!centerZ || (moveSlit && !SlitPairFits(*widthZ, *centerZ))) {
    return R::Refused("SlitCenterZ Error!", texts.centerZ.control);
  }
  return SlitSetting{*widthY, *widthZ, *centerY, *centerZ};
}

void FillBoxes(const std::vector<std::string>& fields, std::size_t first,
               std::initializer_list<std::string*> boxes) {
  std::size_t k = first;
  for (std::string* const box : boxes) {
    if (k >= fields.size()) {
      return;
    }
    *box = fields[k++];
  }
}

}  // namespace vesko
