#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/file_create.h"
#include "core/line_sink.h"

namespace vesko::test {

/// One generator as its "File Create" runs it: checked inputs, its script and its settings file.
struct GeneratorJob {
  std::string name;
  /// The script's file name in the output folder.
  std::string scriptFile;
  /// The settings file's name in the settings folder.
  std::string settingsFile;
  /// Writes the script for `outputFolder` into `out`.
  std::function<void(const std::string& outputFolder, LineSink& out)> writeScript;
  /// Stores the inputs in the settings file at `path`.
  std::function<std::optional<IoError>(const std::string& path)> saveSettings;
  bool namesFolderInScript = true;

  /// The job "File Create" runs for these folders.
  FileCreateJob Job(const std::string& outputFolder, const std::string& settingsFolder) const;
};

/// Every generator (each script form once) with inputs that pass its checks; a new generator is one row.
const std::vector<GeneratorJob>& GeneratorJobs();

}  // namespace vesko::test
