"""Checks that every system file a traced run read comes with the set-up list's packages.

A file is accounted for when a package that owns it is in the closure of the list over Depends and
Pre-Depends (as `apt-get install --no-install-recommends` would install it on a fresh Debian), or
in the closure of the packages Debian marks essential or priority required (there on every
machine). Anything else was there only because this machine had it: a fresh machine would not.
"""

import argparse
import glob
import os
import re
import subprocess
import sys

# Folders whose files come from Debian packages. /bin, /sbin and /lib point into /usr on a merged
# system; their files are compared by their real folder.
SYSTEM_DIRS = ("/usr/", "/lib/", "/lib32/", "/lib64/", "/libx32/", "/bin/", "/sbin/")

# Files under /usr that no package ships but a tool makes on the machine. The C library reads the
# locale archive when it exists (localedef makes it, as tools/ci-windows does for the Japanese
# locale) and otherwise the C.utf8 files that libc-bin ships; Python's compiled modules are made by
# py3compile when Python is installed.
GENERATED = (
    re.compile(r"/usr/lib/locale/locale-archive$"),
    # The X server's font folder indexes, made by mkfontdir and update-fonts-alias when fonts are installed.
    re.compile(r"/usr/share/fonts/X11/[^/]+/fonts\.(dir|alias|scale)$"),
    re.compile(r"/usr/lib/python3[^/]*/(.*/)?__pycache__/[^/]+\.pyc$"),
)

# Files named for each missing package.
SHOWN = 3

APT_DEPENDS = ["apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests",
               "--no-conflicts", "--no-breaks", "--no-replaces", "--no-enhances"]

_ESCAPE = re.compile(rb'\\(x[0-9a-fA-F]{2}|[0-7]{1,3}|.)')
_SIMPLE_ESCAPES = {b"n": b"\n", b"t": b"\t", b"r": b"\r", b"v": b"\v", b"f": b"\f"}


def _unescape(text):
    """Undoes strace's escaping of a quoted string or an <fd path>."""

    def one(match):
        code = match.group(1)
        if code[:1] == b"x" and len(code) == 3:
            return bytes([int(code[1:], 16)])
        if code[:1].isdigit():
            return bytes([int(code, 8) & 0xFF])
        return _SIMPLE_ESCAPES.get(code, code)

    return _ESCAPE.sub(one, text).decode("utf-8", "surrogateescape")


# 1234 openat(AT_FDCWD</cwd>, "path", O_RDONLY|O_CLOEXEC) = 3</resolved/path>
_OPEN = re.compile(
    rb'^\d+ +open(?:at2?)?\((?:(?:AT_FDCWD|\d+)<(?P<dir>(?:[^>\\]|\\.)*)>, )?"(?P<path>(?:[^"\\]|\\.)*)"'
    rb'(?P<args>.*)\) = \d+<(?P<resolved>(?:[^>\\]|\\.)*)>$')
# 1234 execve("path", ["argv0", ...], 0x... /* 12 vars */) = 0
_EXEC = re.compile(rb'^\d+ +execve(?:at)?\((?:\d+<[^>]*>, )?"(?P<path>(?:[^"\\]|\\.)*)"')


def read_trace(lines):
    """The files a `strace -f -z -y -e trace=open,openat,openat2,execve,execveat` log shows.

    Returns (opened, executed), both in the order first seen: opened holds (path as named, path the
    kernel opened) pairs, executed the programs started, as named. Directories opened for listing
    are left out.
    """
    opened, executed = {}, {}
    for line in lines:
        line = line.rstrip(b"\n")
        match = _OPEN.match(line)
        if match:
            if b"O_DIRECTORY" in match.group("args"):
                continue
            path = _unescape(match.group("path"))
            if not path.startswith("/") and match.group("dir") is not None:
                path = os.path.join(_unescape(match.group("dir")), path)
            opened.setdefault((path, _unescape(match.group("resolved"))))
            continue
        match = _EXEC.match(line)
        if match:
            executed.setdefault(_unescape(match.group("path")))
    return opened, executed


