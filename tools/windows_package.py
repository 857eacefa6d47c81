#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Packages the Windows build (made by tools/windows.sh) for release.

  windows_package.py package APP QT OUT
      from the Windows build folder APP and the Qt for Windows prefix QT,
      writes into OUT:
        xpcalc-VERSION-win64/      xpcalc.exe, the stripped Qt and MinGW
                                   runtime DLLs and the plugins it loads, and
                                   the licences of all of them
        xpcalc-VERSION-win64.zip   that folder
        xpcalc-VERSION-win64.msi   the installer of the same files
                                   (packaging/windows/xpcalc.wxs, with wixl)
        winget/                    the winget manifest, with the installer's
                                   SHA-256
  windows_package.py window-tests APP QT DEST NAME...
      puts the window test programs NAME.exe of APP into DEST, with the DLLs
      and plugins they load, ready to run under Wine
  windows_package.py zip FOLDER OUT.zip
      zips a folder, alike byte for byte from any build of a commit
  windows_package.py msi ZIP VERSION OUT.msi
      builds the installer of a zip's files as VERSION

Every file is dated by SOURCE_DATE_EPOCH, or else by the last commit, so
that two builds of one commit are alike byte for byte.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.dont_write_bytecode = True  # no cache of the shared module in the source tree
sys.path.insert(0, HERE)
import msi_files  # noqa: E402

MINGW = "x86_64-w64-mingw32"
# The plugins a Widgets program loads on Windows: the platform, and the
# native style.
PLUGINS = ["platforms/qwindows.dll", "styles/qwindowsvistastyle.dll"]
GCC_COPYRIGHT = "/usr/share/doc/g++-mingw-w64-x86-64-posix/copyright"
COMMON_LICENSES = "/usr/share/common-licenses"


class PackageError(Exception):
    pass


def run(command, **options):
    result = subprocess.run(command, capture_output=True, text=True, **options)
    if result.returncode != 0:
        raise PackageError(f"{' '.join(command)} failed ({result.returncode}): {result.stderr.strip()}")
    return result.stdout


def source_date_epoch():
    """The time every file carries: SOURCE_DATE_EPOCH, or the last commit's.
    MinGW's strip stamps a program with it too, so it is exported."""
    if "SOURCE_DATE_EPOCH" not in os.environ:
        stamp = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], capture_output=True, text=True)
        if stamp.returncode != 0 or not stamp.stdout.strip():
            raise PackageError("no SOURCE_DATE_EPOCH, and no commit to take the time of")
        os.environ["SOURCE_DATE_EPOCH"] = stamp.stdout.strip()
    return int(os.environ["SOURCE_DATE_EPOCH"])


def strip(path):
    run([f"{MINGW}-strip", "--strip-unneeded", path])


def imported_dlls(program):
    """The DLLs a Windows program or DLL names in its import table."""
    return re.findall(r"^\s*DLL Name: (\S+)$", run([f"{MINGW}-objdump", "-p", program]), re.M)


def mingw_runtime(name):
    """The MinGW runtime DLL of that name (libstdc++-6.dll, ...), or None."""
    found = run([f"{MINGW}-g++-posix", f"-print-file-name={name}"]).strip()
    return os.path.normpath(found) if os.path.isabs(found) and os.path.isfile(found) else None


def in_folder(folder, name):
    """The file of that name in the folder, matched as Windows matches it,
    whatever the case; or None."""
    if os.path.isdir(folder):
        for entry in sorted(os.listdir(folder)):
            if entry.lower() == name.lower() and os.path.isfile(os.path.join(folder, entry)):
                return os.path.join(folder, entry)
    return None


def deploy(dest, programs, qt_bin, runtime=mingw_runtime):
    """Copies into dest, stripped, the DLLs the programs load, taken from
    Qt's bin folder or else from MinGW's runtime, and the DLLs those load in
    turn. A DLL found in neither is taken to be Windows' own and left to
    Windows. Returns the names of those left, sorted."""
    present = {name.lower() for name in os.listdir(dest)}
    left = {}
    queue = list(programs)
    while queue:
        for dll in imported_dlls(queue.pop(0)):
            if dll.lower() in present or dll.lower() in left:
                continue
            found = in_folder(qt_bin, dll) or runtime(dll)
            if found is None:
                left[dll.lower()] = dll
                continue
            copy = os.path.join(dest, os.path.basename(found))
            shutil.copyfile(found, copy)
            strip(copy)
            present.add(dll.lower())
            queue.append(copy)
    return sorted(left.values())


def with_plugins(dest, qt):
    """The plugins beside the programs in dest, and every DLL they all load."""
    for plugin in PLUGINS:
        os.makedirs(os.path.join(dest, os.path.dirname(plugin)), exist_ok=True)
        shutil.copyfile(os.path.join(qt, "plugins", plugin), os.path.join(dest, plugin))
        strip(os.path.join(dest, plugin))
    programs = sorted(os.path.join(dest, name) for name in os.listdir(dest) if name.endswith(".exe"))
    return deploy(dest, programs + [os.path.join(dest, plugin) for plugin in PLUGINS], os.path.join(qt, "bin"))


