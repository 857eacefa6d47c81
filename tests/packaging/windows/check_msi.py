#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Checks the Windows installer: its tables with msiinfo, then, under Wine in
the prefix WINEPREFIX names (a fresh one), what a Windows user meets, with
NEW a higher version made for the check in WORK from OLD's zip (the same
files but for one licence dropped and one file added, so that the upgrade
must remove and add):
  1. OLD installs quietly: every file of its zip, alike, in Program Files, a
     Start menu shortcut with the program's icon, and the Apps & features
     entry; the program started from the shortcut goes the user's walk
     (wine_drive.py, its screenshots in the last of DRIVE);
  2. NEW, a higher version, installs over it: one entry left, NEW's, and
     NEW's files, none of OLD's that NEW lacks;
  3. OLD over NEW is refused, and NEW stays;
  4. NEW uninstalls quietly and leaves nothing behind.

Usage: check_msi.py OLD.msi OLD.zip WORK DRIVE...
  DRIVE: the arguments of wine_drive.py
"""
import getpass
import os
import shutil
import subprocess
import sys

NAME = "Kestrow's Experience Calculator"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
HERE = os.path.dirname(os.path.abspath(__file__))
DRIVE = os.path.join(HERE, "wine_drive.py")
sys.dont_write_bytecode = True  # no cache of the shared modules in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "tools"))
import windows_package  # noqa: E402
from msi_files import properties, table, zip_differences  # noqa: E402
from wine_drive import run_wine as wine  # noqa: E402

failures = []


def check(what, ok):
    print(f"{'ok  ' if ok else 'FAIL'}  {what}", flush=True)
    if not ok:
        failures.append(what)


def msiexec(*arguments):
    """msiexec's exit code, whole: Wine hands the shell only its low 8 bits
    (1603 comes out as 67), cmd's ERRORLEVEL has all of it."""
    _, said = wine("cmd", "/c", "msiexec " + " ".join(arguments) + " & echo exit=%ERRORLEVEL%")
    # msiexec returns before the registry is written out.
    subprocess.run(["wineserver", "--wait"], check=True)
    codes = [line[5:] for line in said.splitlines() if line.startswith("exit=")]
    return int(codes[-1]) if codes else None


def windows_path(path):
    return subprocess.run(["winepath", "-w", path], check=True, capture_output=True, text=True).stdout.strip()


def entries():
    """The Apps & features entries named after the program, by product code."""
    _, said = wine("reg", "query", UNINSTALL, "/s")
    found, key = {}, None
    for line in said.splitlines():
        if line.startswith("HKEY_"):
            key = line.rsplit("\\", 1)[-1]
        elif line.split() and key:
            name, _, value = line.strip().partition("    ")
            found.setdefault(key, {})[name] = value.split("    ", 1)[-1]
    return {key: values for key, values in found.items() if values.get("DisplayName") == NAME}


def same_files(zip_path, folder):
    """Whether the folder holds the zip's files, alike, and no other."""
    differences = zip_differences(folder, zip_path)
    for difference in differences[:5]:
        print(f"      {difference}")
    return not differences


def check_tables(msi, version, expected_upgrade_code):
    """What the package itself says, read as Windows Installer reads it."""
    own = properties(msi)
    for name, value in [("ProductName", NAME), ("Manufacturer", "Kestrow"), ("ProductVersion", version),
                        ("ALLUSERS", "1"), ("ARPPRODUCTICON", "xpcalc.ico"), ("UpgradeCode", expected_upgrade_code)]:
        check(f"{os.path.basename(msi)}: Property {name} is {value}", own.get(name) == value)
    shortcuts = table(msi, "Shortcut")
    check(f"one shortcut, {NAME}, in the Start menu, to the program, with its icon",
          [(s["Directory_"], s["Name"], s["Target"], s["Icon_"]) for s in shortcuts] ==
          [("ProgramMenuFolder", NAME, "[INSTALLDIR]xpcalc.exe", "xpcalc.ico")])
    upgrades = {(row["VersionMin"], row["VersionMax"], row["ActionProperty"]) for row in table(msi, "Upgrade")
                if row["UpgradeCode"] == expected_upgrade_code}
    check("an older version is found to be replaced, a newer one to refuse",
          upgrades == {("", version, "WIX_UPGRADE_DETECTED"), (version, "", "WIX_DOWNGRADE_DETECTED")})
    return own


