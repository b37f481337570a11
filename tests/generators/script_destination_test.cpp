#include "generators/script_destination.h"

#include <gtest/gtest.h>

#include <string>

#include "core/line_sink.h"
#include "core/script_naming.h"
#include "generators/script_summary.h"
#include "tests/support/generator_samples.h"

namespace vesko {
namespace {

// The destination line names the files the written script really opens, for every generator and script
// form, in a Windows folder, a POSIX one and a folder whose name Tcl must escape.
TEST(ScriptDestinationTest, AgreesWithTheWrittenScript) {
  for (const test::GeneratorSample& sample : test::GeneratorSamples()) {
    for (const std::string folder : {"C:\\data\\may", "/data/may", "/data/run [1] $x"}) {
      SCOPED_TRACE(sample.name + " in " + folder);
      SummarySink sink;
      sample.check("", "").write(folder, sink);
      const ScriptDestination destination = sample.destination(folder);
      EXPECT_EQ(destination.resultFiles, sink.Summary({}).resultFiles);
      EXPECT_EQ(destination.script, ScriptPath(folder, sample.scriptFile));
    }
  }
}

// A name the checks would refuse has no destination; spaces around a usable one are not part of it.
TEST(ScriptDestinationTest, NameBox) {
  const struct {
    const char* box;
    const char* script;  // the file name in the folder; empty: no destination
  } rows[] = {{"", ""}, {".tcl", ""}, {"a/b.tcl", ""}, {"run1", ""}, {"  run1.tcl ", "run1.tcl"}};
  for (const auto& row : rows) {
    EXPECT_EQ(DestinationOf(row.box, {""}, "/d").script, *row.script ? ScriptPath("/d", row.script) : "")
        << row.box;
  }
}

}  // namespace
}  // namespace vesko
