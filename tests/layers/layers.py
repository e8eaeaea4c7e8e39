#!/usr/bin/env python3
"""The layers of the program, checked from its sources.

Reads every `#include "..."` of the program's folders and fails on a folder edge
that the table below does not allow; also checks that every library declares
in CMake (velmora_library ... DEPENDS) the lower libraries it includes, and
that only Windows glue (*Win32.cpp, *Win32.h) includes the Windows headers.

    layers.py [--root DIR]            check, exit status 1 on a violation
    layers.py [--root DIR] --graph    print the folder-level include graph

Bottom to top:

    client/ protocol/ game/ sidewindows/ dialogs/   the top: may use each other
    world/
    net/ (transport: needs only platform/)
    engine/gui/
    engine/
    platform/

A lower folder never includes an upper one. Where a lower object must tell an
upper one something, the upper layer installs a callback or a small interface
declared below (for example `GuiLayer`, through which the application object
hands its input to the GUI manager).
"""
import argparse
import collections
import os
import re
import sys

PLATFORM = "platform"
ENGINE = "engine"
GUI = "engine/gui"
NET = "net"
WORLD = "world"
TOP = ("client", "protocol", "game", "sidewindows", "dialogs")

# Folder -> the folders its files may include (besides its own). A subfolder
# (dialogs/trade) belongs to the longest entry that is a prefix of it, so new
# files and subfolders of a known folder need no new row.
ALLOWED = {
    PLATFORM: set(),
    ENGINE: {PLATFORM},
    GUI: {ENGINE, PLATFORM},
    NET: {PLATFORM},
    WORLD: {NET, GUI, ENGINE, PLATFORM},
}
for _top in TOP:
    ALLOWED[_top] = {PLATFORM, ENGINE, GUI, NET, WORLD, *TOP}

# The folders above the program: they may include any part of it, and the
# program includes nothing of them.
OUTSIDE = ("tests", "bench", "fuzz", "tools")
# Not the program's code: build output and the build's own files.
IGNORED = ("build", "cmake", "docs", "resources", "scripts")

# The top libraries call each other both ways (the client owns the protocol and
# the game screen, handlers hand their fields to them, dialogs call back into
# their owner) and are linked as one group; they declare only lower libraries.
TOP_GROUP = set(TOP)

