"""The mutation run's choice of mutants, its list file and its naming of the tests that kill."""

import importlib.machinery
import importlib.util
import os
import tempfile
import unittest

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
# tools/mutate has no .py suffix: load it by hand.
loader = importlib.machinery.SourceFileLoader("mutate", os.path.join(TOOLS, "mutate"))
mutate = importlib.util.module_from_spec(importlib.util.spec_from_loader("mutate", loader))
loader.exec_module(mutate)


class MutantsTest(unittest.TestCase):
    def test_line_mutants(self):
        rows = [
            ("  if (a < b) {", {("relational", "  if (a <= b) {"), ("negated", "  if (!(a < b)) {")}),
            ("  total += v[i] * 2;", {("arithmetic", "  total -= v[i] * 2;"),
                                      ("arithmetic", "  total += v[i] / 2;"),
                                      ("off-by-one", "  total += v[i + 1] * 2;"),
                                      ("constant", "  total += v[i] * 3;"),
                                      ("dropped", "  ;")}),
            ("  for (int i = 0; i < n - 1; ++i) {", {("constant", "  for (int i = 1; i < n - 1; ++i) {"),
                                                     ("relational", "  for (int i = 0; i <= n - 1; ++i) {"),
                                                     ("arithmetic", "  for (int i = 0; i < n + 1; ++i) {"),
                                                     ("off-by-one", "  for (int i = 0; i < n; ++i) {"),
                                                     ("constant", "  for (int i = 0; i < n - 2; ++i) {"),
                                                     ("arithmetic", "  for (int i = 0; i < n - 1; --i) {")}),
            ("  ok = x && y;", {("logical", "  ok = x || y;"), ("dropped", "  ;")}),
            # No mutant inside literals and comments, in stream or arrow operators, or of a declaration.
            ('  std::string s = "a < b, 1";  // x == 2', set()),
            ("  out << '<' << 1'000;", {("constant", "  out << '<' << 1001;"), ("dropped", "  ;")}),
            ("  auto f = [&](int v) -> bool { return v; };", set()),
        ]
        for line, expected in rows:
            with self.subTest(line=line):
                code = mutate.code_only(line)
                self.assertEqual(len(code), len(line))
                self.assertEqual(set(mutate.line_mutants(line, code, True)), expected)
        # A line that continues a statement is never dropped.
        self.assertEqual(mutate.line_mutants("      f(x);", "      f(x);", False), [])

    def test_list_round_trip(self):
        mutants = [("core/a.cpp", 3, "constant", "\tx = '\\t';", "\tx = '\\n';")]
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "list.tsv")
            mutate.write_list(path, mutants, "header")
            read = mutate.read_list(path)
        self.assertEqual([(m["file"], m["line"], m["kind"], m["old"], m["new"]) for m in read], mutants)

    def test_file_of(self):
        by_case = {"FormatTest.Rounds": "tests/core/format_test.cpp"}
        by_stem = {"main_menu_test": "tests/ui/main_menu_test.cpp", "fuzz_numbers": "tests/fuzz/fuzz_numbers.cpp"}
        rows = [("FormatTest.Rounds", "tests/core/format_test.cpp"),
                ("Values/FormatTest.Rounds/3", "tests/core/format_test.cpp"),
                ("main_menu_test", "tests/ui/main_menu_test.cpp"),
                ("fuzz_numbers_corpus", "tests/fuzz/fuzz_numbers.cpp"),
                ("unknown", "unknown")]
        for test, expected in rows:
            self.assertEqual(mutate.file_of(test, by_case, by_stem), expected)

    def test_reaching_tests(self):
        # Lines 10-20 form a function run by tests 0 and 1; a lambda on lines 14-15 runs in test 1 only.
        document = {"tests": ["A", "B", "C"],
                    "lines": {"core/a.cpp": {"11": [0, 1], "12": [], "14": [1]}},
                    "functions": {"core/a.cpp": [[10, 20, [0, 1]], [14, 15, [1]]]}}
        rows = [(11, ["A", "B"]), (12, []), (15, ["B"]), (13, ["A", "B"]), (30, None)]
        for line, expected in rows:
            self.assertEqual(mutate.reaching_tests(document, "core/a.cpp", line), expected, line)
        self.assertIsNone(mutate.reaching_tests(document, "core/b.cpp", 11))

    def test_moved_line(self):
        mutant = {"line": 2, "old": "  x = 1;"}
        rows = [(["", "  x = 1;"], 2), (["", "", "  x = 1;"], 3), (["  x = 1;", "", "  x = 1;"], None), ([""], None)]
        for lines, expected in rows:
            self.assertEqual(mutate.moved_line(lines, mutant), expected, lines)


if __name__ == "__main__":
    unittest.main()
