#!/usr/bin/env python3
"""Static checks of the 32-bit deliverables, read with the MinGW objdump.

They run on every host, also where no 32-bit code can execute: what users get
is the 32-bit build, so its machine, subsystem, execution level, exports and
imports are checked from the files themselves.

Usage: check_deliverables.py --objdump OBJDUMP --bin DIR --nsi lumora.nsi
Prints one line per failed check and exits 1 when any failed.
"""
import argparse
import os
import re
import struct
import subprocess
import sys

# file -> execution level its manifest requests (None: no manifest at all, so
# the program runs with the rights of whoever started it).
PROGRAMS = {
    "lumora.exe": None,
    "lumoraupd.exe": None,
    "Uprelay.exe": "asInvoker",
}
PLUGIN = "LumoraPlugin.dll"
# Exports the plug-in carries besides those the installer script calls.
PLUGIN_OWN_EXPORTS = {
    "InitWindow", "ShowWnd", "StartInstall", "StartUnInstall", "UninstallFin",
    "UserCancel", "GetSetupData", "LumoraTerminater", "fnNsisPlugin", "nNsisPlugin",
}
# Everything is linked statically, so the updater's temporary copy (alone in a
# folder under %TEMP%) and the plug-in (unpacked alone by the installer) run
# with nothing beside them: only DLLs that every Windows has may be imported.
SYSTEM_DLLS = {
    "ntdll.dll", "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "ole32.dll", "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "msimg32.dll",
    "gdiplus.dll", "wininet.dll", "ws2_32.dll", "version.dll", "shlwapi.dll",
    "msvcrt.dll", "imm32.dll", "uxtheme.dll", "winmm.dll", "dbghelp.dll",
    "psapi.dll", "riched20.dll", "urlmon.dll", "crypt32.dll", "secur32.dll", "bcrypt.dll",
}

failures = []


def fail(name, what):
    failures.append("%s: %s" % (name, what))


def objdump(tool, *args):
    # The test run sets a Chinese locale for Wine; objdump's words are read here.
    env = dict(os.environ, LC_ALL="C", LANG="C", LANGUAGE="")
    return subprocess.run([tool] + list(args), check=True, capture_output=True, text=True, env=env).stdout


def check_header(name, dump, want_dll):
    if "file format pei-i386" not in dump:
        fail(name, "not an i386 PE file")
    m = re.search(r"^Subsystem\s+([0-9a-fA-F]+)", dump, re.M)
    if not want_dll and (not m or int(m.group(1), 16) != 2):
        fail(name, "subsystem is not Windows GUI (%s)" % (m.group(1) if m else "none"))
    m = re.search(r"^Characteristics\s+(?:0x)?([0-9a-fA-F]+)", dump, re.M)
    is_dll = bool(m and int(m.group(1), 16) & 0x2000)
    if is_dll != want_dll:
        fail(name, "is a DLL" if is_dll else "is not a DLL")


def check_imports(name, dump):
    for dll in re.findall(r"DLL Name: (\S+)", dump):
        if dll.lower() not in SYSTEM_DLLS and not dll.lower().startswith("api-ms-win-"):
            fail(name, "imports %s, which is not a Windows system DLL" % dll)


def exported_names(dump):
    names = {}
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return names
    for line in table[1].splitlines()[1:]:
        m = re.match(r"\s*\[\s*(\d+)\]\s+(\S+)\s*$", line)
        if not m:
            if line.strip():
                continue
            break
        names[m.group(2)] = int(m.group(1))
    return names


def script_calls(nsi_path):
    with open(nsi_path, encoding="utf-8") as f:
        return set(re.findall(r"\bLumoraPlugin::(\w+)", f.read()))


def check_exports(name, dump, nsi_path):
    names = set(exported_names(dump))
    for n in names:
        if re.search(r"[@?]|^_", n):
            fail(name, "export %s is decorated" % n)
    wanted = script_calls(nsi_path) | PLUGIN_OWN_EXPORTS
    for n in sorted(wanted - names):
        fail(name, "does not export %s" % n)
    for n in sorted(names - wanted):
        fail(name, "exports %s, which neither the script nor the plug-in interface uses" % n)


def section(tool, path, wanted):
    """(virtual address, raw bytes) of one section, from objdump's own dump."""
    data = bytearray()
    start = None
    for line in objdump(tool, "-s", "-j", wanted, path).splitlines():
        m = re.match(r"\s([0-9a-f]{6,16}) ((?:[0-9a-f]{2,8} ){1,4})", line)
        if not m:
            continue
        if start is None:
            start = int(m.group(1), 16)
        data += bytes.fromhex(m.group(2).replace(" ", ""))
    return start, bytes(data)


def manifests(tool, path, dump):
    """Every RT_MANIFEST (type 24) resource of the file, as text."""
    if not re.search(r"^\s*\d+\s+\.rsrc\s", objdump(tool, "-h", path), re.M):
        return []
    base_m = re.search(r"^ImageBase\s+([0-9a-fA-F]+)", dump, re.M)
    image_base = int(base_m.group(1), 16)
    va, rsrc = section(tool, path, ".rsrc")
    if va is None:
        return []

    def entries(off):
        named, ids = struct.unpack_from("<HH", rsrc, off + 12)
        for i in range(named + ids):
            ident, target = struct.unpack_from("<II", rsrc, off + 16 + 8 * i)
            yield ident, target

    def leaves(target):
        if target & 0x80000000:
            for _, t in entries(target & 0x7FFFFFFF):
                yield from leaves(t)
        else:
            rva, size = struct.unpack_from("<II", rsrc, target)
            off = image_base + rva - va
            yield rsrc[off:off + size]

    found = []
    for ident, target in entries(0):
        if not ident & 0x80000000 and ident == 24:
            for blob in leaves(target):
                found.append(blob.decode("utf-8", "replace"))
    return found


def check_level(name, tool, path, dump, want):
    texts = manifests(tool, path, dump)
    levels = set()
    for t in texts:
        levels.update(re.findall(r"requestedExecutionLevel\s+level=\"(\w+)\"", t))
    if want is None:
        if levels - {"asInvoker"}:
            fail(name, "requests %s, expected the rights of the user who starts it" % ", ".join(sorted(levels)))
    elif levels != {want}:
        fail(name, "requests %s, expected %s" % (", ".join(sorted(levels)) or "no execution level", want))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--bin", required=True)
    ap.add_argument("--nsi", required=True)
    args = ap.parse_args()

    for name in list(PROGRAMS) + [PLUGIN]:
        path = os.path.join(args.bin, name)
        if not os.path.isfile(path):
            fail(name, "missing from %s" % args.bin)
            continue
        try:
            dump = objdump(args.objdump, "-p", path)
        except subprocess.CalledProcessError as e:
            fail(name, "the i386 objdump cannot read it (another machine?): %s" % e.stderr.strip())
            continue
        check_header(name, dump, name == PLUGIN)
        check_imports(name, dump)
        if name == PLUGIN:
            check_exports(name, dump, args.nsi)
        else:
            check_level(name, args.objdump, path, dump, PROGRAMS[name])

    for line in failures:
        print(line)
    if not failures:
        print("the 32-bit deliverables in %s hold every check" % args.bin)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
