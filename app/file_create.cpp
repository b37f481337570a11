#include "app/file_create.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/platform.h"
#include "core/script_naming.h"
#include "core/shown_text.h"

namespace vesko {
namespace {

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
      throw ScriptCancelled{};
    }
  }

  LineSink& next_;
  const std::function<bool(std::uint64_t)>& progress_;
  std::uint64_t written_ = 0;
  std::uint64_t nextReport_ = kProgressInterval;
};

// Counts a script's lines and its bytes as they would be written (CR LF included), and the measurements
// of its first kSampleBytes. It stops the script once it needs more than `room` bytes, or once the part
// counted shows the whole will need more than twice that: a script far too large is not walked through.
// Past the file-size limit it stops as well, without a refusal: the write fails there with its own reason.
class RoomSink final : public LineSink {
 public:
  RoomSink(std::uintmax_t room, std::uint64_t points, std::uintmax_t sizeLimit)
      : room_(room), points_(points), sizeLimit_(sizeLimit) {}
  void WriteLine(std::string_view line) override { Count(line, line.size() + 2, 1); }
  void WriteLines(std::string_view lines) override {
    Count(lines, lines.size(), static_cast<std::uint64_t>(std::count(lines.begin(), lines.end(), '\n')));
  }
  std::uint64_t lines() const { return lines_; }
  bool overSizeLimit() const { return bytes_ > sizeLimit_; }
  /// The bytes counted, or when stopped early their share of the job's points carried on to all of them.
  std::uintmax_t needed() const {
    if (measurements_ == 0 || points_ <= measurements_) {
      return bytes_;
    }
    const double perMeasurement = static_cast<double>(sampledBytes_) / static_cast<double>(measurements_);
    return std::max(bytes_, static_cast<std::uintmax_t>(perMeasurement * static_cast<double>(points_)));
  }

 private:
  static constexpr std::uintmax_t kSampleBytes = std::uintmax_t{64} << 20;

  void Count(std::string_view text, std::size_t bytes, std::uint64_t lines) {
    if (bytes_ < kSampleBytes) {
      constexpr std::string_view kMeasure = "MeasureCountsWithTimer";
      for (std::size_t at = text.find(kMeasure); at != std::string_view::npos;
           at = text.find(kMeasure, at + 1)) {
        ++measurements_;
      }
      sampledBytes_ = bytes_ + bytes;
    }
    bytes_ += bytes;
    lines_ += lines;
    if (bytes_ > room_) {
      throw ScriptCancelled{};
    }
    if (bytes_ > nextEstimate_) {
      nextEstimate_ *= 2;
      if (needed() / 2 > room_) {
        throw ScriptCancelled{};
      }
    }
    if (overSizeLimit()) {
      throw ScriptCancelled{};
    }
  }

  std::uintmax_t room_;
  std::uint64_t points_;
  std::uintmax_t sizeLimit_;
  std::uintmax_t bytes_ = 0;
  std::uint64_t lines_ = 0;
  std::uint64_t measurements_ = 0;
  std::uintmax_t sampledBytes_ = 0;
  std::uintmax_t nextEstimate_ = kSampleBytes;
};

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Bytes as gigabytes (10^9) for a message: one decimal, three below 1 GB.
std::string Gigabytes(std::uintmax_t bytes) {
  const double gb = static_cast<double>(bytes) / 1e9;
  char text[32];
  std::snprintf(text, sizeof text, gb < 1 ? "%.3f" : "%.1f", gb);
  return text;
}

// The same name in the same folder; the folders are compared as the file system sees them when both
// exist. Windows names differ in case only are the same.
bool SameFile(const std::string& a, const std::string& b) {
  const std::filesystem::path pathA = PathOf(a);
  const std::filesystem::path pathB = PathOf(b);
#ifdef _WIN32
  std::string nameA = pathA.filename().string();
  std::string nameB = pathB.filename().string();
  const auto lower = [](std::string& s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  };
  lower(nameA);
  lower(nameB);
#else
  const std::filesystem::path nameA = pathA.filename();
  const std::filesystem::path nameB = pathB.filename();
#endif
  if (nameA != nameB) {
    return false;
  }
  std::error_code error;
  const bool same = std::filesystem::equivalent(pathA.parent_path(), pathB.parent_path(), error);
  return error ? pathA.parent_path().lexically_normal() == pathB.parent_path().lexically_normal() : same;
}

}  // namespace

std::string AbsoluteFolder(const std::string& folder) {
  const std::filesystem::path given = PathOf(folder);
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  if (folder.empty() || given.is_absolute() || error) {
    return folder;
  }
  const std::u8string joined = (current / given).u8string();
  return std::string(joined.begin(), joined.end());
}

ScriptRoom MeasureRoom(const FileCreateJob& job) {
  ScriptRoom measured;
  if (!job.writeScript) {
    return measured;
  }
  std::error_code error;
  const std::filesystem::space_info space = std::filesystem::space(PathOf(job.outputFolder), error);
  RoomSink sink(error ? UINTMAX_MAX : space.available, job.points, FileSizeLimit());
  try {
    job.writeScript(sink);
  } catch (const ScriptCancelled&) {
    if (!sink.overSizeLimit()) {
      measured.refusal = ShownText(ScriptPath(job.outputFolder, job.outputFileName)) + " needs " +
                         Gigabytes(sink.needed()) + " GB, " + Gigabytes(space.available) + " GB are free";
    }
  }
  measured.lines = sink.lines();
  return measured;
}

std::optional<std::string> PlaceRefusal(const FileCreateJob& job) {
  if (job.outputFolder.empty()) {
    return kNoOutputFolder;
  }
  if (job.namesFolderInScript) {
    if (std::optional<std::string> refusal = CheckOutputFolderForScript(job.outputFolder)) {
      return refusal;
    }
  }
  const std::string path = ScriptPath(job.outputFolder, job.outputFileName);
  if (!job.settingsPath.empty() && SameFile(path, job.settingsPath)) {
    return "Output FileName Error! " + ShownText(path) +
           " is where this window keeps its settings: choose another file name or output folder.";
  }
  return std::nullopt;
}

FileCreateOutcome RunFileCreate(const FileCreateJob& job, const StatusCallback& status) {
  if (std::optional<std::string> refusal = PlaceRefusal(job)) {
    return {FileCreateOutcome::Kind::Refused, *refusal};
  }
  if (!job.roomMeasured) {
    if (std::optional<std::string> tooLarge = MeasureRoom(job).refusal) {
      return {FileCreateOutcome::Kind::IoFailed, *tooLarge};
    }
  }
  if (status) {
    status(kStatusOutputStart);
  }
  {
    const std::string path = ScriptPath(job.outputFolder, job.outputFileName);
    SafeFileWriter writer(path);
    if (job.writeScript) {
      FailFastSink guarded(writer);
      try {
        if (job.progress) {
          ProgressSink counted(guarded, job.progress);
          job.writeScript(counted);
          counted.Finish();
        } else {
          job.writeScript(guarded);
        }
      } catch (const ScriptCancelled&) {
        // A write that failed stopped the script too: Commit reports it below.
        if (writer.ok()) {
          writer.Abort();
          return {FileCreateOutcome::Kind::Cancelled,
                  "File Create cancelled: " + ShownText(path) + " was left as it was."};
        }
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
      return {FileCreateOutcome::Kind::IoFailed,
              ShownText(ScriptPath(job.outputFolder, job.outputFileName)) +
                  " was written; its settings could not be saved: " + error->Message()};
    }
  }
  return {FileCreateOutcome::Kind::Done, {}};
}

}  // namespace vesko
