#!/usr/bin/env python3
"""The layering check: the program's own tree passes, and small trees with one
fault each fail with a line that names it."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layers  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

# A minimal tree that follows the layers: one library per folder with the
# dependencies its files include.
CLEAN = {
    "platform/CMakeLists.txt": "velmora_library(platform)\n",
    "platform/Platform.h": "#pragma once\n",
    "platform/PlatformWin32.cpp": "#include <windows.h>\n#include \"platform/Platform.h\"\n",
    "engine/CMakeLists.txt": "velmora_library(engine DEPENDS platform)\n",
    "engine/KEngine2.h": "#include \"GuiLayer.h\"\n#include \"platform/Platform.h\"\n",
    "engine/GuiLayer.h": "#pragma once\n",
    "engine/gui/CMakeLists.txt": "velmora_library(gui DEPENDS engine platform)\n",
    "engine/gui/GUIManager.h": "#include \"engine/GuiLayer.h\"\n#include <vector>\n",
    "net/CMakeLists.txt": "velmora_library(net DEPENDS platform ZLIB::ZLIB)\n",
    "net/Connection.h": "#include \"platform/Platform.h\"\n#include \"zlib.h\"\n",
    "world/CMakeLists.txt": "velmora_library(world DEPENDS engine platform)\n",
    "world/Map.h": "#include \"engine/KEngine2.h\"\n",
    "client/CMakeLists.txt": "velmora_library(client DEPENDS world net gui engine platform)\n",
    "client/Client.h": "#include \"protocol/Protocol.h\"\n#include \"engine/gui/GUIManager.h\"\n",
    "protocol/CMakeLists.txt": "velmora_library(protocol DEPENDS net)\n",
    "protocol/Protocol.h": "#include \"client/Client.h\"\n#include \"net/Connection.h\"\n",
    "game/CMakeLists.txt": "velmora_library(game DEPENDS world)\n",
    "game/GameInterface.h": "#include \"world/Map.h\"\n#include \"dialogs/trade/TradeWindow.h\"\n",
    "sidewindows/CMakeLists.txt": "velmora_library(sidewindows)\n",
    "dialogs/CMakeLists.txt": "velmora_library(dialogs RECURSE DEPENDS platform)\n",
    "dialogs/trade/TradeWindow.h": "#include \"game/GameInterface.h\"\n",
    "tests/engine/KEngine2Test.cpp": "#include \"client/Client.h\"\n",
}


def write_tree(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as out:
            out.write(text)


def problems(files):
    with tempfile.TemporaryDirectory() as root:
        write_tree(root, files)
        return (layers.layer_violations(root) + layers.windows_header_violations(root)
                + layers.dependency_violations(root))


class LayersTest(unittest.TestCase):
    def test_the_program_follows_its_layers(self):
        found = (layers.layer_violations(ROOT) + layers.windows_header_violations(ROOT)
                 + layers.dependency_violations(ROOT))
        self.assertEqual(found, [], "\n" + "\n".join(found))

    def test_a_tree_that_follows_the_layers_passes(self):
        self.assertEqual(problems(CLEAN), [])

    def test_each_fault_is_reported_with_its_place(self):
        cases = [
            # (file, text, a part of the expected report)
            ("engine/Bad.cpp", '#include "engine/gui/GUIManager.h"\n',
             "engine/Bad.cpp:1 -> engine/gui/GUIManager.h: engine/ may not include engine/gui/"),
            ("platform/Bad.cpp", '\n#include "engine/KEngine2.h"\n', "platform/Bad.cpp:2"),
            ("net/Bad.cpp", '#include "world/Map.h"\n', "net/ may not include world/"),
            ("net/Bad.cpp", '#include "engine/KEngine2.h"\n', "net/ may not include engine/"),
            ("world/Bad.cpp", '#include "dialogs/trade/TradeWindow.h"\n', "world/ may not include dialogs/"),
            ("engine/gui/Bad.cpp", '#include "client/Client.h"\n', "engine/gui/ may not include client/"),
            ("client/Bad.cpp", '#include "tests/support/TestApp.h"\n', "client/ may not include tests/"),
            ("engine/Bad.cpp", "#include <windows.h>\n", "engine/Bad.cpp:1: <windows.h> belongs in a *Win32 file"),
            ("newfolder/Thing.cpp", '#include "engine/KEngine2.h"\n', "newfolder/ is in no layer"),
        ]
        for path, text, expected in cases:
            with self.subTest(path=path, text=text):
                files = dict(CLEAN)
                files.setdefault("tests/support/TestApp.h", "#pragma once\n")
                files[path] = text
                found = problems(files)
                self.assertTrue(any(expected in line for line in found), "\n".join(found) or "no report")

    def test_an_include_of_the_own_folder_by_its_short_name_stays_inside(self):
        files = dict(CLEAN)
        files["dialogs/trade/TradeDialog.cpp"] = '#include "TradeWindow.h"\n'
        self.assertEqual(problems(files), [])

    def test_undeclared_and_upward_library_dependencies(self):
        undeclared = dict(CLEAN)
        undeclared["world/CMakeLists.txt"] = "velmora_library(world DEPENDS platform)\n"
        self.assertTrue(any("world includes engine/" in line and "DEPENDS engine" in line
                            for line in problems(undeclared)))
        upward = dict(CLEAN)
        upward["engine/CMakeLists.txt"] = "velmora_library(engine DEPENDS gui platform)\n"
        self.assertIn("engine/CMakeLists.txt: engine may not depend on gui", problems(upward))
        missing = dict(CLEAN)
        del missing["sidewindows/CMakeLists.txt"]
        self.assertIn("sidewindows/CMakeLists.txt declares no velmora_library", problems(missing))

    def test_the_graph_counts_includes_per_folder_pair(self):
        with tempfile.TemporaryDirectory() as root:
            write_tree(root, CLEAN)
            graph = layers.graph(root).splitlines()
        self.assertIn("client -> engine/gui (1), protocol (1)", graph)
        self.assertIn("game -> dialogs/trade (1), world (1)", graph)


if __name__ == "__main__":
    # --root is the source tree, which the module finds by itself.
    argv = [arg for arg in sys.argv if not arg.startswith("--root")]
    if "--root" in sys.argv:
        index = sys.argv.index("--root")
        ROOT = os.path.abspath(sys.argv[index + 1])
        argv = sys.argv[:index] + sys.argv[index + 2:]
    unittest.main(argv=argv)
