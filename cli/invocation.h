#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/generator_commands.h"

namespace vesko::cli {

/// What the command line asks for, once parsed.
struct Invocation {
  const GeneratorCommand* generator = nullptr;
  std::vector<FieldValue> values;
  std::optional<std::string> outputFolder;
  std::optional<std::string> settingsDir;
  bool toStdout = false;
  bool summary = false;
  bool json = false;
  bool ignoreLimits = false;
  bool help = false;
  bool version = false;
  /// Why the arguments cannot be used; empty when they can.
  std::string usageError;
};

/// Reads the arguments after the program name: "--name value" and "--name=value", a value taken as typed,
/// blanks and all.
Invocation Parse(const std::vector<std::string>& args);

}  // namespace vesko::cli
