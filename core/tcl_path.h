#pragma once

#include <string>
#include <string_view>

namespace vesko {

/// Every backslash doubled; all other characters copied in order.
std::string ToTclPath(std::string_view text);

/// The text up to its first NUL character, or the text unchanged when it holds none.
std::string StripAtNul(std::string_view text);

/// Makes UTF-8 text safe as part of one Tcl word without touching backslashes:
/// a backslash goes before space $ [ ] { } " ; #; tab, LF, CR become \t \n \r; other control
/// characters \u00XX; every non-ASCII character \uXXXX (upper-case hex, surrogate pairs above
/// U+FFFF). The result is plain ASCII. Invalid UTF-8 bytes are written as \u00XX of the byte.
std::string EscapeTclWordSpecials(std::string_view utf8);

/// The text a Tcl word stands for once its backslash sequences are substituted: for valid UTF-8 `text`,
/// TclWordText(EscapeTclWordSpecials(ToTclPath(text))) == text. \t \n \r give their control characters,
/// \u with 1 to 4 hex digits its character in UTF-8 (a surrogate pair joined, a lone half U+FFFD), a
/// backslash before any other character that character; a backslash at the very end stays.
std::string TclWordText(std::string_view word);

}  // namespace vesko
