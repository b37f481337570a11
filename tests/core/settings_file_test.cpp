#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings_file.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using Fields = std::vector<std::string>;

Fields ReadAllFields(const std::string& text) {
  std::istringstream in(text);
  Fields fields;
  while (auto field = ReadSettingsField(in)) {
    fields.push_back(*field);
  }
  return fields;
}

TEST(SettingsFileTest, ReadSettingsField) {
  struct Row {
    std::string text;
    Fields expected;
  };
  const Row rows[] = {
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},  // LF, CR and CR LF; the last line needs no end
      {"run,1.tcl\r\n", {"run", "1.tcl"}},
      {"   2.5\r\n\t2.5 \t\r\n", {"2.5", "2.5"}},
      {"\r\n\r\nx\r\n", {"", "", "x"}},
      {"\"q\" ignored,next\r\n", {"q", "next"}},
      {"\"open, to\r\nthe end", {"open, to\r\nthe end"}},
      {"", {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReadAllFields(row.text), row.expected) << row.text;
  }
}

TEST(SettingsFileTest, SaveQuotesFieldsThatWouldNotReadBackWhole) {
  TempDir dir;
  const std::string path = dir.File("app.ini");
  const Fields fields{"1", "D:\\scan,old", " x ", "", "tab\t", "C:\\plain folder"};
  ASSERT_EQ(SaveSettings(path, fields), std::nullopt);
  EXPECT_TRUE(test::SameText("1\r\n\"D:\\scan,old\"\r\n\" x \"\r\n\r\n\"tab\t\"\r\nC:\\plain folder\r\n",
                             ReadFileBytes(path)));
  EXPECT_EQ(LoadSettings(path, 10), fields);
  EXPECT_EQ(LoadSettings(path, 2), (Fields{"1", "D:\\scan,old"}));  // stops at the field count
  EXPECT_EQ(LoadSettings(dir.File("missing.ini"), 6), Fields{});
}

}  // namespace
}  // namespace vesko
