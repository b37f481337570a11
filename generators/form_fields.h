#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"

namespace vesko {

// One description per generator window: each field with its control, its place in the settings file and
// the command-line option that types into it. The windows, the command line and the settings readers
// walk it instead of listing the fields again.

/// What kind of control holds a field.
enum class FieldKind {
  Text,      // a text box
  Tick,      // a check box, ticked or not
  BoxValue,  // a check box that can also show grey (0, 1, 2), as the settings file holds it
  Choice,    // a group of option buttons "<control>_<k>", one chosen or none
};

/// How a field is stored in the settings file.
enum class StoredAs {
  None,     // not stored
  Text,     // the text as typed
  Number,   // F(value)
  Integer,  // the number as it is
  Index,    // the number of the chosen option
  Box,      // the check box value 0, 1 or 2
};

/// A command-line option `--name VALUE` that types into one field.
struct FieldOption {
  std::string name;       // without the leading "--"; empty when the field has no option
  std::string valueName;  // shown in the help: "TEXT", "y|z"
  /// The only values accepted (a choice's k-th value chooses option k); empty when any text is taken.
  std::vector<std::string> choices;
  std::string help;
  /// True when the command cannot run without it (it picks what the window cannot default).
  bool required = false;
};

/// One field of a generator window.
template <typename Form>
struct FormField {
  FieldKind kind = FieldKind::Text;
  /// The control's object name; in a two-panel window the control array's ("_<panel>" follows).
  std::string control;
  /// For a choice: how many option buttons the group has.
  int choiceCount = 0;
  /// A text box's text.
  std::function<const std::string&(const Form&)> text;
  std::function<void(Form&, const std::string&)> setText;
  /// Any other control's state: 0 or 1 ticked; 0, 1 or 2 for a box value; the chosen option or -1.
  std::function<int(const Form&)> state;
  std::function<void(Form&, int)> setState;
  /// The line of the settings file (from 0) and how it is stored there; -1 when not stored.
  int settingsLine = -1;
  StoredAs storedAs = StoredAs::None;
  FieldOption option;
  /// A stored choice: takes the number read from the settings file.
  std::function<void(Form&, int)> setStored;
  /// What the option does besides typing its value (the repeat count also ticks "Active").
  std::function<void(Form&)> alsoOnOption;

  /// Types the option value `value` (one of the choices when there are any) into `form`.
  void Type(Form& form, const std::string& value) const {
    if (kind == FieldKind::Text) {
      setText(form, value);
    } else if (kind == FieldKind::Choice) {
      int k = 0;
      while (static_cast<std::size_t>(k) < option.choices.size() && option.choices[k] != value) {
        ++k;
      }
      setState(form, k);
    } else {
      setState(form, value == "1" ? 1 : 0);
    }
    if (alsoOnOption) {
      alsoOnOption(form);
    }
  }
};

/// A generator window as the other layers see it.
template <typename Form>
struct FormDescription {
  std::string command;  // the command-line name
  std::string summary;  // one line for the help
  /// The settings files: one, or one per panel of a two-panel window (y then z).
  std::vector<std::string> settingsFiles;
  /// Two panels whose controls are arrays ("<control>_0", "_1"); the command line picks one with --panel.
  bool twoPanels = false;
  std::string panelHelp;
  std::vector<FormField<Form>> fields;

  /// The field whose control is `control` (without a panel's suffix); null when there is none.
  const FormField<Form>* Find(const std::string& control) const {
    for (const FormField<Form>& f : fields) {
      if (f.control == control) {
        return &f;
      }
    }
    return nullptr;
  }
};

/// The description of the window whose texts `Form` holds (one for each generator's form).
template <typename Form>
const FormDescription<Form>& DescriptionOf();

/// The object name of the control that shows `box`, one of the texts of `form`; in a two-panel window the
/// element of the form's panel. Empty when no field shows it.
template <typename Form>
std::string ControlOf(const Form& form, const std::string& box) {
  const FormDescription<Form>& d = DescriptionOf<Form>();
  for (const FormField<Form>& f : d.fields) {
    if (f.kind == FieldKind::Text && &f.text(form) == &box) {
      if constexpr (requires { form.panel; }) {
        if (d.twoPanels) {
          return f.control + (form.panel == 0 ? "_0" : "_1");
        }
      }
      return f.control;
    }
  }
  return {};
}

/// The object name of the first option button of the window's choice: where the operator picks one.
template <typename Form>
std::string FirstOptionOf(const Form&) {
  for (const FormField<Form>& f : DescriptionOf<Form>().fields) {
    if (f.kind == FieldKind::Choice) {
      return f.control + "_0";
    }
  }
  return {};
}

/// What a generator provides for its window's texts: the check, the script, the settings file.
template <typename Form>
concept Generator = requires(const Form& form, Form& loaded, const std::string& text, LineSink& out) {
  { DescriptionOf<Form>() } -> std::same_as<const FormDescription<Form>&>;
  { Validate(form).ok() } -> std::same_as<bool>;
  { Validate(form).field() } -> std::same_as<const std::string&>;
  LoadSettings(text, loaded);
  { SaveSettings(text, Validate(form).value()) } -> std::same_as<std::optional<IoError>>;
};

/// A generator whose script names result files in an output folder.
template <typename Form>
concept FolderScriptGenerator = Generator<Form> &&
    requires(const Form& form, const std::string& folder, LineSink& out) {
  BuildScript(Validate(form).value(), folder, out);
};

/// Puts the settings-file lines read (`lines`, as far as they were read) into the text fields that
/// store them as typed or as numbers.
template <typename Form>
void FillTextFields(const std::vector<std::string>& lines, Form& form) {
  for (const FormField<Form>& f : DescriptionOf<Form>().fields) {
    if (f.kind == FieldKind::Text && f.settingsLine >= 0 &&
        static_cast<std::size_t>(f.settingsLine) < lines.size()) {
      f.setText(form, lines[static_cast<std::size_t>(f.settingsLine)]);
    }
  }
}

}  // namespace vesko
