#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/file_create.h"
#include "core/platform.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using Texts = std::vector<std::string>;

// Records the status texts and the order in which the job's steps ran. The faults of each step are
// injected into every generator's "File Create" by the reliability tests; a refused folder is checked
// with the windows.
struct Recorder {
  Texts statuses;
  Texts steps;

  FileCreateJob Job(const std::string& folder) {
    FileCreateJob job;
    job.outputFolder = folder;
    job.outputFileName = "run1.tcl";
    job.saveSettings = [this]() {
      steps.push_back("settings");
      return std::optional<IoError>();
    };
    return job;
  }
  StatusCallback Status() {
    return [this](const std::string& text) { statuses.push_back(text); };
  }
};

// A long script reports its progress now and then and is written, then "Done" is shown and only then
// are the settings saved; a "no" stops it with the old files untouched.
TEST(FileCreateTest, ProgressCountsLinesAndCancelKeepsTheOldFiles) {
  constexpr std::uint64_t kLines = 3 * kProgressInterval + 5;
  for (const bool cancel : {false, true}) {
    TempDir dir;
    const std::string script = JoinPath(dir.path(), "run1.tcl");
    test::WriteFileBytes(script, "old\r\n");
    Recorder rec;
    FileCreateJob job = rec.Job(dir.path());
    // Whole lines and blocks of lines, across many of the writer's buffers.
    std::string expected;
    job.writeScript = [&expected, &rec](LineSink& out) {
      rec.steps.push_back("script");
      expected.clear();  // the dry pass that measures the room first writes the same lines
      for (std::uint64_t i = 0; i < kLines; ++i) {
        const std::string line = std::to_string(i) + "\r\n";
        expected += line;
        if (i % 2 == 0) {
          out.WriteLine(std::to_string(i));
        } else {
          out.WriteLines(line);
        }
      }
    };
    std::vector<std::uint64_t> reports;
    job.progress = [&](std::uint64_t written) {
      reports.push_back(written);
      return !cancel;
    };
    const FileCreateOutcome outcome = RunFileCreate(job, rec.Status());
    if (cancel) {
      EXPECT_EQ(outcome.kind, FileCreateOutcome::Kind::Cancelled);
      EXPECT_EQ(outcome.message, "File Create cancelled: " + script + " was left as it was.");
      EXPECT_EQ(reports, (std::vector<std::uint64_t>{kProgressInterval}));
      EXPECT_EQ(ReadFileBytes(script), "old\r\n");
      EXPECT_EQ(test::ListFolder(dir.path()), Texts{"run1.tcl"});
      EXPECT_EQ(rec.statuses, Texts{"Output Start"});
      EXPECT_EQ(rec.steps, (Texts{"script", "script"}));
    } else {
      // The statuses and the settings saved after the script are checked by the fault tests.
      EXPECT_EQ(outcome.kind, FileCreateOutcome::Kind::Done);
      ASSERT_EQ(reports.size(), 4U);
      EXPECT_EQ(reports.back(), kLines);
      EXPECT_TRUE(test::SameText(expected, ReadFileBytes(script)));
    }
  }
}

}  // namespace
}  // namespace vesko
