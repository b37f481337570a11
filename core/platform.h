#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesko {

/// The separator between a folder and a file name in file-system paths ("\" on Windows, "/" elsewhere).
std::string_view PathSeparator();

/// `folder` + separator + `name`; nothing is added or removed otherwise (a trailing separator doubles).
std::string JoinPath(std::string_view folder, std::string_view name);

/// Text as stored in files: the system's ANSI code page on Windows, UTF-8 (unchanged) elsewhere.
std::string ToFileText(std::string_view utf8);
/// Appends ToFileText(utf8) to `out`.
void AppendFileText(std::string& out, std::string_view utf8);
/// The reverse of ToFileText.
std::string FromFileText(std::string_view fileText);

/// Folder of the running executable (UTF-8), or empty when it cannot be found.
std::string ExecutableFolder();

/// The user's home folder (UTF-8), or empty when unknown.
std::string HomeFolder();

/// Per-user configuration folder for this application (UTF-8), not created here.
std::string UserConfigFolder();

/// True when a file can be created in `folder` (tried with a scratch file that is removed again).
bool IsWritableFolder(const std::string& folder);

/// Creates `folder` and its missing parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

/// The most bytes a file this process writes may hold (the file-size limit); UINTMAX_MAX without one.
std::uintmax_t FileSizeLimit();

}  // namespace vesko
