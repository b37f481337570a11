#include "cli/analyse_command.h"

#include <optional>
#include <string_view>

#include "analysis/break_analysis.h"
#include "cli/cli.h"
#include "cli/cli_output.h"
#include "core/format.h"
#include "core/platform.h"

namespace vesko::cli {
namespace {

constexpr std::string_view kAnalyseUsage = "Usage: vesko-script analyse FILE [--threshold T]\n";

std::string AnalyseHelp() {
  return std::string(kAnalyseUsage) +
         "\nAnalyses a result file of the 4D slit decreasing-width scan as \"Calculate\" in the\n"
         "analysis window does: finds where the intensity stops falling, fits a line to the points\n"
         "before that step and a level to the points after it, and prints\n"
         "cross_x, a0, a1 and b0, one per line.\n\n"
         "Options:\n"
         "  --threshold T                 break threshold (default 2.0)\n"
         "  --help                        show this text\n\n"
         "Exit status: 0 results printed, 1 the run stopped (the message on standard error),\n"
         "2 usage error, 3 the file could not be read.\n";
}

struct AnalyseInvocation {
  std::optional<std::string> file;
  std::string threshold = kDefaultThresholdText;
  bool help = false;
  std::string usageError;
};

AnalyseInvocation Parse(const std::vector<std::string>& args) {
  AnalyseInvocation inv;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (arg == "--help" || arg == "-h") {
      inv.help = true;
      return inv;
    }
    if (arg == "--threshold" || arg.rfind("--threshold=", 0) == 0) {
      if (arg.size() > 11) {
        inv.threshold = arg.substr(12);
      } else if (k + 1 < args.size()) {
        inv.threshold = args[++k];
      } else {
        inv.usageError = "option '--threshold' needs a value";
        return inv;
      }
      continue;
    }
    if (arg.rfind("--", 0) == 0) {
      inv.usageError = "unknown option '" + arg + "' for analyse";
      return inv;
    }
    if (inv.file) {
      inv.usageError = "unexpected argument '" + arg + "'";
      return inv;
    }
    inv.file = arg;
  }
  if (!inv.file) {
    inv.usageError = "no result file given";
  }
  return inv;
}

}  // namespace

std::string AnalyseSummaryLine() {
  return "  analyse FILE                crossing point of a decreasing-width scan's result file\n";
}

int RunAnalyseCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const AnalyseInvocation inv = Parse(args);
  if (inv.help) {
    Print(out, AnalyseHelp());
    return kExitDone;
  }
  if (!inv.usageError.empty()) {
    PrintMessage(err, "vesko-script: " + inv.usageError);
    Print(err, kAnalyseUsage);
    Print(err, "Try 'vesko-script analyse --help'.\n");
    return kExitUsage;
  }

  const BreakAnalysis run = AnalyseResultFile(*inv.file, inv.threshold);
  if (!run.readError.empty()) {
    PrintMessage(err, run.readError);
    return kExitIoFailed;
  }
  for (const std::string& message : run.messages) {
    PrintMessage(err, message);
  }
  if (!run.crossX) {
    return kExitRefused;
  }
  Print(out, "cross_x=" + FormatF5(*run.crossX) + "\n");
  Print(out, "a0=" + FormatF5(run.line.a0) + "\n");
  Print(out, "a1=" + FormatF5(run.line.a1) + "\n");
  Print(out, "b0=" + FormatF5(run.level) + "\n");
  return kExitDone;
}

}  // namespace vesko::cli
