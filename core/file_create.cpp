#include "core/file_create.h"

#include "core/script_naming.h"

namespace vesko {

FileCreateOutcome RunFileCreate(const FileCreateJob& job, const StatusCallback& status) {
  if (job.namesFolderInScript) {
    if (std::optional<std::string> refusal = CheckOutputFolderForScript(job.outputFolder)) {
      return {FileCreateOutcome::Kind::Refused, *refusal};
    }
  }
  if (status) {
    status(kStatusOutputStart);
  }
  {
    SafeFileWriter writer(ScriptPath(job.outputFolder, job.outputFileName));
    if (job.writeScript) {
      job.writeScript(writer);
    }
    if (std::optional<IoError> error = writer.Commit()) {
      return {FileCreateOutcome::Kind::IoFailed, error->Message()};
    }
  }
  if (status) {
    status(kStatusDone);
  }
  if (job.saveSettings) {
    if (std::optional<IoError> error = job.saveSettings()) {
      return {FileCreateOutcome::Kind::IoFailed, error->Message()};
    }
  }
  return {FileCreateOutcome::Kind::Done, {}};
}

}  // namespace vesko
