#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/file_create.h"
#include "core/line_sink.h"
#include "core/safe_file.h"
#include "generators/gonio_y_scan.h"

namespace vesko::test {

/// One script form of a generator with inputs that pass its checks, as its "File Create" runs it.
struct GeneratorSample {
  std::string name;
  /// The settings file's name in the settings folder.
  std::string settingsFile;
  /// What follows the result base in the name of each file the script opens; none: the script names
  /// no folder.
  std::vector<std::string> resultSuffixes;
  /// The checked file name box: the script's name in the output folder.
  std::string scriptFile;
  /// Writes the script for `folder`, with `fileName` typed into the file name box unless it is empty.
  std::function<void(const std::string& folder, const std::string& fileName, LineSink& out)> write;
  /// Stores the inputs in the settings file at `path`.
  std::function<std::optional<IoError>(const std::string& path)> save;

  /// The script `write` makes, as text.
  std::string Script(const std::string& folder, const std::string& fileName = "") const;
  /// The job "File Create" runs for these folders.
  FileCreateJob Job(const std::string& outputFolder, const std::string& settingsFolder) const;
};

/// Every generator, each script form and settings layout once; a new generator is one row.
const std::vector<GeneratorSample>& GeneratorSamples();

/// The script `generator` writes for `form` in C:\data; a refusal fails the test and gives "".
std::string GonioYScriptOf(const GonioYScanForm& form, GonioYGenerator generator);

}  // namespace vesko::test
