#include "cli/cli.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

#include "app/app_settings.h"
#include "app/axis_table_file.h"
#include "app/checked_script.h"
#include "app/file_create.h"
#include "app/limit_check.h"
#include "app/version.h"
#include "cli/analyse_command.h"
#include "cli/cli_help.h"
#include "cli/cli_output.h"
#include "cli/generator_commands.h"
#include "cli/invocation.h"
#include "cli/stats_command.h"
#include "cli/summary_json.h"
#include "cli/terminal_progress.h"
#include "core/line_sink.h"
#include "core/platform.h"
#include "core/script_naming.h"
#include "generators/script_summary.h"

namespace vesko {
namespace {

using cli::Invocation;
using cli::Print;
using cli::PrintMessage;
using cli::ReportOutputFailed;

int ReportUsageError(const std::string& usageError, std::FILE* err) {
  PrintMessage(err, "vesko-script: " + usageError);
  Print(err, cli::kUsageLine);
  Print(err, "Try 'vesko-script --help'.\n");
  return kExitUsage;
}

int WriteToStdout(const CheckedScript& prepared, const std::string& outputFolder, std::FILE* out,
                  std::FILE* err) {
  StreamSink sink(out);
  errno = 0;
  try {
    FailFastSink guarded(sink);
    prepared.write(outputFolder, guarded);
  } catch (const ScriptCancelled&) {
    // A write failed: the rest of the script is not made, and the failure is reported below.
  }
  if (!sink.Flush() || std::fflush(out) != 0) {
    return ReportOutputFailed(errno, err);
  }
  return kExitDone;
}

// The script is read as it would be written, keeping only its figures.
int PrintSummary(const CheckedScript& prepared, const std::string& outputFolder, bool json,
                 const AxisTableRead& axes, std::FILE* out) {
  const ScriptSummary summary = SummarizeScript(prepared, outputFolder, axes);
  if (json) {
    Print(out, cli::SummaryJson(summary));  // JSON is UTF-8 on every system
    return kExitDone;
  }
  for (const std::string& line : SummaryText(summary)) {
    PrintMessage(out, line);
  }
  return kExitDone;
}

int RunCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  if (!args.empty() && args[0] == cli::kAnalyseCommand) {
    return cli::RunAnalyseCommand({args.begin() + 1, args.end()}, out, err);
  }
  if (!args.empty() && args[0] == cli::kStatsCommand) {
    return cli::RunStatsCommand({args.begin() + 1, args.end()}, out, err);
  }
  const Invocation inv = cli::Parse(args);
  if (inv.version) {
    Print(out, "vesko-script " + std::string(kVersion) + "\n");
    return kExitDone;
  }
  if (inv.help) {
    Print(out, inv.generator != nullptr ? cli::GeneratorHelp(*inv.generator) : cli::GeneralHelp());
    return kExitDone;
  }
  if (!inv.usageError.empty()) {
    return ReportUsageError(inv.usageError, err);
  }

  const std::string settingsDir = inv.settingsDir ? *inv.settingsDir : DefaultSettingsFolder();
  if (inv.generator->checkUsage) {
    const std::string conflict = inv.generator->checkUsage(settingsDir, inv.values);
    if (!conflict.empty()) {
      return ReportUsageError(conflict, err);
    }
  }
  const Result<CheckedScript> prepared = inv.generator->press(settingsDir, inv.values);
  if (!prepared) {
    PrintMessage(err, prepared.message());
    return kExitRefused;
  }

  const std::string outputFolder =
      inv.outputFolder ? *inv.outputFolder : ReadStoredOutputFolder(settingsDir).outputFolder;

  // A script that takes an axis beyond a limit of the axis table is not written unless asked for; a table
  // that cannot be used is told and checks nothing.
  const AxisTableRead axes = ReadAxisTable(settingsDir);
  const auto limitRefusal = [&](const std::string& folder) -> std::optional<std::string> {
    if (!axes.problem.empty()) {
      PrintMessage(err, axes.problem);
    }
    return axes.table && !inv.ignoreLimits ? FirstLimitNote(*prepared, folder, *axes.table) : std::nullopt;
  };
  if (inv.toStdout || inv.summary) {
    if (const std::optional<std::string> refusal = ShownFolderRefusal(*prepared, outputFolder)) {
      PrintMessage(err, *refusal);
      return kExitRefused;
    }
    if (inv.summary) {
      return PrintSummary(*prepared, outputFolder, inv.json, axes, out);
    }
    if (const std::optional<std::string> note = limitRefusal(outputFolder)) {
      PrintMessage(err, *note);
      return kExitRefused;
    }
    return WriteToStdout(*prepared, outputFolder, out, err);
  }

  // Only a written file needs a folder the file system can find; printed scripts name the folder as given,
  // and a folder the script cannot name is refused as given.
  const std::string fileFolder = inv.outputFolder && !CheckOutputFolderForScript(outputFolder)
                                     ? AbsoluteFolder(outputFolder)
                                     : outputFolder;
  FileCreateJob job = prepared->Job(fileFolder);
  if (const std::optional<std::string> note = PlaceRefusal(job) ? std::nullopt : limitRefusal(fileFolder)) {
    PrintMessage(err, *note);
    return kExitRefused;
  }
  // A long write shows how far it has come, on a terminal only: logs and pipes get nothing. As in the
  // windows, the dry pass that judges the room also counts the lines, so that the line can tell a percentage.
  std::optional<cli::TerminalProgress> progress;
  if (cli::IsTerminal(err) && !PlaceRefusal(job)) {
    const ScriptRoom room = MeasureRoom(job);
    if (room.refusal) {
      PrintMessage(err, *room.refusal);
      return kExitIoFailed;
    }
    job.roomMeasured = true;
    if (room.lines > cli::kTerminalProgressLines) {
      progress.emplace(err, job.outputFileName, room.lines);
      job.progress = [&](std::uint64_t lines) {
        progress->Update(lines);
        return true;
      };
    }
  }
  const FileCreateOutcome outcome = RunFileCreate(job, [&](const std::string& status) {
    if (status == kStatusDone && progress) {
      progress->End(true);
      progress.reset();
    }
    if (status == kStatusDone && !prepared->report.empty()) {
      PrintMessage(out, prepared->report);
    }
  });
  if (progress) {
    progress->End(false);
  }
  switch (outcome.kind) {
    case FileCreateOutcome::Kind::Done:
      return kExitDone;
    case FileCreateOutcome::Kind::Refused:
      PrintMessage(err, outcome.message);
      return kExitRefused;
    case FileCreateOutcome::Kind::IoFailed:
    case FileCreateOutcome::Kind::Cancelled:  // the progress line never cancels
      PrintMessage(err, outcome.message);
      return kExitIoFailed;
  }
  return kExitIoFailed;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const int status = RunCommand(args, out, err);
  // Whatever the command printed (help, a summary, results, a report) must have arrived; a failure
  // already reported keeps its own message.
  errno = 0;
  const bool flushed = std::fflush(out) == 0;
  if (status != kExitIoFailed && (!flushed || std::ferror(out) != 0)) {
    return ReportOutputFailed(flushed ? 0 : errno, err);
  }
  return status;
}

}  // namespace vesko
