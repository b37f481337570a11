#include "cli/generator_commands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "core/platform.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko::cli {
namespace {

// Types each given value into its field, in the order given.
template <typename Form>
void TypeValues(const std::vector<FieldValue>& values, Form& form) {
  for (const FieldValue& value : values) {
    for (const FormField<Form>& field : DescriptionOf<Form>().fields) {
      if (!field.option.name.empty() && field.option.name == value.option) {
        field.Type(form, value.value);
      }
    }
  }
}

// The command's name, help and options as the window's description has them; `press` is left to the caller.
template <typename Form>
GeneratorCommand Describe() {
  const FormDescription<Form>& d = DescriptionOf<Form>();
  GeneratorCommand command;
  command.name = d.command;
  command.summary = d.summary;
  for (const std::string& file : d.settingsFiles) {
    command.settingsFile += (command.settingsFile.empty() ? "" : " and ") + file;
  }
  if (d.twoPanels) {
    command.options.push_back({"panel", "y|z", {"y", "z"}, d.panelHelp, true});
  }
  for (const FormField<Form>& field : d.fields) {
    if (!field.option.name.empty()) {
      command.options.push_back(field.option);
    }
  }
  return command;
}

// The command of a window with one settings file.
template <typename Form>
GeneratorCommand MakeCommand() {
  GeneratorCommand command = Describe<Form>();
  command.press = [](const std::string& settingsFolder, const std::vector<FieldValue>& values) {
    Form form;  // the texts of a freshly opened window
    LoadSettings(JoinPath(settingsFolder, DescriptionOf<Form>().settingsFiles[0]), form);
    TypeValues(values, form);
    return CheckScript(form, settingsFolder);
  };
  return command;
}

// The panel option's value as the panel number: y is element 0, z element 1.
std::size_t PanelOf(const std::string& value) {
  return value == "z" ? 1 : 0;
}

// The command of a window with a y and a z panel, each with its own settings file.
template <typename Form>
GeneratorCommand MakePanelCommand() {
  GeneratorCommand command = Describe<Form>();
  command.press = [](const std::string& settingsFolder, const std::vector<FieldValue>& values) {
    // A fresh window loads both panels (the z panel only after the whole y file); the options then
    // type into the chosen panel.
    std::array<Form, 2> panels;
    panels[1].panel = 1;
    LoadPanelSettings(settingsFolder, panels[0], panels[1]);
    Form form = panels[0];
    for (const FieldValue& value : values) {
      if (value.option == "panel") {
        form = panels[PanelOf(value.value)];
      }
    }
    TypeValues(values, form);
    return CheckScript(form, settingsFolder);
  };
  return command;
}

bool IsGiven(const std::vector<FieldValue>& values, const std::string& option) {
  for (const FieldValue& value : values) {
    if (value.option == option) {
      return true;
    }
  }
  return false;
}

// The window as the options leave it: its settings loaded (a box value from the file applies the omega
// rule), then each option typed in.
GonioYScanForm GonioYFormOf(const std::string& settingsFolder, const std::vector<FieldValue>& values) {
  GonioYScanForm form;
  LoadSettings(JoinPath(settingsFolder, kGonioYScanSettingsFile), form);
  TypeValues(values, form);
  return form;
}

// The GonioY window writes the script of the button the omega boxes show.
GeneratorCommand GonioYScanCommand() {
  GeneratorCommand command = Describe<GonioYScanForm>();
  command.checkUsage = [](const std::string& settingsFolder,
                          const std::vector<FieldValue>& values) -> std::string {
    // A ticked omega box disables the repeat controls: there is nothing for --repeat to tick.
    if (IsGiven(values, "repeat") &&
        OmegaRuleFor(GonioYFormOf(settingsFolder, values).useOmega).generator == GonioYGenerator::B) {
      return "option '--repeat' cannot be used while an omega box is ticked";
    }
    return {};
  };
  command.press = [](const std::string& settingsFolder, const std::vector<FieldValue>& values) {
    const GonioYScanForm form = GonioYFormOf(settingsFolder, values);
    return CheckScript(form, OmegaRuleFor(form.useOmega).generator, settingsFolder);
  };
  return command;
}

}  // namespace

const std::vector<GeneratorCommand>& GeneratorCommands() {
  static const std::vector<GeneratorCommand> commands = {MakeCommand<SlitScanForm>(),
                                                         MakeCommand<SlitDecScanForm>(),
                                                         MakeCommand<SlitMoveForm>(),
                                                         MakePanelCommand<CollScanForm>(),
                                                         MakeCommand<LensScanForm>(),
                                                         GonioYScanCommand(),
                                                         MakePanelCommand<GonioStageScan2Form>()};
  return commands;
}

}  // namespace vesko::cli
