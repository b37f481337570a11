#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/line_sink.h"
#include "generators/form_fields.h"
#include "tests/support/test_support.h"

namespace vesko::test {

/// The script a window writes from `form`, which must pass its checks (a test failure otherwise).
template <FolderScriptGenerator Form>
std::string ScriptOf(const Form& form, const std::string& outputFolder = "C:\\data") {
  const auto p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  StringSink sink;
  if (p.ok()) {
    BuildScript(*p, outputFolder, sink);
  }
  return sink.text();
}

/// Stores the checked `typed` form in `path` as exactly `bytes`; a fresh window that loads the file and
/// stores it again must write the same bytes.
template <Generator Form>
void ExpectSettingsRoundTrip(const Form& typed, const std::string& path, const std::string& bytes) {
  const auto p = Validate(typed);
  ASSERT_TRUE(p.ok()) << p.message();
  ASSERT_EQ(SaveSettings(path, *p), std::nullopt);
  EXPECT_TRUE(SameText(bytes, ReadFileBytes(path)));
  Form loaded;
  LoadSettings(path, loaded);
  const auto again = Validate(loaded);
  ASSERT_TRUE(again.ok()) << again.message();
  ASSERT_EQ(SaveSettings(path, *again), std::nullopt);
  EXPECT_TRUE(SameText(bytes, ReadFileBytes(path))) << "after loading it back";
}

}  // namespace vesko::test