def parse_apt_depends(text):
    """The dependency groups of each package in `apt-cache depends` output.

    Each group is a list of alternatives, each alternative the list of packages that satisfy it
    (one real package, or the providers of a virtual one).
    """
    graph = {}
    groups = None
    alternative = None
    continues = False
    for line in text.splitlines():
        if not line.strip():
            continue
        if not line.startswith(" "):
            name = line.strip()
            # A virtual package's own entry lists nothing of interest.
            groups = None if name.startswith("<") else graph.setdefault(_bare(name), [])
            continue
        if groups is None:
            continue
        match = re.match(r"^ ([ |])(Depends|PreDepends): (.*)$", line)
        if match:
            target = match.group(3).strip()
            alternative = [] if target.startswith("<") else [_bare(target)]
            if continues:
                groups[-1].append(alternative)
            else:
                groups.append([alternative])
            continues = match.group(1) == "|"
        elif line.startswith("    ") and alternative is not None:
            alternative.append(_bare(line.strip()))  # a provider of the virtual package above
        else:  # another kind of relation ends the group
            alternative, continues = None, False
    return graph


def _bare(name):
    """A package name without its architecture qualifier."""
    return name.split(":", 1)[0]


def closure(graph, roots):
    """The packages `apt-get install --no-install-recommends roots` leaves on the machine.

    Of alternatives, one of the roots is taken when it satisfies the group (apt keeps what is
    installed or being installed), otherwise the first alternative, as apt would on a fresh machine.
    """
    root_set = set(roots)
    result = set()
    pending = list(roots)
    while pending:
        package = pending.pop()
        if package in result:
            continue
        result.add(package)
        for group in graph.get(package, []):
            chosen = next((alt for alt in group if root_set.intersection(alt)), None)
            if chosen is None:
                chosen = next((alt for alt in group if alt), [])
            pending.extend(p for p in chosen if p not in result)
    return result


def system_packages():
    """Installed packages that every Debian machine has: essential or priority required."""
    out = subprocess.run(["dpkg-query", "-W", "-f=${Package}\t${Essential}\t${Priority}\n"],
                         check=True, capture_output=True, text=True).stdout
    return {fields[0] for fields in (line.split("\t") for line in out.splitlines())
            if len(fields) == 3 and (fields[1] == "yes" or fields[2] == "required")}


class Paths:
    """Compares paths by their real folder: /lib/x/libc.so.6 and /usr/lib/x/libc.so.6 are one."""

    def __init__(self):
        self._dirs = {}

    def key(self, path):
        folder, name = os.path.split(path)
        real = self._dirs.get(folder)
        if real is None:
            real = self._dirs[folder] = os.path.realpath(folder)
        return os.path.join(real, name)


def file_owners(paths, info_dir="/var/lib/dpkg/info"):
    """Maps each file of each installed package (by its real folder) to the packages shipping it."""
    owners = {}
    for list_file in glob.glob(os.path.join(info_dir, "*.list")):
        package = _bare(os.path.basename(list_file)[: -len(".list")])
        with open(list_file, "rb") as listed:
            for raw in listed:
                path = raw.rstrip(b"\n").decode("utf-8", "surrogateescape")
                owners.setdefault(paths.key(path), set()).add(package)
    return owners


def in_system_dirs(path):
    return path.startswith(SYSTEM_DIRS)


def interpreter(program):
    """The program named on a script's #! line, or None."""
    try:
        with open(program, "rb") as script:
            first = script.readline(512)
    except OSError:
        return None
    if not first.startswith(b"#!"):
        return None
    words = first[2:].split()
    return words[0].decode("utf-8", "surrogateescape") if words else None


