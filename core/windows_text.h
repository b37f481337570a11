#pragma once

// Windows only: text between UTF-8 (the program's own), UTF-16 (the system's calls) and the ANSI
// code page (files and the console).

#include <string>
#include <string_view>

namespace vesko {

/// `text` in `codePage` (CP_UTF8, CP_ACP) as UTF-16; empty when it cannot be converted.
std::wstring ToWide(std::string_view text, unsigned codePage);
/// UTF-16 `wide` in `codePage`; empty when it cannot be converted.
std::string FromWide(std::wstring_view wide, unsigned codePage);

/// The UTF-16 form of a UTF-8 path, for the system's "W" calls.
inline std::wstring WidePath(std::string_view utf8) {
  return ToWide(utf8, 65001);  // CP_UTF8
}

}  // namespace vesko
