#pragma once

#include <optional>

#include "app/app_settings.h"
#include "app/checked_script.h"
#include "generators/form_fields.h"
#include "generators/script_destination.h"
#include "ui/form_controls.h"

namespace vesko {

/// A generator panel on `Base` whose controls show the fields of `Form`'s description: it reads, shows and
/// loads them, and checks the typed texts for both buttons. A panel of a two-panel window is element
/// `panel()` of the control arrays and reads and loads its own panel.
template <typename Form, typename Base>
class FormPanel : public Base {
 public:
  using Base::Base;

  /// The texts and states of the controls, as typed.
  Form readForm() const {
    Form form;
    if constexpr (kTwoPanels) {
      form.panel = this->panel();
    }
    return ReadFields(this, form, element());
  }
  /// Puts `form` into the controls (a host's settings load).
  void showForm(const Form& form) { ShowFields(this, form, element()); }
  /// Fills the controls from the settings file as far as it can be read; the rest keep their texts.
  void loadSettings() {
    Form form = readForm();
    LoadSettings(this->settingsPath(DescriptionOf<Form>().settingsFiles[0].c_str()), form);
    showForm(form);
  }

 protected:
  ScriptDestination destination() const override { return DestinationOf(readForm(), OutputFolder()); }
  std::optional<CheckedScript> checkedScript() override {
    return this->shown(CheckScript(readForm(), this->settingsFolder()));
  }

 private:
  static constexpr bool kTwoPanels = requires(Form f) { f.panel; };
  int element() const {
    if constexpr (kTwoPanels) {
      return this->panel();
    }
    return -1;
  }
};

}  // namespace vesko