def find_unaccounted(opened, executed, owners, allowed, paths, own_trees):
    """The files read that no allowed package brings.

    Returns (missing, foreign): missing maps the packages owning such a file (a sorted tuple, none
    of them allowed) to the files, in the order read (programs last); foreign holds files under the
    system folders that no package ships, and programs started from outside the system folders and
    the project's own trees.
    """
    reads = dict(opened)
    foreign = {}
    programs = [p for p in executed if p.startswith("/")]
    programs += [s for s in map(interpreter, programs) if s and s.startswith("/")]
    for program in programs:
        real = os.path.realpath(program)
        reads.setdefault((program, real))
        if not in_system_dirs(real) and not real.startswith(own_trees):
            foreign.setdefault(real)

    missing = {}
    for named, real in reads:
        for path in dict.fromkeys([paths.key(named) if named.startswith("/") else real, real]):
            if not in_system_dirs(path) or os.path.isdir(path):
                continue
            packages = owners.get(path)
            if packages is None:
                # A link made on the machine (alternatives, ldconfig) counts by what it points to.
                if path != real or any(g.search(path) for g in GENERATED):
                    continue
                foreign.setdefault(path)
            elif not packages & allowed:
                missing.setdefault(tuple(sorted(packages)), {}).setdefault(path)
    return missing, list(foreign)


def read_list(text):
    """Package names from a list: one or more a line, `#` starts a comment."""
    return [word for line in text.splitlines() for word in line.split("#", 1)[0].split()]


def main(argv):
    parser = argparse.ArgumentParser(prog="tools/check-packages", description=__doc__)
    parser.add_argument("--list", help="the package list (- for standard input); "
                        "by default the one `tools/setup --list` prints")
    parser.add_argument("--trace", required=True, help="the strace log of the run")
    parser.add_argument("--root", required=True, help="the project's folder")
    parser.add_argument("--all-files", action="store_true",
                        help=f"name every file of a missing package, not only the first {SHOWN}")
    args = parser.parse_args(argv)

    if args.list is None:
        setup = os.path.join(args.root, "tools", "setup")
        listed = read_list(subprocess.run([setup, "--list"], check=True, capture_output=True,
                                          text=True).stdout)
    elif args.list == "-":
        listed = read_list(sys.stdin.read())
    else:
        with open(args.list, encoding="utf-8") as list_file:
            listed = read_list(list_file.read())

    system = system_packages()
    roots = sorted(set(listed) | system)
    depends = subprocess.run(APT_DEPENDS + roots, capture_output=True, text=True)
    if depends.returncode != 0:
        sys.stderr.write(depends.stderr)
        return 2
    graph = parse_apt_depends(depends.stdout)
    unknown = [package for package in listed if package not in graph]
    if unknown:
        print(f"check-packages: not a package apt-cache knows (a virtual one or a misspelt name): "
              f"{' '.join(unknown)}", file=sys.stderr)
        return 2
    allowed = closure(graph, roots)

    with open(args.trace, "rb") as trace:
        opened, executed = read_trace(trace)
    paths = Paths()
    owners = file_owners(paths)
    tmp = os.environ.get("TMPDIR", "/tmp").rstrip("/") + "/"
    own_trees = tuple({os.path.realpath(args.root) + "/", tmp, "/tmp/", "/var/tmp/", "/proc/"})
    missing, foreign = find_unaccounted(opened, executed, owners, allowed, paths, own_trees)

    system_files = {real for _, real in opened if in_system_dirs(real)}
    print(f"check-packages: the run read {len(system_files)} system files and started "
          f"{len(executed)} programs; the list's {len(listed)} packages bring {len(allowed)} "
          "with the essential and required ones")
    if not missing and not foreign:
        print("check-packages: every file read comes with the listed packages")
        return 0
    if missing:
        print("check-packages: files read from packages the list does not bring "
              "(add the package to tools/setup):")
        for packages, files in sorted(missing.items()):
            files = list(files)
            shown = len(files) if args.all_files else SHOWN
            more = f" and {len(files) - shown} more" if len(files) > shown else ""
            print(f"  {' or '.join(packages)}: {', '.join(files[:shown])}{more}")
    if foreign:
        print("check-packages: files read that no Debian package ships:")
        for path in foreign:
            print(f"  {path}")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
