#include "generators/form_checks.h"

#include "core/numbers.h"
#include "core/script_naming.h"
#include "core/settings_file.h"
#include "generators/scan_positions.h"
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
  // A name, not a path: a separator would put the script in another folder than its results ("." and
  // ".." have nothing before their first dot). A double quote cannot be read back from a settings
  // field, and Windows forbids it in names.
  if (name.empty() || !base || name.find_first_of("/\\\"") != std::string::npos) {
    return false;
  }
  outputFileName = std::move(name);
  resultBase = std::move(*base);
  return true;
}

bool TakeRepeat(bool active, std::string_view timesText, bool& repeatActive, std::int16_t& repeatTimes) {
  if (active) {
    const std::optional<std::int16_t> times = ToInteger16(timesText);
    if (!times || *times <= 1) {
      return false;
    }
    repeatTimes = *times;
  }
  repeatActive = active;
  return true;
}

std::optional<int> CheckBoxValue(std::string_view field) {
  const std::optional<std::int16_t> value = ToInteger16(field);
  if (!value || *value < 0 || *value > 2) {
    return std::nullopt;
  }
  return *value;
}

std::optional<std::string> TakeScanRange(const ScanRangeTexts& texts, float& scanCenter, float& scanWidth,
                                         std::int16_t& division) {
  if (!TakeSingle(texts.center, scanCenter)) {
    return "Scan Center Error!";
  }
  if (!TakeSingle(texts.width, scanWidth)) {
    return "Scan Width Error!";
  }
  // The count is judged with the edges known: no point may overflow.
  const std::optional<std::int16_t> count = TakeScanDivision(texts.division, scanCenter, scanWidth);
  if (!count) {
    return "Scan Division Error!";
  }
  division = *count;
  return std::nullopt;
}

std::optional<std::string> TakeSlitSetting(const SlitSettingTexts& texts, bool moveSlit, float& widthY,
                                           float& widthZ, float& centerY, float& centerZ) {
  if (!TakeSingle(texts.widthY, widthY)) {
    return "SlitWidthY Error!";
  }
  if (!TakeSingle(texts.widthZ, widthZ)) {
    return "SlitWidthZ Error!";
  }
  // A pair is complete with its centre: only then can its blade targets be checked.
  if (!TakeSingle(texts.centerY, centerY) || (moveSlit && !SlitPairFits(widthY, centerY))) {
    return "SlitCenterY Error!";
  }
  if (!TakeSingle(texts.centerZ, centerZ) || (moveSlit && !SlitPairFits(widthZ, centerZ))) {
    return "SlitCenterZ Error!";
  }
  return std::nullopt;
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

void ReadBladePairSettings(const std::string& path, bool skipFailures, bool& axisY, bool& axisZ,
                           std::initializer_list<std::string*> boxes) {
  const std::vector<std::string> fields = LoadSettings(path, 1 + boxes.size());
  if (fields.empty()) {
    return;
  }
  if (const std::optional<std::int16_t> pair = ToInteger16(fields[0])) {
    axisZ = *pair != 0;
    axisY = !axisZ;
  } else if (skipFailures) {
    axisY = axisZ = false;
  } else {
    return;
  }
  FillBoxes(fields, 1, boxes);
}

}  // namespace vesko
