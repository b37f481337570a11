#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/file_create.h"
#include "core/platform.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using Texts = std::vector<std::string>;

// Records the status texts and the order in which the job's steps ran. The faults of each step are
// injected into every generator's "File Create" by the reliability tests.
struct Recorder {
  Texts statuses;
  Texts steps;

  FileCreateJob Job(const std::string& folder) {
    FileCreateJob job;
    job.outputFolder = folder;
    job.outputFileName = "run1.tcl";
    job.writeScript = [this](LineSink& out) {
      steps.push_back("script");
      out.WriteLine("TclSrv_Optics:Shutter open");
    };
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

TEST(FileCreateTest, WritesTheScriptThenReportsDoneThenSavesSettings) {
  TempDir dir;
  Recorder rec;
  const FileCreateOutcome outcome = RunFileCreate(rec.Job(dir.path()), rec.Status());
  EXPECT_EQ(outcome.kind, FileCreateOutcome::Kind::Done);
  EXPECT_EQ(outcome.message, "");
  EXPECT_EQ(rec.statuses, (Texts{"Output Start", "Done"}));
  EXPECT_EQ(rec.steps, (Texts{"script", "settings"}));
  EXPECT_EQ(ReadFileBytes(JoinPath(dir.path(), "run1.tcl")), "TclSrv_Optics:Shutter open\r\n");
}

TEST(FileCreateTest, RefusedFolderWritesNothing) {
  for (const char* folder : {"|x", "~x"}) {
    Recorder rec;
    const FileCreateOutcome outcome = RunFileCreate(rec.Job(folder), rec.Status());
    EXPECT_EQ(outcome.kind, FileCreateOutcome::Kind::Refused) << folder;
    EXPECT_EQ(outcome.message, "Output Folder Error! \"" + std::string(folder) +
                                   "\" cannot be used in a script (a leading | or ~ has a special "
                                   "meaning for Tcl's open).");
    EXPECT_EQ(rec.statuses, Texts{});
    EXPECT_EQ(rec.steps, Texts{});
  }
}

}  // namespace
}  // namespace vesko
