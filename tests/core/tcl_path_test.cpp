#include <string>

#include <gtest/gtest.h>

#include "core/tcl_path.h"

namespace vesko {
namespace {

// A folder with blanks and a name with brackets are checked with the result file's word.
TEST(TclPathTest, EscapeMakesOnePlainAsciiWord) {
  struct Row {
    std::string text;
    std::string expected;
  };
  const Row rows[] = {
      {"$env(HOME)", "\\$env(HOME)"},
      {"{x}", "\\{x\\}"},
      {"say \"hi\"", "say\\ \\\"hi\\\""},
      {"a;b#c", "a\\;b\\#c"},
      {"t\tn\nr\r", "t\\tn\\nr\\r"},
      {"bell\x07"
       "del\x7F",
       "bell\\u0007del\\u007F"},
      {"caf\xC3\xA9", "caf\\u00E9"},                   // é
      {"\xE6\x97\xA5\xE6\x9C\xAC", "\\u65E5\\u672C"},  // 日本
      {"\xF0\x9F\x98\x80", "\\uD83D\\uDE00"},          // U+1F600 as a surrogate pair
      {"a\xFF"
       "b",
       "a\\u00FFb"},                              // invalid byte
      {"\xE6\x97", "\\u00E6\\u0097"},             // cut-off sequence
      {"\xC0\xAF", "\\u00C0\\u00AF"},             // overlong form
      {"\xED\xA0\x80", "\\u00ED\\u00A0\\u0080"},  // encoded surrogate
      {"\xE0\x80\x80", "\\u00E0\\u0080\\u0080"},  // overlong three-byte form
      {"\xF4\x8F\xBF\xBF", "\\uDBFF\\uDFFF"},     // U+10FFFF, the last code point
      {"run_1-a.b,c@(x)", "run_1-a.b,c@(x)"},     // nothing to escape
      {"", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(EscapeTclWordSpecials(row.text), row.expected) << row.text;
  }
}

// The file name the control server opens is the text before both conversions.
TEST(TclPathTest, TclWordTextUndoesBothConversions) {
  for (const std::string text :
       {"C:\\data\\run 1", "\\\\server\\share\\", "a[b]$c{d}\"e\";f#", "t\tn\nr\r\x07\x7F",
        "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80\\u0041", ""}) {
    EXPECT_EQ(TclWordText(EscapeTclWordSpecials(ToTclPath(text))), text) << text;
  }
  const struct {
    const char* word;
    const char* text;
  } rows[] = {
      {"\\u41x", "Ax"}, {"\\u00411", "A1"}, {"\\ux", "ux"}, {"\\uD800z", "\xEF\xBF\xBDz"}, {"a\\", "a\\"}};
  for (const auto& row : rows) {
    EXPECT_EQ(TclWordText(row.word), row.text) << row.word;
  }
}

}  // namespace
}  // namespace vesko
