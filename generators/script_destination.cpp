#include "generators/script_destination.h"

#include "core/script_naming.h"
#include "core/tcl_path.h"
#include "generators/coll_scan.h"
#include "generators/form_checks.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko {

namespace {

std::vector<std::string_view> OneOrRepeated(bool repeatActive) {
  if (repeatActive) {
    return {"_Repeat", "_Average"};
  }
  return {""};
}

}  // namespace

std::vector<std::string_view> ResultSuffixes(const SlitScanForm& form) {
  return OneOrRepeated(form.repeatActive);
}

std::vector<std::string_view> ResultSuffixes(const SlitDecScanForm& form) {
  return OneOrRepeated(form.repeatActive);
}

std::vector<std::string_view> ResultSuffixes(const SlitMoveForm& /*form*/) {
  return {};  // a command file: it only moves the blades
}

std::vector<std::string_view> ResultSuffixes(const CollScanForm& /*form*/) {
  return {""};
}

std::vector<std::string_view> ResultSuffixes(const LensScanForm& /*form*/) {
  return {""};
}

std::vector<std::string_view> ResultSuffixes(const GonioStageScan2Form& /*form*/) {
  return {""};
}

std::vector<std::string_view> ResultSuffixes(const GonioYScanForm& form) {
  if (OmegaRuleFor(form.useOmega).generator == GonioYGenerator::A) {
    return OneOrRepeated(form.repeatActive);
  }
  // Only a box holding exactly 1 turns omega; a grey one opens no file.
  std::vector<std::string_view> suffixes;
  if (form.useOmega[0] == 1) {
    suffixes.emplace_back("_1");
  }
  if (form.useOmega[1] == 1) {
    suffixes.emplace_back("_2");
  }
  return suffixes;
}

ScriptDestination DestinationOf(std::string_view fileNameBox, const std::vector<std::string_view>& suffixes,
                                std::string_view outputFolder) {
  ScriptDestination destination;
  const std::optional<OutputName> name = TakeOutputFileName(fileNameBox);
  if (!name) {
    return destination;
  }
  destination.script = ScriptPath(outputFolder, name->fileName);
  for (const std::string_view suffix : suffixes) {
    // The name the open line's word stands for once Tcl has read it.
    destination.resultFiles.push_back(TclWordText(ResultFileWord(outputFolder, name->resultBase, suffix)));
  }
  return destination;
}

}  // namespace vesko
