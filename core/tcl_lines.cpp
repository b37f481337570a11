#include "core/tcl_lines.h"

#include "core/format.h"
#include "core/script_naming.h"

namespace vesko::tcl {
namespace {

// The one line that `addLine` adds to an empty block, without its line end.
template <typename AddLine>
std::string LineText(AddLine addLine) {
  LineBlock block;
  addLine(block);
  std::string_view text = block.text();
  text.remove_suffix(2);
  return std::string(text);
}

}  // namespace

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

LineBlock& BeginPuts(LineBlock& block, std::string_view var) {
  return block.Add("puts $").Add(var).Add(" \"");
}

void EndPuts(LineBlock& block) {
  block.Add("\"").EndLine();
}

std::string PutsLine(std::string_view var, std::string_view text) {
  return LineText([&](LineBlock& block) {
    BeginPuts(block, var).Add(text);
    EndPuts(block);
  });
}

void AddAccumulatorInitLine(LineBlock& block, int i) {
  block.Add("set cnt").AddI(i).Add(" 0").EndLine();
}

std::string AccumulatorInitLine(int i) {
  return LineText([&](LineBlock& block) { AddAccumulatorInitLine(block, i); });
}

void AddAccumulateLine(LineBlock& block, int i) {
  const NumberText index = NumberText::I(i);
  block.Add("set cnt").Add(index).Add(" [expr $cnt").Add(index).Add(" + $cnt]").EndLine();
}

std::string AccumulateLine(int i) {
  return LineText([&](LineBlock& block) { AddAccumulateLine(block, i); });
}

void AddAverageLine(LineBlock& block, int i, int repeatTimes) {
  block.Add("set cnt [expr $cnt").AddI(i).Add(" / ").AddPlain(repeatTimes).Add("]").EndLine();
}

std::string AverageLine(int i, int repeatTimes) {
  return LineText([&](LineBlock& block) { AddAverageLine(block, i, repeatTimes); });
}

std::string RepeatHeaderText(std::string_view columns, int pass) {
  return std::string(columns) + "(Repeat" + FormatI(pass) + ")";
}

std::string AverageHeaderText(std::string_view columns) {
  return std::string(columns) + "(Average)";
}

}  // namespace vesko::tcl