def windows_text(text):
    """Text with Windows line ends."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode()


def gcc_runtime_exception(copyright_text):
    """The GCC Runtime Library Exception's text, which Debian keeps in the
    MinGW compiler's copyright file: from its heading to the next file
    stanza, libquadmath's."""
    lines = copyright_text.split("\n")
    if "GCC RUNTIME LIBRARY EXCEPTION" not in lines:
        raise PackageError("the GCC Runtime Library Exception's heading is not in the compiler's copyright file")
    start = lines.index("GCC RUNTIME LIBRARY EXCEPTION")
    end = next((i for i in range(start, len(lines)) if lines[i].startswith("libquadmath")), len(lines))
    text = "\n".join(lines[start:end]).rstrip("\n") + "\n"
    if "No Weakening of GCC Copyleft" not in text:
        raise PackageError("the GCC Runtime Library Exception's text was not found whole")
    return text


def licences(folder):
    """The program's licence, and those of the Qt and MinGW runtime DLLs
    beside it, with a note of which file is under which."""
    def read(path):
        with open(path, encoding="utf-8") as file:
            return file.read()

    windows = os.path.join(ROOT, "packaging", "windows")
    texts = {
        "LICENSE.txt": read(os.path.join(ROOT, "LICENSE")),
        "THIRD-PARTY.txt": read(os.path.join(windows, "THIRD-PARTY.txt")),
        "licenses/winpthreads.txt": read(os.path.join(windows, "winpthreads.txt")),
        "licenses/LGPL-3.txt": read(os.path.join(COMMON_LICENSES, "LGPL-3")),
        "licenses/GPL-3.txt": read(os.path.join(COMMON_LICENSES, "GPL-3")),
        "licenses/GCC-exception-3.1.txt": gcc_runtime_exception(read(GCC_COPYRIGHT)),
    }
    unnamed = [path for path in files_under(folder) if path.endswith(".dll")
               and os.path.basename(path) not in texts["THIRD-PARTY.txt"]]
    if unnamed:
        raise PackageError("packaging/windows/THIRD-PARTY.txt does not say under which licence these are: "
                           + ", ".join(unnamed))
    os.makedirs(os.path.join(folder, "licenses"), exist_ok=True)
    for name, text in texts.items():
        with open(os.path.join(folder, name), "wb") as file:
            file.write(windows_text(text))


def files_under(folder):
    """Every file and folder under folder, by its path inside it with /,
    folders with a trailing /, in byte order."""
    found = []
    for root, dirs, names in os.walk(folder):
        inside = os.path.relpath(root, folder)
        prefix = "" if inside == "." else inside.replace(os.sep, "/") + "/"
        found += [prefix + d + "/" for d in dirs] + [prefix + n for n in names]
    return sorted(found, key=lambda path: path.encode())


def date_files(folder, epoch):
    """Every file under folder dated epoch, the date the installer's cabinet keeps."""
    for path in [folder] + [os.path.join(folder, p) for p in files_under(folder)]:
        os.utime(path, (epoch, epoch))


def make_zip(folder, out, epoch):
    """Zips the folder, under its own name, alike byte for byte whatever
    the files' times and modes and the order the file system lists them in:
    every entry dated epoch (in UTC), in byte order, with no owner or extra
    times."""
    top = os.path.basename(os.path.normpath(folder))
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot date before 1980
    with zipfile.ZipFile(out + ".part", "w") as archive:
        for path in [""] + files_under(folder):
            name = f"{top}/{path}"
            full = os.path.join(folder, path)
            entry = zipfile.ZipInfo(name, stamp)
            entry.create_system = 3  # the modes below are Unix ones
            if path == "" or path.endswith("/"):
                entry.external_attr = (0o40755 << 16) | 0x10
                archive.writestr(entry, b"")
            else:
                entry.external_attr = (0o100755 if os.stat(full).st_mode & 0o111 else 0o100644) << 16
                entry.compress_type = zipfile.ZIP_DEFLATED
                with open(full, "rb") as file:
                    archive.writestr(entry, file.read(), compresslevel=9)
    os.replace(out + ".part", out)


def unzip(archive_path, dest):
    """Unpacks a zip of one top folder into dest; returns that folder."""
    with zipfile.ZipFile(archive_path) as archive:
        tops = {name.split("/", 1)[0] for name in archive.namelist()}
        if len(tops) != 1:
            raise PackageError(f"{archive_path} has not one top folder but {sorted(tops)}")
        archive.extractall(dest)
    return os.path.join(dest, tops.pop())


