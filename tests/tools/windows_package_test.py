#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The Windows packaging tool's DLLs, licences, zip, installer and winget manifest, alike from build to build."""
import hashlib
import os
import shutil
import subprocess
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

import msi_files
import windows_package as wp

EPOCH = 1767225600  # 2026-01-01 00:00:00 UTC
TOP = "xpcalc-1.01-win64"
RUNTIME = {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}
CORE = "#include <string>\n#include <cstdio>\nstd::string core(int);\n"
EXPORT = "__declspec(dllexport) int {}() {{ return {}; }}"
# Qt's stand-ins: a core DLL needing the C++ runtime, plugins needing it and a DLL the program does not, and a DLL
# THIRD-PARTY.txt does not name.
BUILDS = [("qt/bin/Qt6Core.dll", "#include <string>\n__declspec(dllexport) std::string core(int n) { return {}; }", []),
          ("qt/bin/Qt6Unused.dll", EXPORT.format("unused", 1), []),
          ("qt/bin/Qt6Gui.dll", EXPORT.format("gui", 1), []),
          *[(f"qt/plugins/{plugin}", CORE + "int gui();\n" + EXPORT.format("plugin", "int(core(2).size()) + gui()"),
             ["qt/bin/Qt6Core.dll", "qt/bin/Qt6Gui.dll"]) for plugin in wp.PLUGINS],
          ("app/xpcalc.exe", CORE + "int main() { std::puts(core(3).c_str()); }", ["qt/bin/Qt6Core.dll"]),
          ("unnamed/xpcalc.exe", "int unused();\nint main() { return unused(); }", ["qt/bin/Qt6Unused.dll"])]


def write(path, data=b"", mode=0o644):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    Path(path).write_bytes(data)
    os.chmod(path, mode)
    return path


def sections(path):
    return subprocess.run([f"{wp.MINGW}-objdump", "-h", path], check=True, capture_output=True, text=True).stdout


class WindowsPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.environ["SOURCE_DATE_EPOCH"] = str(EPOCH)
        cls.work = cls.enterClassContext(tempfile.TemporaryDirectory())
        for out, code, libs in BUILDS:
            shared = ["-shared"] if out.endswith(".dll") else []
            subprocess.run([f"{wp.MINGW}-g++-posix", "-g", *shared, "-o", write(cls.at(out)), "-x", "c++", "-",
                            "-x", "none", *map(cls.at, libs)], input=code, text=True, check=True)
            if out.endswith("xpcalc.exe"):
                write(cls.at(os.path.dirname(out), "CMakeCache.txt"), b"CMAKE_PROJECT_VERSION:STATIC=1.01\n")
        write(cls.at("upper", "QT6CORE.DLL"), Path(cls.at("qt/bin/Qt6Core.dll")).read_bytes())
        write(cls.at("upper", "LIBWINPTHREAD-1.DLL"), Path(cls.at("qt/bin/Qt6Unused.dll")).read_bytes())

    @classmethod
    def at(cls, *parts):
        return os.path.join(cls.work, *parts)

    # A DLL in Qt's folder and in MinGW's runtime alike is Qt's.
    def test_deploy_brings_every_dll_loaded_stripped_and_leaves_the_rest_to_windows(self):
        for qt_bin, brought, left in [("upper", {"QT6CORE.DLL", "LIBWINPTHREAD-1.DLL"}, ["KERNEL32.dll", "msvcrt.dll"]),
                                      ("missing", set(), ["KERNEL32.dll", "Qt6Core.dll", "msvcrt.dll"])]:
            with self.subTest(qt_bin):
                dest = tempfile.mkdtemp(dir=self.at())
                self.assertEqual(wp.deploy(dest, [shutil.copy(self.at("app/xpcalc.exe"), dest)], self.at(qt_bin)), left)
                runtime = {dll for dll in RUNTIME if dll.upper() not in brought}
                self.assertEqual(set(os.listdir(dest)), brought | runtime | {"xpcalc.exe"})
                for dll in brought:
                    self.assertNotIn(".debug_info", sections(os.path.join(dest, dll)))

    def test_a_copyright_file_without_the_whole_gcc_runtime_exception_is_refused(self):
        text = Path(wp.GCC_COPYRIGHT).read_text()
        for broken in (text[:text.index("GCC RUNTIME LIBRARY EXCEPTION")], text[:text.index("No Weakening")]):
            with self.subTest(broken[-40:]), self.assertRaises(wp.PackageError):
                wp.gcc_runtime_exception(broken)

    def test_the_zip_and_its_installer_are_alike_whatever_the_files_times_modes_and_order(self):
        files = {"xpcalc.exe": b"MZ", "b-c.txt": b"b", "b/c.txt": b"c", "b_c.txt": b"d", "licenses/GPL-3.txt": b"G\r\n"}
        for order, mode in [(list, 0o644), (reversed, 0o600)]:
            for name in order(sorted(files)):
                path = write(self.at(f"{mode:o}", TOP, name), files[name], 0o755 if name.endswith(".exe") else mode)
                os.utime(path, (EPOCH + mode, EPOCH + mode))
            wp.make_zip(self.at(f"{mode:o}", TOP), self.at(f"{mode:o}.zip"), EPOCH)
        wp.make_zip(self.at("644", TOP), self.at("later.zip"), EPOCH + 86400)
        self.assertEqual(Path(self.at("644.zip")).read_bytes(), Path(self.at("600.zip")).read_bytes())
        self.assertNotEqual(Path(self.at("644.zip")).read_bytes(), Path(self.at("later.zip")).read_bytes())
        with zipfile.ZipFile(self.at("644.zip")) as archive:
            entries = archive.infolist()
            self.assertEqual([e.filename for e in entries], [f"{TOP}/{path}" for path in [
                "", "b-c.txt", "b/", "b/c.txt", "b_c.txt", "licenses/", "licenses/GPL-3.txt", "xpcalc.exe"]])
            self.assertEqual([entries[i].external_attr >> 16 for i in (7, 1, 2)], [0o100755, 0o100644, 0o40755])
            self.assertEqual({e.filename[len(TOP) + 1:]: archive.read(e) for e in entries if not e.is_dir()}, files)
        wp.make_msi(self.at("644.zip"), "1.01", self.at("x.msi"), EPOCH)
        self.assertEqual(sorted(row["FileName"].split("|")[-1] for row in msi_files.table(self.at("x.msi"), "File")),
                         sorted(os.path.basename(path) for path in files))
        wp.make_zip(self.at("644", TOP, "b"), self.at("none.zip"), EPOCH)
        with self.assertRaises(wp.PackageError):  # no program to install
            wp.make_msi(self.at("none.zip"), "1.01", self.at("none.msi"), EPOCH)

    def test_the_winget_manifest_fills_in_the_installers_sha256_alone(self):
        source, sha256 = os.path.join(wp.ROOT, "packaging", "windows", "winget"), hashlib.sha256(b"MSI").hexdigest()
        wp.winget_manifest(write(self.at("a.msi"), b"MSI"), self.at("winget"))
        for name in os.listdir(source):
            self.assertEqual(Path(self.at("winget"), name).read_text(),
                             Path(source, name).read_text().replace("0" * 64, sha256), name)
        with self.assertRaises(wp.PackageError):  # nothing left to fill in
            wp.winget_manifest(self.at("a.msi"), self.at("again"), self.at("winget"))

    def test_the_package_whole_alike_from_build_to_build(self):
        for out in ("one", "two/build"):
            time.sleep(1.1)  # a clock that has moved on between the builds
            wp.package(self.at("app"), self.at("qt"), self.at(out))
        name, again = self.at("one", TOP), self.at("two/build", TOP)
        for suffix in (".zip", ".msi"):
            self.assertEqual(Path(name + suffix).read_bytes(), Path(again + suffix).read_bytes(), suffix)
        self.assertEqual(set(msi_files.files_of(name)), {
            "xpcalc.exe", "Qt6Core.dll", "Qt6Gui.dll", *RUNTIME, *wp.PLUGINS, "LICENSE.txt", "THIRD-PARTY.txt",
            "licenses/winpthreads.txt", "licenses/LGPL-3.txt", "licenses/GPL-3.txt", "licenses/GCC-exception-3.1.txt"})
        self.assertNotIn(".debug_info", sections(os.path.join(name, "xpcalc.exe")))
        licence = Path(name, "licenses", "GCC-exception-3.1.txt").read_bytes()
        self.assertTrue(licence.startswith(b"GCC RUNTIME LIBRARY EXCEPTION\r\n") and licence.endswith(b"of GCC.\r\n"))
        self.assertIn(hashlib.sha256(Path(name + ".msi").read_bytes()).hexdigest(),
                      Path(self.at("one", "winget", "Kestrow.ExperienceCalculator.installer.yaml")).read_text())
        wp.make_msi(name + ".zip", "1.02", name + "-newer.msi", EPOCH)
        own, newer = msi_files.properties(name + ".msi"), msi_files.properties(name + "-newer.msi")
        self.assertEqual((own["ProductVersion"], own["ProductCode"], newer["ProductVersion"], newer["UpgradeCode"]),
                         ("1.01", msi_files.codes("1.01", [])[0], "1.02", own["UpgradeCode"]))
        self.assertNotEqual(newer["ProductCode"], own["ProductCode"])
        with self.assertRaisesRegex(wp.PackageError, "Qt6Unused.dll"):
            wp.package(self.at("unnamed"), self.at("qt"), self.at("unnamed", "out"))


if __name__ == "__main__":
    unittest.main()
