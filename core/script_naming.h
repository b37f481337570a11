#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vesko {

/// The file name box's text with leading and trailing spaces removed.
std::string OutputFileNameOf(std::string_view boxText);

/// `OutputFileName` before its first "."; empty when there is no "." or it is the first character.
std::optional<std::string> ResultBaseOf(std::string_view outputFileName);

/// Path of the script file: `outputFolder` + separator + `outputFileName` (see JoinPath).
std::string ScriptPath(std::string_view outputFolder, std::string_view outputFileName);

/// Empty when the folder may be named in a script; otherwise the refusal message naming it.
/// A folder beginning with "|" or "~" would make Tcl's open start a pipeline or expand a home folder.
std::optional<std::string> CheckOutputFolderForScript(std::string_view outputFolder);

/// The Tcl word naming a result file in an open line: TclFolder + "\\" (or "/" for a POSIX folder
/// outside Windows) + ResultBase (backslashes doubled) + suffix + ".dat", with Tcl specials escaped.
std::string ResultFileWord(std::string_view outputFolder, std::string_view resultBase,
                           std::string_view suffix);

}  // namespace vesko