def newer_package(old_zip, version, work):
    """A higher version of the package in the zip, as its installer and zip."""
    major, minor = version.split(".")
    newer = f"xpcalc-{major}.{int(minor) + 1:02d}-win64"
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    folder = os.path.join(work, newer)
    os.rename(windows_package.unzip(old_zip, work), folder)
    os.remove(os.path.join(folder, "licenses", "winpthreads.txt"))
    with open(os.path.join(folder, "NEWER.txt"), "w", encoding="utf-8") as file:
        file.write("Only in the installer check's newer version.\n")
    epoch = windows_package.source_date_epoch()
    new_zip = os.path.join(work, newer + ".zip")
    windows_package.make_zip(folder, new_zip, epoch)
    new_msi = os.path.join(work, newer + ".msi")
    windows_package.make_msi(new_zip, newer.split("-")[1], new_msi, epoch)
    return new_msi, new_zip


def main(arguments):
    if len(arguments) < 4:
        print(__doc__.split("\n\n")[-1], file=sys.stderr)
        return 2
    old_msi, old_zip, work, *drive = arguments
    new_msi, new_zip = newer_package(old_zip, properties(old_msi)["ProductVersion"], work)
    upgrade_code = properties(old_msi)["UpgradeCode"]
    old = check_tables(old_msi, properties(old_msi)["ProductVersion"], upgrade_code)
    new = check_tables(new_msi, properties(new_msi)["ProductVersion"], upgrade_code)
    check("each version has a product code of its own", old["ProductCode"] != new["ProductCode"])

    drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    folder = os.path.join(drive_c, "Program Files", NAME)
    # Windows puts a per-machine package's shortcuts in the Start menu of all
    # users; Wine in the installing user's (its msi says "FIXME: set to
    # AllUsers profile path if ALLUSERS is set"). Either is looked for.
    shortcuts = [os.path.join(drive_c, "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", NAME + ".lnk"),
                 os.path.join(drive_c, "users", getpass.getuser(), "AppData", "Roaming", "Microsoft",
                              "Windows", "Start Menu", "Programs", NAME + ".lnk")]
    shortcut = lambda: next((s for s in shortcuts if os.path.isfile(s)), None)

    print(f"== {old['ProductVersion']} installs", flush=True)
    check("msiexec /i /qn succeeds", msiexec("/i", windows_path(old_msi), "/qn") == 0)
    check("the zip's files, and no other, are in Program Files", same_files(old_zip, folder))
    check("the Start menu shortcut is there", shortcut() is not None)
    entry = entries()
    check("one Apps & features entry, this version's", list(entry) == [old["ProductCode"]])
    for name, value in [("Publisher", "Kestrow"), ("DisplayVersion", old["ProductVersion"]),
                        ("InstallLocation", f"C:\\Program Files\\{NAME}\\"),
                        ("ReadMe", f"C:\\Program Files\\{NAME}\\LICENSE.txt"),
                        ("UninstallString", f"MsiExec.exe /X{old['ProductCode']}")]:
        check(f"the entry's {name} is {value}", entry.get(old["ProductCode"], {}).get(name) == value)
    if shortcut():
        program = subprocess.Popen(["wine", "start", "/unix", shortcut()], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        walked = subprocess.run([sys.executable, DRIVE, *drive]).returncode == 0
        check("the program started from its shortcut goes the user's walk", walked)
        program.wait()
        subprocess.run(["wineserver", "-k"])
        subprocess.run(["wineserver", "--wait"])

    print(f"== {new['ProductVersion']} installs over it", flush=True)
    check("msiexec /i /qn succeeds", msiexec("/i", windows_path(new_msi), "/qn") == 0)
    check("one Apps & features entry, the newer version's", list(entries()) == [new["ProductCode"]])
    check("the newer zip's files, and no other, are in Program Files", same_files(new_zip, folder))
    check("the Start menu shortcut is there", shortcut() is not None)

    print(f"== {old['ProductVersion']} over {new['ProductVersion']} is refused", flush=True)
    check("msiexec /i /qn fails with 1603, a fatal error", msiexec("/i", windows_path(old_msi), "/qn") == 1603)
    check("the newer version stays, files and entry", list(entries()) == [new["ProductCode"]] and
          same_files(new_zip, folder))

    print(f"== {new['ProductVersion']} uninstalls", flush=True)
    check("msiexec /x /qn succeeds", msiexec("/x", new["ProductCode"], "/qn") == 0)
    check("no folder in Program Files", not os.path.exists(folder))
    check("no shortcut", shortcut() is None)
    check("no Apps & features entry", not entries())
    check("no registry key of the program's", wine("reg", "query", r"HKLM\Software\Kestrow")[0] != 0)
    left = [os.path.join(d, f) for d, dirs, files in os.walk(drive_c) for f in files + dirs if "kestrow" in f.lower()]
    check(f"nothing named after the program in the prefix{': ' + ', '.join(left) if left else ''}", not left)
    print(f"installer: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
