#include <string>

#include <gtest/gtest.h>

#include "core/shown_text.h"

namespace vesko {
namespace {

TEST(ShownTextTest, ControlCharactersAreEscapedAndAllElseKept) {
  const struct {
    std::string text;
    std::string shown;
  } rows[] = {
      {"C:\\data\\may", "C:\\data\\may"},  // backslashes stay as they are
      {"/a\nFAKE: line", "/a\\nFAKE: line"},
      {"\t\r\x1B[31m\x7F", "\\t\\r\\x1B[31m\\x7F"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\xC2\x9B"
       "2J \xC2\xA0 データ",
       "\\x9B2J \xC2\xA0 データ"},  // U+009B, a terminal's ESC [
      {"\xC2", "\xC2"},
      {"\xC2\x80\xC2\x9F", "\\x80\\x9F"},  // the first and last of that range
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ShownText(row.text), row.shown) << row.text;
    EXPECT_EQ(ShownText(row.shown), row.shown) << row.text;  // a shown text shows as it is
  }
}

}  // namespace
}  // namespace vesko
