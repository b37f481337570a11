#include "core/file_create.h"

#include <algorithm>

#include "core/script_naming.h"
#include "core/shown_text.h"

namespace vesko {
namespace {

// Thrown through the generator when the progress callback asks to stop; the writer then drops its
// temporary file.
struct WriteCancelled {};

// Passes lines on to the file and reports the count every kProgressInterval lines or so.
class ProgressSink final : public LineSink {
 public:
  ProgressSink(LineSink& next, const std::function<bool(std::uint64_t)>& progress)
      : next_(next), progress_(progress) {}

  void WriteLine(std::string_view line) override {
    next_.WriteLine(line);
    Count(1);
  }
  void WriteLines(std::string_view lines) override {
    next_.WriteLines(lines);
    Count(static_cast<std::uint64_t>(std::count(lines.begin(), lines.end(), '\n')));
  }
  void Finish() { Report(); }

 private:
  void Count(std::uint64_t lines) {
    written_ += lines;
    if (written_ >= nextReport_) {
      Report();
    }
  }
  void Report() {
    nextReport_ = written_ + kProgressInterval;
    if (!progress_(written_)) {
      throw WriteCancelled{};
    }
  }

  LineSink& next_;
  const std::function<bool(std::uint64_t)>& progress_;
  std::uint64_t written_ = 0;
  std::uint64_t nextReport_ = kProgressInterval;
};

}  // namespace

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
    const std::string path = ScriptPath(job.outputFolder, job.outputFileName);
    SafeFileWriter writer(path);
    if (job.writeScript) {
      try {
        if (job.progress) {
          ProgressSink counted(writer, job.progress);
          job.writeScript(counted);
          counted.Finish();
        } else {
          job.writeScript(writer);
        }
      } catch (const WriteCancelled&) {
        writer.Abort();
        return {FileCreateOutcome::Kind::Cancelled,
                "File Create cancelled: " + ShownText(path) + " was left as it was."};
      }
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
