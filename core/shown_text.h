#pragma once

#include <string>
#include <string_view>

namespace vesko {

/// A folder or file name as a message or summary line shows it: tab, line feed and carriage return
/// as \t \n \r, every other control character (C0, DEL, and C1 written in UTF-8) as \xHH, so that a
/// message stays one line and nothing reaches a terminal as a command. All else is unchanged, and
/// a text without control characters is returned as it is.
std::string ShownText(std::string_view text);

}  // namespace vesko
