#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "core/settings_file.h"
#include "generators/form_fields.h"

namespace vesko {

// Checks shared by the generator windows: each takes one field's text as typed. Then the readers of
// the settings-file fields that several windows share.

inline constexpr const char* kSettingError = "Setting Error!";
inline constexpr const char* kRepeatTimesError = "Repeat Times Error";

/// The script's name and the base of its result files.
struct OutputName {
  std::string fileName;    // the file name box trimmed
  std::string resultBase;  // its part before the first "."
};

/// The checked name of the file name box; empty when the name is empty, nothing stands before its first
/// dot, or it holds "/", "\\" or a double quote.
std::optional<OutputName> TakeOutputFileName(std::string_view boxText);

/// The repeat settings of a scan: ticked or not and, when ticked, the pass count.
struct RepeatSetting {
  bool active = false;
  std::int16_t times = 0;
};

/// The repeat settings; empty when ticked and the count is not numeric, beyond 16 bits or not above 1.
std::optional<RepeatSetting> TakeRepeat(bool active, std::string_view timesText);

/// A check box value stored in a settings file: 0 unticked, 1 ticked, 2 grey; empty for anything else.
std::optional<int> CheckBoxValue(std::string_view field);

/// A field's text as typed and the object name of the control that shows it.
struct TypedText {
  std::string_view text;
  std::string control;
};

/// The text `box` of `form` with its control.
template <typename Form>
TypedText Typed(const Form& form, const std::string& box) {
  return {box, ControlOf(form, box)};
}

/// The three fields of an evenly spaced scan, as typed.
struct ScanRangeTexts {
  TypedText center, width, division;
};

/// The scan fields of `form`.
template <typename Form>
ScanRangeTexts ScanTextsOf(const Form& form) {
  return {Typed(form, form.scanCenter), Typed(form, form.scanWidth), Typed(form, form.division)};
}

/// An evenly spaced scan, checked and converted.
struct ScanRange {
  float center = 0;
  float width = 0;
  std::int16_t division = 0;
};

/// Takes ScanCenter, ScanWidth and then Division (as TakeScanDivision takes it), or the message of the
/// first that fails ("Scan Center Error!", "Scan Width Error!", "Scan Division Error!") with its control.
Result<ScanRange> TakeScanRange(const ScanRangeTexts& texts);

/// The slit fields of a panel that may set the 4D slit before its scan, as typed.
struct SlitSettingTexts {
  TypedText widthY, widthZ, centerY, centerZ;
};

/// The slit fields of `form`.
template <typename Form>
SlitSettingTexts SlitTextsOf(const Form& form) {
  return {Typed(form, form.slitWidthY), Typed(form, form.slitWidthZ), Typed(form, form.slitCenterY),
          Typed(form, form.slitCenterZ)};
}

/// The 4D slit opening a panel may set before its scan.
struct SlitSetting {
  float widthY = 0, widthZ = 0, centerY = 0, centerZ = 0;
};

/// Takes the four slit fields in their check order, or the message of the first that fails
/// ("SlitWidthY Error!" ... "SlitCenterZ Error!") with its control. The fields must be numbers even when the
/// slit is not set; a slit that is set must also give finite blade targets.
Result<SlitSetting> TakeSlitSetting(const SlitSettingTexts& texts, bool moveSlit);

/// Puts checked fields into the parameter record `p` under their record names.
template <typename Params>
void Put(const ScanRange& range, Params& p) {
  p.ScanCenter = range.center;
  p.ScanWidth = range.width;
  p.Division = range.division;
}
template <typename Params>
void Put(const SlitSetting& slit, Params& p) {
  p.SlitWidthY = slit.widthY;
  p.SlitWidthZ = slit.widthZ;
  p.SlitCenterY = slit.centerY;
  p.SlitCenterZ = slit.centerZ;
}
template <typename Params>
void Put(const OutputName& name, Params& p) {
  p.OutputFileName = name.fileName;
  p.ResultBase = name.resultBase;
}
template <typename Params>
void Put(const RepeatSetting& repeat, Params& p) {
  p.RepeatActive = repeat.active;
  p.RepeatTimes = repeat.times;
}

/// Puts the value of a check into `p` (Put); false when the check refused it.
template <typename Checked, typename Params>
bool Taken(const Checked& checked, Params& p) {
  if (checked) {
    Put(*checked, p);
  }
  return static_cast<bool>(checked);
}

/// Puts the settings fields from index `first` on into `boxes`, in order, as far as fields were read.
void FillBoxes(const std::vector<std::string>& fields, std::size_t first,
               std::initializer_list<std::string*> boxes);

/// A choice's number (any 16-bit number) or a box value stored in a settings file; empty for anything else.
std::optional<int> StoredNumber(FieldKind kind, std::string_view line);

/// Reads the settings file at `path` into the stored fields of `form`, line by line: a text as it stands, a
/// choice's number, a box value. A number or box value that cannot be taken ends the reading; with
/// `skipFailures` it is passed over instead (a choice then chooses none). True when every line was read and
/// taken.
template <typename Form>
bool ReadStoredFields(const std::string& path, Form& form, bool skipFailures) {
  std::vector<const FormField<Form>*> byLine;
  for (const FormField<Form>& f : DescriptionOf<Form>().fields) {
    if (f.settingsLine >= 0) {
      byLine.resize(std::max(byLine.size(), static_cast<std::size_t>(f.settingsLine) + 1));
      byLine[static_cast<std::size_t>(f.settingsLine)] = &f;
    }
  }
  const std::vector<std::string> lines = LoadSettings(path, byLine.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const FormField<Form>* f = byLine[k];
    if (f == nullptr) {
      continue;
    }
    if (f->kind == FieldKind::Text) {
      f->setText(form, lines[k]);
      continue;
    }
    const std::optional<int> value = StoredNumber(f->kind, lines[k]);
    if (value) {
      f->kind == FieldKind::Choice ? f->setStored(form, *value) : f->setState(form, *value);
    } else if (!skipFailures) {
      return false;
    } else if (f->kind == FieldKind::Choice) {
      f->setState(form, -1);
    }
  }
  return lines.size() == byLine.size();
}

}  // namespace vesko
