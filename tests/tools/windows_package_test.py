#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The Windows packaging tool, on small Windows programs and DLLs built here
with MinGW-w64 in the places of the program and of Qt: which DLLs go beside
the program, the licences, the zip and the installer, alike from build to
build, and the winget manifest. No Qt for Windows is needed.

Usage: windows_package_test.py
"""
import contextlib
import hashlib
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import msi_files  # noqa: E402
import windows_package as wp  # noqa: E402

CXX = "x86_64-w64-mingw32-g++-posix"
EPOCH = 1767225600  # 2026-01-01 00:00:00 UTC
RUNTIME = {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}


def build(out, source, *flags):
    """A Windows program or DLL from C++ source text, with its debug
    information."""
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as file:
        file.write(source)
    try:
        subprocess.run([CXX, "-g", "-o", out, file.name, *flags], check=True)
    finally:
        os.unlink(file.name)


def sections(path):
    return subprocess.run([f"{wp.MINGW}-objdump", "-h", path], check=True, capture_output=True, text=True).stdout


def read(path):
    with open(path, "rb") as file:
        return file.read()


def write(path, data=b"", mode=0o644):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(data)
    os.chmod(path, mode)


class WindowsPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.environ["SOURCE_DATE_EPOCH"] = str(EPOCH)
        cls.work = tempfile.TemporaryDirectory()
        root = cls.work.name
        # A stand-in for Qt for Windows: a core DLL that needs the C++
        # runtime, the two plugins, which need the core, and a DLL nothing
        # loads; and programs that need the core and, for one, a DLL that is
        # nowhere to be found.
        cls.qt = os.path.join(root, "qt")
        core = os.path.join(cls.qt, "bin", "Qt6Core.dll")
        os.makedirs(os.path.dirname(core))
        build(core, "#include <string>\n"
              "__declspec(dllexport) std::string core(int n) { return std::string(n, 'x'); }", "-shared")
        build(os.path.join(cls.qt, "bin", "Qt6Unused.dll"), "__declspec(dllexport) int unused() { return 1; }",
              "-shared")
        for plugin in wp.PLUGINS:
            path = os.path.join(cls.qt, "plugins", plugin)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            build(path, "#include <string>\nstd::string core(int);\n"
                  "__declspec(dllexport) int plugin() { return static_cast<int>(core(2).size()); }", "-shared", core)
        gone = os.path.join(root, "gone", "Gone.dll")
        os.makedirs(os.path.dirname(gone))
        build(gone, "__declspec(dllexport) int gone() { return 0; }", "-shared")
        main = "#include <string>\n#include <cstdio>\nstd::string core(int);\n"
        cls.app = os.path.join(root, "app")
        os.makedirs(cls.app)
        build(os.path.join(cls.app, "xpcalc.exe"), main + "int main() { std::puts(core(3).c_str()); }", core)
        with open(os.path.join(cls.app, "CMakeCache.txt"), "w", encoding="utf-8") as cache:
            cache.write("CMAKE_PROJECT_NAME:STATIC=xpcalc\nCMAKE_PROJECT_VERSION:STATIC=1.01\n")
        cls.needs_gone = os.path.join(root, "needs_gone.exe")
        build(cls.needs_gone, main + "int gone();\nint main() { std::puts(core(gone()).c_str()); }", core, gone)

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def setUp(self):
        self.folder = tempfile.mkdtemp(dir=self.work.name)

    def test_deploy_brings_every_dll_loaded_and_no_other(self):
        cases = [
            # programs, Qt's bin folder as given, DLLs beside them after, DLLs left to Windows
            ("a program", ["xpcalc.exe"], "bin", {"Qt6Core.dll"} | RUNTIME, ["KERNEL32.dll", "msvcrt.dll"]),
            ("a program needing a DLL found nowhere", ["needs_gone.exe"], "bin", {"Qt6Core.dll"} | RUNTIME,
             ["Gone.dll", "KERNEL32.dll", "msvcrt.dll"]),
            ("no Qt", ["xpcalc.exe"], "missing", RUNTIME, ["KERNEL32.dll", "Qt6Core.dll", "msvcrt.dll"]),
        ]
        for case, programs, bin_folder, expected, left in cases:
            with self.subTest(case):
                dest = tempfile.mkdtemp(dir=self.folder)
                copies = []
                for program in programs:
                    source = os.path.join(self.app if program == "xpcalc.exe" else self.work.name, program)
                    copies.append(os.path.join(dest, program))
                    shutil.copyfile(source, copies[-1])
                found_left = wp.deploy(dest, copies, os.path.join(self.qt, bin_folder))
                self.assertEqual(set(os.listdir(dest)) - set(programs), expected)
                self.assertEqual(found_left, left)

    def test_deploy_strips_and_matches_names_as_windows_does(self):
        qt_bin = os.path.join(self.folder, "bin")
        os.makedirs(qt_bin)
        shutil.copyfile(os.path.join(self.qt, "bin", "Qt6Core.dll"), os.path.join(qt_bin, "QT6CORE.DLL"))
        shutil.copyfile(os.path.join(self.app, "xpcalc.exe"), os.path.join(self.folder, "xpcalc.exe"))
        wp.deploy(self.folder, [os.path.join(self.folder, "xpcalc.exe")], qt_bin)
        self.assertIn("QT6CORE.DLL", os.listdir(self.folder))
        self.assertIn(".debug_info", sections(os.path.join(qt_bin, "QT6CORE.DLL")))
        self.assertNotIn(".debug_info", sections(os.path.join(self.folder, "QT6CORE.DLL")))

    def test_the_gcc_runtime_exception_is_cut_whole_from_debians_copyright_file(self):
        with open(wp.GCC_COPYRIGHT, encoding="utf-8") as file:
            copyright_text = file.read()
        text = wp.gcc_runtime_exception(copyright_text)
        self.assertTrue(text.startswith("GCC RUNTIME LIBRARY EXCEPTION\n"))
        self.assertIn("2. No Weakening of GCC Copyleft.", text)
        self.assertNotIn("libquadmath", text)
        self.assertTrue(text.endswith(".\n"), text[-80:])
        heading = copyright_text.index("GCC RUNTIME LIBRARY EXCEPTION")
        for case, broken in [("no heading", copyright_text[:heading]),
                             ("cut short", copyright_text[:copyright_text.index("No Weakening")])]:
            with self.subTest(case), self.assertRaises(wp.PackageError):
                wp.gcc_runtime_exception(broken)

    def make_folder(self, where, order, mode):
        """A folder to zip: the same files whatever the order they are made
        in and the modes they are given, an executable among them."""
        folder = os.path.join(where, "xpcalc-1.01-win64")
        files = {"xpcalc.exe": b"MZ program", "b-c.txt": b"b", "b/c.txt": b"c", "b_c.txt": b"d",
                 "licenses/GPL-3.txt": b"GPL\r\n"}
        for name in order(sorted(files)):
            write(os.path.join(folder, name), files[name], 0o755 if name.endswith(".exe") else mode)
        return folder

    def test_the_zip_is_alike_byte_for_byte_whatever_the_files_times_modes_and_order(self):
        first = self.make_folder(os.path.join(self.folder, "one"), list, 0o644)
        second = self.make_folder(os.path.join(self.folder, "two"), reversed, 0o600)
        for path in wp.files_under(second):
            os.utime(os.path.join(second, path), (EPOCH + 1000, EPOCH + 1000))
        wp.make_zip(first, os.path.join(self.folder, "one.zip"), EPOCH)
        wp.make_zip(second, os.path.join(self.folder, "two.zip"), EPOCH)
        self.assertEqual(read(os.path.join(self.folder, "one.zip")), read(os.path.join(self.folder, "two.zip")))
        with zipfile.ZipFile(os.path.join(self.folder, "one.zip")) as archive:
            entries = archive.infolist()
            self.assertEqual([e.filename for e in entries],
                             ["xpcalc-1.01-win64/", "xpcalc-1.01-win64/b-c.txt", "xpcalc-1.01-win64/b/",
                              "xpcalc-1.01-win64/b/c.txt", "xpcalc-1.01-win64/b_c.txt",
                              "xpcalc-1.01-win64/licenses/", "xpcalc-1.01-win64/licenses/GPL-3.txt",
                              "xpcalc-1.01-win64/xpcalc.exe"])
            self.assertEqual({e.date_time for e in entries}, {(2026, 1, 1, 0, 0, 0)})
            modes = {e.filename.split("/", 1)[1]: e.external_attr >> 16 for e in entries}
            self.assertEqual((modes["xpcalc.exe"], modes["b-c.txt"], modes["b/"]), (0o100755, 0o100644, 0o40755))
            self.assertEqual(archive.read("xpcalc-1.01-win64/b/c.txt"), b"c")
        self.assertEqual(msi_files.zip_differences(first, os.path.join(self.folder, "one.zip")), [])
        wp.make_zip(first, os.path.join(self.folder, "later.zip"), EPOCH + 86400)
        self.assertNotEqual(read(os.path.join(self.folder, "one.zip")), read(os.path.join(self.folder, "later.zip")))

    def test_the_installer_holds_the_zips_files_alike_from_build_to_build(self):
        zip_path = os.path.join(self.folder, "xpcalc-1.01-win64.zip")
        wp.make_zip(self.make_folder(self.folder, list, 0o644), zip_path, EPOCH)
        builds = {}
        for version, out in [("1.01", "a/first.msi"), ("1.01", "b/second.msi"), ("1.02", "c/newer.msi")]:
            time.sleep(1.1)  # a clock that has moved on between the builds
            builds[out] = os.path.join(self.folder, out)
            wp.make_msi(zip_path, version, builds[out], EPOCH)
        first, second, newer = builds.values()
        self.assertEqual(read(first), read(second))
        own, newer_own = msi_files.properties(first), msi_files.properties(newer)
        product_code, _ = msi_files.codes("1.01", [])
        self.assertEqual((own["ProductVersion"], own["ProductCode"]), ("1.01", product_code))
        self.assertEqual(newer_own["ProductVersion"], "1.02")
        self.assertNotEqual(newer_own["ProductCode"], own["ProductCode"])
        self.assertEqual(newer_own["UpgradeCode"], own["UpgradeCode"])
        self.assertEqual(sorted(row["FileName"].split("|")[-1] for row in msi_files.table(first, "File")),
                         sorted(["xpcalc.exe", "b-c.txt", "c.txt", "b_c.txt", "GPL-3.txt"]))

        without = os.path.join(self.folder, "without")
        os.makedirs(os.path.join(without, "xpcalc-1.01-win64"))
        write(os.path.join(without, "xpcalc-1.01-win64", "README.txt"), b"no program")
        wp.make_zip(os.path.join(without, "xpcalc-1.01-win64"), os.path.join(without, "x.zip"), EPOCH)
        with self.assertRaises(wp.PackageError):
            wp.make_msi(os.path.join(without, "x.zip"), "1.01", os.path.join(without, "x.msi"), EPOCH)

    def test_the_winget_manifest_carries_the_installers_sha256(self):
        msi = os.path.join(self.folder, "some.msi")
        write(msi, b"an installer")
        dest = os.path.join(self.folder, "winget")
        sha256 = wp.winget_manifest(msi, dest)
        self.assertEqual(sha256, hashlib.sha256(b"an installer").hexdigest())
        source = os.path.join(wp.ROOT, "packaging", "windows", "winget")
        self.assertEqual(sorted(os.listdir(dest)), sorted(os.listdir(source)))
        for name in os.listdir(source):
            with open(os.path.join(source, name), encoding="utf-8") as file:
                before = file.read().split("\n")
            with open(os.path.join(dest, name), encoding="utf-8") as file:
                after = file.read().split("\n")
            changed = [(b, a) for b, a in zip(before, after) if b != a]
            if name.endswith(".installer.yaml"):
                self.assertEqual(changed, [("  InstallerSha256: " + "0" * 64, "  InstallerSha256: " + sha256)])
            else:
                self.assertEqual(changed, [])
        # A source whose placeholder is already filled in, or missing, is refused.
        filled = os.path.join(self.folder, "filled")
        shutil.copytree(dest, filled)
        with self.assertRaises(wp.PackageError):
            wp.winget_manifest(msi, os.path.join(self.folder, "again"), filled)

    def test_the_package_whole(self):
        outs = [os.path.join(self.folder, "one"), os.path.join(self.folder, "second", "build")]
        for out in outs:
            with contextlib.redirect_stdout(io.StringIO()):
                wp.package(self.app, self.qt, out)
        name = "xpcalc-1.01-win64"
        for suffix in (".zip", ".msi"):
            self.assertEqual(read(os.path.join(outs[0], name + suffix)), read(os.path.join(outs[1], name + suffix)),
                             f"{name}{suffix} differs between two builds")
        folder = os.path.join(outs[0], name)
        self.assertEqual(set(msi_files.files_of(folder)),
                         {"xpcalc.exe", "Qt6Core.dll", *RUNTIME, *wp.PLUGINS, "LICENSE.txt", "THIRD-PARTY.txt",
                          "licenses/winpthreads.txt", "licenses/LGPL-3.txt", "licenses/GPL-3.txt",
                          "licenses/GCC-exception-3.1.txt"})
        self.assertEqual(msi_files.zip_differences(folder, os.path.join(outs[0], name + ".zip")), [])
        licence = read(os.path.join(folder, "licenses", "GCC-exception-3.1.txt"))
        self.assertEqual(licence.count(b"\n"), licence.count(b"\r\n"))
        self.assertTrue(licence.startswith(b"GCC RUNTIME LIBRARY EXCEPTION\r\n"))
        with open(os.path.join(outs[0], "winget", "Kestrow.ExperienceCalculator.installer.yaml"),
                  encoding="utf-8") as manifest:
            self.assertIn(hashlib.sha256(read(os.path.join(outs[0], name + ".msi"))).hexdigest(), manifest.read())

    def test_a_dll_the_licence_note_does_not_name_stops_the_package(self):
        qt = os.path.join(self.folder, "qt")
        shutil.copytree(self.qt, qt)
        build(os.path.join(qt, "bin", "Qt6Extra.dll"), "__declspec(dllexport) int unused() { return 1; }", "-shared")
        app = os.path.join(self.folder, "app")
        shutil.copytree(self.app, app)
        build(os.path.join(app, "xpcalc.exe"), "int unused();\nint main() { return unused(); }",
              os.path.join(qt, "bin", "Qt6Extra.dll"))
        with self.assertRaisesRegex(wp.PackageError, "Qt6Extra.dll"), contextlib.redirect_stdout(io.StringIO()):
            wp.package(app, qt, os.path.join(self.folder, "out"))


if __name__ == "__main__":
    unittest.main()
