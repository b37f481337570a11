#include "core/tcl_path.h"

#include <cstdint>
#include <string>

namespace vesko {
namespace {

void AppendU16(std::string& out, std::uint32_t unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) {
    out += kHex[(unit >> shift) & 0xF];
  }
}

void AppendCodePoint(std::string& out, std::uint32_t cp) {
  if (cp > 0xFFFF) {
    cp -= 0x10000;
    AppendU16(out, 0xD800 + (cp >> 10));
    AppendU16(out, 0xDC00 + (cp & 0x3FF));
  } else {
    AppendU16(out, cp);
  }
}

// Decodes one well-formed UTF-8 sequence of 2 to 4 bytes at `i`; 0 when the bytes there are not one.
std::size_t DecodeUtf8(std::string_view s, std::size_t i, std::uint32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  std::size_t length = 0;
  std::uint32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    cp = b0 & 0x1F;
    min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    cp = b0 & 0x0F;
    min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    cp = b0 & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > s.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      return 0;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return length;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Reads up to four hex digits at `i` into `value`; the number of digits read.
std::size_t ReadHex4(std::string_view s, std::size_t i, std::uint32_t& value) {
  std::size_t used = 0;
  value = 0;
  for (; used < 4 && i + used < s.size(); ++used) {
    const char c = s[i + used];
    std::uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    } else {
      break;
    }
    value = value * 16 + digit;
  }
  return used;
}

}  // namespace

std::string ToTclPath(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '\\') {
      out += '\\';
    }
  }
  return out;
}

std::string StripAtNul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

std::string EscapeTclWordSpecials(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char c = utf8[i];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      std::uint32_t cp = 0;
      const std::size_t length = DecodeUtf8(utf8, i, cp);
      if (length == 0) {
        AppendU16(out, byte);  // a stray byte stands for itself
        ++i;
      } else {
        AppendCodePoint(out, cp);
        i += length;
      }
      continue;
    }
    ++i;
    switch (c) {
      case ' ':
      case '$':
      case '[':
      case ']':
      case '{':
      case '}':
      case '"':
      case ';':
      case '#':
        out += '\\';
        out += c;
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          AppendU16(out, byte);
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string TclWordText(std::string_view word) {
  std::string out;
  out.reserve(word.size());
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '\\' || i + 1 == word.size()) {
      out += word[i];
      continue;
    }
    const char escaped = word[++i];
    switch (escaped) {
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 'u': {
        std::uint32_t unit = 0;
        const std::size_t used = ReadHex4(word, i + 1, unit);
        if (used == 0) {
          out += 'u';  // Tcl reads a \u without digits as the letter
          break;
        }
        i += used;
        std::uint32_t low = 0;
        if (unit >= 0xD800 && unit <= 0xDBFF && word.substr(i + 1, 2) == "\\u" &&
            ReadHex4(word, i + 3, low) == 4 && low >= 0xDC00 && low <= 0xDFFF) {
          unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
          i += 6;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
          unit = 0xFFFD;
        }
        AppendUtf8(out, unit);
        break;
      }
      default:
        out += escaped;
    }
  }
  return out;
}

}  // namespace vesko
