#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "core/safe_file.h"

namespace vesko {

/// The most bytes one settings field may take (its blanks and skipped rest included); a longer field
/// is a read failure. Settings fields are a few short words; this only stops an endless file.
inline constexpr std::size_t kMaxSettingsFieldBytes = 64 * 1024;

/// Reads the next comma-delimited field: leading blanks skipped; a field opened by a double quote
/// runs to the next double quote (then the rest up to and including the next comma or line end is
/// skipped); otherwise it runs to the next comma or line end (CR, LF or CR LF), which is consumed,
/// and loses its trailing blanks. An empty line gives "". Empty at the end of the input and for a field
/// longer than kMaxSettingsFieldBytes.
std::optional<std::string> ReadSettingsField(std::istream& in);

/// Reads up to `maxFields` fields from the file at `path`, stopping silently at the first failure
/// (missing file, end of file, a field too long); returns those read, converted from the file's text
/// encoding and cut at their first NUL. What is not a regular file counts as missing.
std::vector<std::string> LoadSettings(const std::string& path, std::size_t maxFields);

/// Writes one field per line (CR LF), safely replacing the file. A field that holds a comma or a line end, or
/// begins or ends with a blank, is written between double quotes so that it reads back whole.
std::optional<IoError> SaveSettings(const std::string& path, const std::vector<std::string>& fields);

/// The settings-file form of one field (quoted when needed, as SaveSettings writes it).
std::string SettingsFieldText(const std::string& field);

}  // namespace vesko
