#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/checked_script.h"
#include "core/result.h"
#include "generators/form_fields.h"

namespace vesko::cli {

using vesko::FieldOption;

/// One field option as given on the command line.
struct FieldValue {
  std::string option;
  std::string value;
};

/// A generator as the command line offers it.
struct GeneratorCommand {
  std::string name;
  std::string summary;
  /// The settings file (or files) the window loads, as the help names them.
  std::string settingsFile;
  std::vector<FieldOption> options;
  /// Opens the window afresh (its settings loaded from `settingsFolder`), types `values` into their
  /// boxes in order and validates: the prepared script, or the window's message.
  std::function<Result<CheckedScript>(const std::string& settingsFolder,
                                      const std::vector<FieldValue>& values)>
      press;
  /// Why `values` cannot go together once the window has loaded its settings from `settingsFolder` (a
  /// usage error); empty when they can. Left empty by generators whose options always go together.
  std::function<std::string(const std::string& settingsFolder, const std::vector<FieldValue>& values)>
      checkUsage;
};

/// Every generator the command line knows, in the order the help lists them.
const std::vector<GeneratorCommand>& GeneratorCommands();

}  // namespace vesko::cli
