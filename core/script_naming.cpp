#include "core/script_naming.h"

#include "core/platform.h"
#include "core/shown_text.h"
#include "core/tcl_path.h"

namespace vesko {

std::string OutputFileNameOf(std::string_view boxText) {
  const std::size_t first = boxText.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  const std::size_t last = boxText.find_last_not_of(' ');
  return std::string(boxText.substr(first, last - first + 1));
}

std::optional<std::string> ResultBaseOf(std::string_view outputFileName) {
  const std::size_t dot = outputFileName.find('.');
  if (dot == std::string_view::npos || dot == 0) {
    return std::nullopt;
  }
  return std::string(outputFileName.substr(0, dot));
}

std::string ScriptPath(std::string_view outputFolder, std::string_view outputFileName) {
  return JoinPath(outputFolder, outputFileName);
}

std::optional<std::string> CheckOutputFolderForScript(std::string_view outputFolder) {
  if (!outputFolder.empty() && (outputFolder.front() == '|' || outputFolder.front() == '~')) {
    return "Output Folder Error! \"" + ShownText(outputFolder) +
           "\" cannot be used in a script (a leading | or ~ has a special meaning for Tcl's open).";
  }
  return std::nullopt;
}

std::string ResultFileWord(std::string_view outputFolder, std::string_view resultBase,
                           std::string_view suffix) {
  std::string word = EscapeTclWordSpecials(ToTclPath(outputFolder));
  // On Windows every folder is joined with the doubled backslash; elsewhere a POSIX folder uses "/".
  const bool posixFolder = PathSeparator() == "/" && !outputFolder.empty() && outputFolder.front() == '/';
  word += posixFolder ? "/" : "\\\\";
  std::string name(resultBase);
  name += suffix;
  name += ".dat";
  word += EscapeTclWordSpecials(ToTclPath(name));
  return word;
}

}  // namespace vesko
