#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/checked_script.h"
#include "app/file_create.h"
#include "generators/gonio_y_scan.h"
#include "generators/script_destination.h"

namespace vesko::test {

/// One script form of a generator with inputs that pass its checks, as its "File Create" runs it.
struct GeneratorSample {
  /// Command-line options and their values, typed into the form in this order: "option=value;option=value".
  using Typing = std::string;

  std::string name;
  /// The settings file's name in the settings folder.
  std::string settingsFile;
  /// What follows the result base in the name of each file the script opens; none: the script names
  /// no folder.
  std::vector<std::string> resultSuffixes;
  /// The checked file name box: the script's name in the output folder.
  std::string scriptFile;
  /// The checked script as "File Create" runs it, with `fileName` typed into the file name box unless it is
  /// empty, its settings file in `settingsFolder`.
  std::function<CheckedScript(const std::string& fileName, const std::string& settingsFolder)> check;
  /// Where the window's destination line says the form's script goes in `outputFolder`.
  std::function<ScriptDestination(const std::string& outputFolder)> destination;
  /// The message "File Create" refuses the form with once `typed` is typed into it; empty when it passes.
  std::function<std::string(const Typing& typed)> refusal;

  /// The script for `folder`, as text.
  std::string Script(const std::string& folder, const std::string& fileName = "") const;
  /// The job "File Create" runs for these folders.
  FileCreateJob Job(const std::string& outputFolder, const std::string& settingsFolder) const;
};

/// Every generator, each script form and settings layout once; a new generator is one row.
const std::vector<GeneratorSample>& GeneratorSamples();

/// The script `generator` writes for `form` in C:\data; a refusal fails the test and gives "".
std::string GonioYScriptOf(const GonioYScanForm& form, GonioYGenerator generator);

}  // namespace vesko::test
