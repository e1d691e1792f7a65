#!/usr/bin/env python3
"""Packs the updater skin folder into the zip embedded in lumoraupd.exe.

The UI library looks entries up by the exact names the markup uses
("down\\x.png") after reading them in the ANSI code page (936), so entries are
stored with backslashes and GBK-encoded names, without the UTF-8 flag.
usage: make_skin_zip.py <skin folder> <output zip>
"""
import os
import sys
import zipfile


class GbkZipInfo(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits & ~0x800


def main():
    source, output = sys.argv[1], sys.argv[2]
    names = []
    for folder, _, files in os.walk(source):
        for name in files:
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, source)
            if relative.endswith(".xml") or relative.startswith("down" + os.sep):
                names.append(relative)
    with zipfile.ZipFile(output + ".part", "w", zipfile.ZIP_DEFLATED) as archive:
        for relative in sorted(names):
            info = GbkZipInfo(relative.replace(os.sep, "\\"), date_time=(2014, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(source, relative), "rb") as f:
                archive.writestr(info, f.read())
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main()
