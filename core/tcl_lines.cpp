#include "core/tcl_lines.h"

#include "core/format.h"
#include "core/script_naming.h"

namespace vesko::tcl {

std::string OpenLine(std::string_view var, std::string_view outputFolder, std::string_view resultBase,
                     std::string_view suffix) {
  std::string line = "set ";
  line += var;
  line += " [open ";
  line += ResultFileWord(outputFolder, resultBase, suffix);
  line += " w+]";
  return line;
}

std::string CloseLine(std::string_view var) {
  std::string line = "close $";
  line += var;
  return line;
}

std::string PutsLine(std::string_view var, std::string_view text) {
  std::string line = "puts $";
  line += var;
  line += " \"";
  line += text;
  line += '"';
  return line;
}

std::string AccumulatorInitLine(int i) {
  return "set cnt" + FormatI(i) + " 0";
}

std::string AccumulateLine(int i) {
  const std::string name = "cnt" + FormatI(i);
  return "set " + name + " [expr $" + name + " + $cnt]";
}

std::string AverageLine(int i, int repeatTimes) {
  return "set cnt [expr $cnt" + FormatI(i) + " / " + FormatPlain(repeatTimes) + "]";
}

std::string RepeatHeaderText(std::string_view columns, int pass) {
  return std::string(columns) + "(Repeat" + FormatI(pass) + ")";
}

std::string AverageHeaderText(std::string_view columns) {
  return std::string(columns) + "(Average)";
}

}  // namespace vesko::tcl
