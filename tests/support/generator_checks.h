#pragma once

#include <string>

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

}  // namespace vesko::test
