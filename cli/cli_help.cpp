#include "cli/cli_help.h"

#include "cli/analyse_command.h"
#include "cli/stats_command.h"

namespace vesko::cli {

const std::string_view kUsageLine =
    "Usage: vesko-script GENERATOR [OPTION]... [--stdout | --summary [--json]]\n"
    "  or:  vesko-script analyse FILE [--threshold T]\n"
    "  or:  vesko-script stats FILE [--json] [--column NAME]\n"
    "  or:  vesko-script [GENERATOR] --help\n"
    "  or:  vesko-script --version\n";

namespace {

constexpr std::string_view kExitStatus =
    "\nExit status: 0 written, 1 input refused (the message on standard error), 2 usage error,\n"
    "3 a file could not be written.\n";

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
  text.append(OptionColumn("--ignore-limits", "write the script even when it takes an axis beyond a"));
  text.append(OptionColumn("", "limit of the settings folder's Axes.toml"));
  text.append(OptionColumn("-h, --help", "show this text"));
  return text;
}

}  // namespace

std::string GeneralHelp() {
  std::string text(kUsageLine);
  text.append("\nWrites the script of one generator window as its \"File Create\" would.\n\nGenerators:\n");
  for (const GeneratorCommand& g : GeneratorCommands()) {
    text.append(OptionColumn(g.name, g.summary));
  }
  text.append("\nAnalysis:\n").append(AnalyseSummaryLine()).append(StatsSummaryLine());
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

}  // namespace vesko::cli
