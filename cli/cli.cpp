#include "cli/cli.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

#include "app/app_settings.h"
#include "app/checked_script.h"
#include "app/file_create.h"
#include "app/version.h"
#include "cli/analyse_command.h"
#include "cli/cli_output.h"
#include "cli/generator_commands.h"
#include "cli/stats_command.h"
#include "cli/summary_json.h"
#include "cli/terminal_progress.h"
#include "core/line_sink.h"
#include "core/platform.h"
#include "core/script_naming.h"
#include "generators/script_summary.h"

namespace vesko {
namespace {

using cli::FieldOption;
using cli::FieldValue;
using cli::GeneratorCommand;
using cli::Print;
using cli::PrintMessage;
using cli::ReportOutputFailed;

constexpr std::string_view kUsageLine =
    "Usage: vesko-script GENERATOR [OPTION]... [--stdout | --summary [--json]]\n"
    "  or:  vesko-script analyse FILE [--threshold T]\n"
    "  or:  vesko-script stats FILE [--json] [--column NAME]\n"
    "  or:  vesko-script [GENERATOR] --help\n"
    "  or:  vesko-script --version\n";

constexpr std::string_view kExitStatus =
    "\nExit status: 0 written, 1 input refused (the message on standard error), 2 usage error,\n"
    "3 a file could not be written.\n";

// What the command line asks for, once parsed.
struct Invocation {
  const GeneratorCommand* generator = nullptr;
  std::vector<FieldValue> values;
  std::optional<std::string> outputFolder;
  std::optional<std::string> settingsDir;
  bool toStdout = false;
  bool summary = false;
  bool json = false;
  bool help = false;
  bool version = false;
  /// Why the arguments cannot be used; empty when they can.
  std::string usageError;
};

std::string OptionColumn(std::string_view left, std::string_view help) {
  std::string line = "  ";
  line.append(left);
  constexpr std::size_t kColumn = 30;
  if (line.size() + 2 > kColumn) {
    line.append("\n");  // a long option name gets its help on the next line, in the column
    line.append(kColumn, ' ');
  } else {
    line.append(kColumn - line.size(), ' ');
  }
  line.append(help).append("\n");
  return line;
}

// The options every generator takes.
std::string CommonOptions() {
  std::string text = "\nCommon options:\n";
  text.append(
      OptionColumn("--output-folder TEXT", "folder of the script (default: the stored output folder)"));
  text.append(OptionColumn("--settings-dir DIR", "folder of the settings files (default: the program's)"));
  text.append(OptionColumn("--stdout", "print the script; write no file and no settings"));
  text.append(OptionColumn("--summary", "print what the script does: points, moves, counting time,"));
  text.append(OptionColumn("", "result files, notes; write no file and no settings"));
  text.append(OptionColumn("--json", "with --summary: the same figures as one JSON document"));
  text.append(OptionColumn("-h, --help", "show this text"));
  return text;
}

std::string GeneralHelp() {
  std::string text(kUsageLine);
  text.append("\nWrites the script of one generator window as its \"File Create\" would.\n\nGenerators:\n");
  for (const GeneratorCommand& g : cli::GeneratorCommands()) {
    text.append(OptionColumn(g.name, g.summary));
  }
  text.append("\nAnalysis:\n").append(cli::AnalyseSummaryLine()).append(cli::StatsSummaryLine());
  text.append("\nSee \"vesko-script GENERATOR --help\" for the field options of a generator.\n");
  text.append(CommonOptions());
  text.append(OptionColumn("-V, --version", "show the program's version"));
  text.append(kExitStatus);
  return text;
}

std::string GeneratorHelp(const GeneratorCommand& g) {
  std::string text = "Usage: vesko-script " + g.name + " [OPTION]... [--stdout | --summary [--json]]\n\n" +
                     g.summary + ".\nThe boxes start as the window loads them from " + g.settingsFile +
                     "; each field option\nreplaces the text of its box, taken as typed.\n\nField options:\n";
  for (const FieldOption& o : g.options) {
    text.append(
        OptionColumn("--" + o.name + " " + o.valueName, o.required ? o.help + " (required)" : o.help));
  }
  text.append(CommonOptions());
  text.append(kExitStatus);
  return text;
}

const GeneratorCommand* FindGenerator(std::string_view name) {
  for (const GeneratorCommand& g : cli::GeneratorCommands()) {
    if (g.name == name) {
      return &g;
    }
  }
  return nullptr;
}

const FieldOption* FindOption(const GeneratorCommand& g, std::string_view name) {
  for (const FieldOption& o : g.options) {
    if (o.name == name) {
      return &o;
    }
  }
  return nullptr;
}

bool IsAllowed(const FieldOption& o, const std::string& value) {
  if (o.choices.empty()) {
    return true;
  }
  for (const std::string& choice : o.choices) {
    if (choice == value) {
      return true;
    }
  }
  return false;
}

bool IsGiven(const Invocation& inv, std::string_view option) {
  for (const FieldValue& value : inv.values) {
    if (value.option == option) {
      return true;
    }
  }
  return false;
}

// Reads "--name value" and "--name=value"; a value is taken as typed, blanks and all.
Invocation Parse(const std::vector<std::string>& args) {
  Invocation inv;
  if (args.empty()) {
    inv.usageError = "no generator given";
    return inv;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    inv.help = true;
    return inv;
  }
  if (args[0] == "--version" || args[0] == "-V") {
    inv.version = true;
    return inv;
  }
  inv.generator = FindGenerator(args[0]);
  if (inv.generator == nullptr) {
    inv.usageError = "unknown generator '" + args[0] + "'";
    return inv;
  }
  for (std::size_t k = 1; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (arg == "-h") {
      inv.help = true;
      return inv;
    }
    if (arg.rfind("--", 0) != 0) {
      inv.usageError = "unexpected argument '" + arg + "'";
      return inv;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    std::optional<std::string> inlineValue;
    if (equals != std::string::npos) {
      inlineValue = arg.substr(equals + 1);
    }

    if (name == "help" || name == "stdout" || name == "summary" || name == "json") {
      if (inlineValue) {
        inv.usageError = "option '--" + name + "' takes no value";
        return inv;
      }
      if (name == "help") {
        inv.help = true;
        return inv;
      }
      (name == "stdout" ? inv.toStdout : name == "summary" ? inv.summary : inv.json) = true;
      continue;
    }

    const FieldOption* field = FindOption(*inv.generator, name);
    if (field == nullptr && name != "output-folder" && name != "settings-dir") {
      inv.usageError = "unknown option '--" + name + "' for " + inv.generator->name;
      return inv;
    }
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else if (k + 1 < args.size()) {
      value = args[++k];
    } else {
      inv.usageError = "option '--" + name + "' needs a value";
      return inv;
    }

    if (name == "output-folder") {
      inv.outputFolder = value;
    } else if (name == "settings-dir") {
      if (value.empty()) {
        inv.usageError = "option '--settings-dir' needs a folder";
        return inv;
      }
      inv.settingsDir = value;
    } else if (!IsAllowed(*field, value)) {
      inv.usageError = "option '--" + name + "' takes " + field->valueName + ", not '" + value + "'";
      return inv;
    } else {
      inv.values.push_back({name, value});
    }
  }
  if (inv.toStdout && inv.summary) {
    inv.usageError = "options '--stdout' and '--summary' cannot go together";
    return inv;
  }
  if (inv.json && !inv.summary) {
    inv.usageError = "option '--json' goes only with '--summary'";
    return inv;
  }
  for (const FieldOption& o : inv.generator->options) {
    if (o.required && !IsGiven(inv, o.name)) {
      inv.usageError = "option '--" + o.name + "' is required for " + inv.generator->name;
      return inv;
    }
  }
  return inv;
}

int ReportUsageError(const std::string& usageError, std::FILE* err) {
  PrintMessage(err, "vesko-script: " + usageError);
  Print(err, kUsageLine);
  Print(err, "Try 'vesko-script --help'.\n");
  return kExitUsage;
}

int WriteToStdout(const CheckedScript& prepared, const std::string& outputFolder, std::FILE* out,
                  std::FILE* err) {
  StreamSink sink(out);
  errno = 0;
  prepared.write(outputFolder, sink);
  if (!sink.Flush() || std::fflush(out) != 0) {
    return ReportOutputFailed(errno, err);
  }
  return kExitDone;
}

// The script is read as it would be written, keeping only its figures.
int PrintSummary(const CheckedScript& prepared, const std::string& outputFolder, bool json, std::FILE* out) {
  SummarySink sink;
  prepared.write(outputFolder, sink);
  const ScriptSummary summary = sink.Summary(prepared.outline);
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
  const Invocation inv = Parse(args);
  if (inv.version) {
    Print(out, "vesko-script " + std::string(kVersion) + "\n");
    return kExitDone;
  }
  if (inv.help) {
    Print(out, inv.generator != nullptr ? GeneratorHelp(*inv.generator) : GeneralHelp());
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

  if (inv.toStdout || inv.summary) {
    if (const std::optional<std::string> refusal = ShownFolderRefusal(*prepared, outputFolder)) {
      PrintMessage(err, *refusal);
      return kExitRefused;
    }
    return inv.summary ? PrintSummary(*prepared, outputFolder, inv.json, out)
                       : WriteToStdout(*prepared, outputFolder, out, err);
  }

  // Only a written file needs a folder the file system can find; printed scripts name the folder as given,
  // and a folder the script cannot name is refused as given.
  const std::string fileFolder = inv.outputFolder && !CheckOutputFolderForScript(outputFolder)
                                     ? AbsoluteFolder(outputFolder)
                                     : outputFolder;
  FileCreateJob job = prepared->Job(fileFolder);
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