def make_msi(zip_path, version, out, epoch):
    """The installer of a zip's files, as the zip holds them. Alike byte for
    byte from any build of a commit: the file list, its identifiers and GUIDs
    come from the files' paths and the ProductCode from the version
    (msi_files.py); the cabinet keeps each file's date, epoch; wixl stamps
    the summary with the time it runs, so it runs with its clock stopped at
    epoch; and it draws a random PackageCode, which msibuild replaces with
    one made from the inputs."""
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with tempfile.TemporaryDirectory(dir=os.path.dirname(os.path.abspath(out))) as work:
        folder = unzip(zip_path, work)
        top = os.path.basename(folder)
        date_files(folder, epoch)  # unzipped, they are dated now
        files = msi_files.files_of(folder)
        if "xpcalc.exe" not in files:
            raise PackageError(f"no xpcalc.exe in {zip_path}")
        with open(os.path.join(work, "files.wxs"), "w", encoding="utf-8") as fragment:
            fragment.write(msi_files.fragment(folder, files))
        shutil.copyfile(os.path.join(ROOT, "assets", "xpcalc.ico"), os.path.join(work, "xpcalc.ico"))
        sources = os.path.join(ROOT, "packaging", "windows", "xpcalc.wxs")
        product_code, package_code = msi_files.codes(
            version, [sources, os.path.join(work, "files.wxs"), os.path.join(work, "xpcalc.ico")]
            + [os.path.join(folder, f) for f in files])
        clock = time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(epoch))
        # wixl finds a file only by a path relative to the folder it runs in.
        run(["faketime", "-f", clock, "wixl", "-a", "x64", "-o", "xpcalc.msi", "-D", f"Version={version}",
             "-D", f"ProductCode={product_code}", "-D", f"SourceDir={top}", "-D", "IconFile=xpcalc.ico",
             sources, "files.wxs"], cwd=work, env=dict(os.environ, TZ="UTC0"))
        # The subject, author and template again as wixl wrote them, with our PackageCode.
        run(["msibuild", os.path.join(work, "xpcalc.msi"), "-s",
             f"Kestrow's Experience Calculator {version} installer", "Kestrow", "x64;1033", package_code])
        os.replace(os.path.join(work, "xpcalc.msi"), out)


def winget_manifest(msi, dest, source=os.path.join(ROOT, "packaging", "windows", "winget")):
    """The winget manifest of this build: the source's (packaging/windows/
    winget/) with the installer's SHA-256 in place of the zeros there."""
    with open(msi, "rb") as file:
        sha256 = hashlib.sha256(file.read()).hexdigest()
    shutil.rmtree(dest, ignore_errors=True)
    os.makedirs(dest)
    filled = 0
    for name in sorted(os.listdir(source)):
        with open(os.path.join(source, name), encoding="utf-8") as file:
            text, count = re.subn(r"^(  InstallerSha256: )0{64}$", lambda m: m.group(1) + sha256, file.read(),
                                  flags=re.M)
        filled += count
        with open(os.path.join(dest, name), "w", encoding="utf-8") as file:
            file.write(text)
    if filled != 1:
        raise PackageError(f"{source} has {filled} InstallerSha256 lines of zeros to fill in, not one")
    return sha256


def project_version(app):
    """The version the Windows build folder was configured with."""
    with open(os.path.join(app, "CMakeCache.txt"), encoding="utf-8") as cache:
        found = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(\S+)$", cache.read(), re.M)
    if not found:
        raise PackageError(f"{app}/CMakeCache.txt names no project version")
    return found.group(1)


def package(app, qt, out):
    epoch = source_date_epoch()
    version = project_version(app)
    name = f"xpcalc-{version}-win64"
    folder = os.path.join(out, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copyfile(os.path.join(app, "xpcalc.exe"), os.path.join(folder, "xpcalc.exe"))
    strip(os.path.join(folder, "xpcalc.exe"))
    left = with_plugins(folder, qt)
    licences(folder)
    make_zip(folder, os.path.join(out, f"{name}.zip"), epoch)
    make_msi(os.path.join(out, f"{name}.zip"), version, os.path.join(out, f"{name}.msi"), epoch)
    sha256 = winget_manifest(os.path.join(out, f"{name}.msi"), os.path.join(out, "winget"))
    for path in files_under(folder):
        print(f"  {name}/{path}")
    print(f"left to Windows: {', '.join(left)}")
    for suffix in ("zip", "msi"):
        print(f"{out}/{name}.{suffix}: {os.path.getsize(os.path.join(out, f'{name}.{suffix}')) // 1024} KiB")
    print(f"{name}.msi: sha256 {sha256}")


def window_tests(app, qt, dest, names):
    shutil.rmtree(dest, ignore_errors=True)
    os.makedirs(dest)
    for name in names:
        shutil.copyfile(os.path.join(app, "tests", "ui", f"{name}.exe"), os.path.join(dest, f"{name}.exe"))
    with_plugins(dest, qt)


def main(arguments):
    commands = {
        "package": (3, lambda app, qt, out: package(app, qt, out)),
        "zip": (2, lambda folder, out: make_zip(folder, out, source_date_epoch())),
        "msi": (3, lambda zip_path, version, out: make_msi(zip_path, version, out, source_date_epoch())),
    }
    try:
        if len(arguments) >= 5 and arguments[0] == "window-tests":
            window_tests(*arguments[1:4], arguments[4:])
        elif arguments and arguments[0] in commands and len(arguments) == commands[arguments[0]][0] + 1:
            commands[arguments[0]][1](*arguments[1:])
        else:
            print(__doc__.split("\n\n")[1], file=sys.stderr)
            return 2
    except (PackageError, OSError) as error:
        print(f"windows_package.py {arguments[0]}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
