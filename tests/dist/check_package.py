#!/usr/bin/env python3
"""Builds the release package from given program files and checks what a user unpacks:
the versioned folder with the 32-bit program, the 64-bit one in x64/ and the guide, names
readable on a Chinese system, programs that need only the system's DLLs, and a guide Notepad
shows as it should."""
import os
import re
import subprocess
import sys
import tempfile
import zipfile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
               "ole32.dll", "advapi32.dll", "msvcrt.dll", "uxtheme.dll", "shlwapi.dll", "oleaut32.dll",
               "api-ms-win-crt-runtime-l1-1-0.dll"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


# Where each program lies in the package, its PE machine field and the objdump that reads it.
PROGRAMS = (("OmbrivoBeta.exe", 0x14C, "i686-w64-mingw32-objdump"),
            ("x64/OmbrivoBeta.exe", 0x8664, "x86_64-w64-mingw32-objdump"))


def main(root, exe, exe64):
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        version = re.search(r"project\(OmbrivoBeta VERSION ([0-9.]+)", f.read()).group(1)
    with tempfile.TemporaryDirectory() as out:
        env = dict(os.environ, OMB_DIST_EXE=exe, OMB_DIST_EXE64=exe64, OMB_DIST_DIR=out)
        subprocess.run(["bash", os.path.join(root, "scripts", "dist.sh")], env=env, check=True)
        path = os.path.join(out, f"OmbrivoBeta-{version}.zip")
        check(os.path.isfile(path), f"no package at {path}")
        with zipfile.ZipFile(path) as archive:
            check(archive.testzip() is None, "a damaged member in the package")
            folder = f"OmbrivoBeta-{version}/"
            names = sorted(i.filename for i in archive.infolist())
            expected = [folder + name for name, _, _ in PROGRAMS] + [folder + "使用说明.txt"]
            check(names == sorted(expected), f"members {names}")
            for info in archive.infolist():
                if not info.filename.isascii():
                    check(info.flag_bits & 0x800, f"{info.filename} is not marked as a UTF-8 name")
            archive.extractall(out)
        for (name, machine, objdump), built in zip(PROGRAMS, (exe, exe64)):
            check_program(os.path.join(out, folder, name), built, machine, objdump)
        check_guide(os.path.join(out, folder, "使用说明.txt"), os.path.join(root, "docs", "使用说明.txt"))
    for message in failures:
        print("FAILED:", message)
    print("package checks:", "failed" if failures else "passed")
    return 1 if failures else 0


def check_program(packed, built, machine, objdump):
    with open(packed, "rb") as f:
        data = f.read()
    check(data[:2] == b"MZ", "the packed program is not an executable")
    pe = int.from_bytes(data[0x3C:0x40], "little")
    check(data[pe:pe + 4] == b"PE\0\0" and int.from_bytes(data[pe + 4:pe + 6], "little") == machine,
          f"{packed} is not a Windows program for machine {machine:#x}")
    check(len(data) < os.path.getsize(built), f"{packed} still carries its debugging information")
    dump = subprocess.run([objdump, "-p", packed], capture_output=True, text=True, check=True)
    check("Subsystem\t\t00000002" in dump.stdout, f"{packed} is not a GUI program")
    dlls = {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump.stdout)}
    check(dlls and dlls <= SYSTEM_DLLS, f"{packed} imports beyond the system's DLLs: {sorted(dlls - SYSTEM_DLLS)}")


def check_guide(packed, source):
    with open(packed, "rb") as f:
        data = f.read()
    check(data.startswith(b"\xEF\xBB\xBF"), "the guide has no UTF-8 byte order mark")
    body = data[3:]
    check(body.count(b"\n") == body.count(b"\r\n") and body.endswith(b"\r\n"), "a guide line without CR LF")
    with open(source, encoding="utf-8") as f:
        check(body.decode("utf-8").replace("\r\n", "\n") == f.read(), "the guide differs from docs/")
    text = body.decode("utf-8")
    for phrase in ("√", "完成备份！", "开始", "浏览", "x64"):
        check(phrase in text, f"the guide does not mention {phrase}")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3]))