WINDOWS_HEADERS = {
    "windows.h", "winsock2.h", "ws2tcpip.h", "ddraw.h", "d3d9.h", "d3dx9.h", "gl/gl.h",
    "shellapi.h", "shlobj.h", "mmsystem.h", "windowsx.h", "commctrl.h",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
SOURCE_SUFFIXES = (".cpp", ".h")


def area_of(folder):
    """The table row a folder belongs to, or None."""
    best = None
    for key in list(ALLOWED) + list(OUTSIDE):
        if folder == key or folder.startswith(key + "/"):
            if best is None or len(key) > len(best):
                best = key
    return best


def program_folders(root=None):
    """The table's folders, and with a root also every other top folder that
    holds sources (a new folder must get a row before it is used)."""
    folders = list(ALLOWED)
    if root is not None:
        for name in sorted(os.listdir(root)):
            if name in folders or name in OUTSIDE or name in IGNORED or name.startswith("."):
                continue
            if os.path.isdir(os.path.join(root, name)) and any(source_files(root, [name])):
                folders.append(name)
    return folders


def source_files(root, tops):
    for top in tops:
        base = os.path.join(root, top)
        for folder, dirs, files in os.walk(base):
            dirs[:] = sorted(d for d in dirs if not d.startswith("."))
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def includes(root, path):
    """(line number, kind, target) of every include of a file; kind is '"' or '<'."""
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if match:
                yield number, match.group(1), match.group(2)


def resolve(root, path, target):
    """The tree path a quoted include names (the including file's folder first,
    then the top of the tree, as the compiler looks), or None for one from
    outside the tree."""
    here = os.path.dirname(path)
    for candidate in (os.path.join(here, target), target):
        candidate = os.path.normpath(candidate).replace(os.sep, "/")
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def edges(root, tops):
    """(from folder, to folder) -> list of 'file:line -> include' for every
    include that crosses a folder."""
    found = collections.defaultdict(list)
    for path in source_files(root, tops):
        for number, kind, target in includes(root, path):
            if kind != '"':
                continue
            resolved = resolve(root, path, target)
            if resolved is None:
                continue
            src, dst = os.path.dirname(path), os.path.dirname(resolved)
            if src != dst:
                found[(src, dst)].append(f"{path}:{number} -> {target}")
    return found


def layer_violations(root):
    problems = []
    for folder in program_folders(root):
        if area_of(folder) is None:
            problems.append(f"{folder}/ is in no layer: add it to ALLOWED in tests/layers/layers.py")
    for (src, dst), sites in sorted(edges(root, program_folders()).items()):
        src_area, dst_area = area_of(src), area_of(dst)
        if src_area == dst_area:
            continue
        if dst_area in ALLOWED.get(src_area, ()):
            continue
        for site in sites:
            problems.append(f"{site}: {src_area}/ may not include {dst_area or dst}/")
    return problems


def windows_header_violations(root):
    problems = []
    for path in source_files(root, program_folders()):
        stem = os.path.splitext(os.path.basename(path))[0]
        if stem.endswith("Win32"):
            continue
        for number, kind, target in includes(root, path):
            if kind == "<" and target.lower() in WINDOWS_HEADERS:
                problems.append(f"{path}:{number}: <{target}> belongs in a *Win32 file")
    return problems


LIBRARY = re.compile(r"velmora_library\(\s*(\w+)([^)]*)\)", re.S)


def declared_libraries(root):
    """folder -> (library name, set of declared DEPENDS) from each folder's
    CMakeLists.txt."""
    libraries = {}
    for folder in program_folders():
        lists = os.path.join(root, folder, "CMakeLists.txt")
        if not os.path.isfile(lists):
            continue
        with open(lists, encoding="utf-8") as text:
            match = LIBRARY.search(text.read())
        if not match:
            continue
        words = match.group(2).split()
        depends = set()
        if "DEPENDS" in words:
            for word in words[words.index("DEPENDS") + 1:]:
                if word in ("EXTRA", "RECURSE"):
                    break
                depends.add(word)
        libraries[folder] = (match.group(1), depends)
    return libraries


def dependency_violations(root):
    """Every include edge from a library to a lower one is declared in its
    DEPENDS, and no library declares one it may not include."""
    libraries = declared_libraries(root)
    problems = []
    for folder in program_folders():
        if folder not in libraries:
            problems.append(f"{folder}/CMakeLists.txt declares no velmora_library")
    names = {name: folder for folder, (name, _) in libraries.items()}
    for folder, (name, depends) in sorted(libraries.items()):
        for dep in sorted(depends):
            target = names.get(dep)
            if target is None:
                continue  # a third-party or system library
            if target in TOP_GROUP and folder in TOP_GROUP:
                continue
            if target not in ALLOWED[folder]:
                problems.append(f"{folder}/CMakeLists.txt: {name} may not depend on {dep}")
    for (src, dst), sites in sorted(edges(root, program_folders()).items()):
        src_area, dst_area = area_of(src), area_of(dst)
        if src_area == dst_area or src_area not in libraries or dst_area not in libraries:
            continue
        if src_area in TOP_GROUP and dst_area in TOP_GROUP:
            continue
        name, depends = libraries[src_area]
        if libraries[dst_area][0] not in depends:
            problems.append(f"{src_area}/CMakeLists.txt: {name} includes {dst_area}/ ({sites[0]}) "
                            f"but does not declare DEPENDS {libraries[dst_area][0]}")
    return problems


def graph(root):
    """The folder-level include graph of the whole tree, one line per folder."""
    tops = sorted(d for d in os.listdir(root)
                  if os.path.isdir(os.path.join(root, d)) and not d.startswith(".") and d not in IGNORED)
    counted = collections.defaultdict(collections.Counter)
    for (src, dst), sites in edges(root, tops).items():
        counted[src][dst] += len(sites)
    lines = []
    for src in sorted(counted):
        targets = ", ".join(f"{dst} ({count})" for dst, count in sorted(counted[src].items()))
        lines.append(f"{src} -> {targets}")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    parser.add_argument("--graph", action="store_true", help="print the folder-level include graph")
    args = parser.parse_args()
    root = os.path.abspath(args.root)
    if args.graph:
        print(graph(root))
        return 0
    problems = layer_violations(root) + windows_header_violations(root) + dependency_violations(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} layer violation(s)")
        return 1
    print("layers: every include and library dependency follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
