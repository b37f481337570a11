"""The package check's reading of apt-cache and strace output and its verdict on each file read."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import check_packages as cp  # noqa: E402

DEPENDS = """\
app
  Depends: lib
 |Depends: first
  Depends: second
  PreDepends: early
 |Depends: <virtual>
    provider-a
    provider-b:amd64
  Depends: fallback
lib
  Depends: app
first
  Depends: deep
second
  Depends: unreachable
early
provider-a
provider-b
deep
<virtual>
"""


class ClosureTest(unittest.TestCase):
    def test_closure(self):
        graph = cp.parse_apt_depends(DEPENDS)
        rows = [
            # roots, expected closure
            (["app"], {"app", "lib", "first", "deep", "early", "provider-a", "provider-b"}),
            # a root that satisfies the group is taken instead of the first alternative
            (["app", "second"], {"app", "lib", "second", "unreachable", "early", "provider-a",
                                 "provider-b"}),
            (["app", "fallback"], {"app", "lib", "first", "deep", "early", "fallback"}),
            (["early"], {"early"}),
            (["not-in-graph"], {"not-in-graph"}),
        ]
        for roots, expected in rows:
            with self.subTest(roots=roots):
                self.assertEqual(cp.closure(graph, roots), expected)


class TraceTest(unittest.TestCase):
    def test_read_trace(self):
        lines = [
            b'7 openat(AT_FDCWD</b>, "/lib/x/libc.so.6", O_RDONLY|O_CLOEXEC) = 3</usr/lib/x/libc.so.6>',
            b'7 openat(AT_FDCWD</usr/share>, "cmake/A.cmake", O_RDONLY) = 4</usr/share/cmake/A.cmake>',
            b'7 openat(3</usr/include>, "q\\"t.h", O_RDONLY) = 5</usr/include/q"t.h>',
            b'7 openat(AT_FDCWD</b>, "/usr/lib", O_RDONLY|O_NONBLOCK|O_CLOEXEC|O_DIRECTORY) = 3</usr/lib>',
            b'8 execve("/usr/bin/tclsh", ["tclsh", "x.tcl"], 0x7ff /* 9 vars */) = 0',
            b'8 +++ exited with 0 +++',
            b'9 open("/usr/share/f\\303\\251", O_RDONLY) = 3</usr/share/f\\303\\251>',
        ]
        opened, executed = cp.read_trace(lines)
        self.assertEqual(list(opened), [
            ("/lib/x/libc.so.6", "/usr/lib/x/libc.so.6"),
            ("/usr/share/cmake/A.cmake", "/usr/share/cmake/A.cmake"),
            ("/usr/include/q\"t.h", "/usr/include/q\"t.h"),
            ("/usr/share/f\u00e9", "/usr/share/f\u00e9"),
        ])
        self.assertEqual(list(executed), ["/usr/bin/tclsh"])


class VerdictTest(unittest.TestCase):
    """Uses files every Debian machine has; ownership and the allowed set are made up."""

    def test_find_unaccounted(self):
        libc = os.path.realpath("/lib/x86_64-linux-gnu/libc.so.6")
        env = os.path.realpath("/usr/bin/env")
        archive = "/usr/lib/locale/locale-archive"
        pyc = "/usr/lib/python3.11/__pycache__/ast.cpython-311.pyc"
        paths = cp.Paths()
        rows = [
            # reads, programs, owners, allowed, expected missing, expected foreign
            ([("/lib/x86_64-linux-gnu/libc.so.6", libc)], [], {libc: {"libc6"}}, {"libc6"}, {},
             []),
            ([("/lib/x86_64-linux-gnu/libc.so.6", libc)], [], {libc: {"libc6"}}, set(),
             {("libc6",): [libc]}, []),
            ([(libc, libc)], [], {}, set(), {}, [libc]),
            ([(archive, archive), (pyc, pyc)], [], {}, set(), {}, []),
            # a link nobody ships (like /usr/bin/c++ of the alternatives) counts by its target
            ([("/usr/lib/x86_64-linux-gnu/made-by-ldconfig.so", libc)], [], {libc: {"libc6"}},
             {"libc6"}, {}, []),
            ([], [env], {env: {"coreutils"}}, set(), {("coreutils",): [env]}, []),
            ([], ["/root/.local/bin/tool"], {}, set(), {}, ["/root/.local/bin/tool"]),
            ([], ["/tmp/test-made/tool", "relative/tool"], {}, set(), {}, []),
        ]
        for reads, programs, owners, allowed, missing, foreign in rows:
            with self.subTest(reads=reads, programs=programs, allowed=allowed):
                found = cp.find_unaccounted(dict.fromkeys(reads), dict.fromkeys(programs), owners,
                                            allowed, paths, ("/tmp/",))
                self.assertEqual(({k: list(v) for k, v in found[0].items()}, found[1]),
                                 (missing, foreign))


if __name__ == "__main__":
    unittest.main()
