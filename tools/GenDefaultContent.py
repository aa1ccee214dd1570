#!/usr/bin/env python3
"""Turns the default-content data files into a C++ unit for datafile/DefaultContent.h.

    GenDefaultContent.py <data folder> <output.cpp>

Reads GnuHosts.txt, PeppHosts.txt, Settings.txt and KnownHashes.txt. Lines starting with "#"
are comments. A malformed line or a wrong count stops the build with the file and line.
"""
import os
import re
import sys

COUNTS = {"GnuHosts.txt": 500, "PeppHosts.txt": 500, "Settings.txt": 2118, "KnownHashes.txt": 1195}
SITES = {"{maker}": "TSite::Maker", "{mirror}": "TSite::Mirror", "{counter}": "TSite::Counter"}
HASH = re.compile(r"^[A-Z2-7]{32}$")


class DataError(Exception):
    pass


def data_lines(path):
    with open(path, encoding="latin-1", newline="") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            yield number, line


def c_string(text):
    out = []
    for ch in text.encode("latin-1"):
        if ch in (0x22, 0x5C):
            out.append("\\" + chr(ch))
        elif 32 <= ch < 127 and ch != 0x3F:
            out.append(chr(ch))
        else:
            out.append("\\%03o" % ch)
    return '"' + "".join(out) + '"'


def parse_host(line):
    parts = line.split(" ")
    if len(parts) != 2:
        raise DataError("expected an address, a blank and a port")
    octets = parts[0].split(".")
    if len(octets) != 4 or not all(o.isdigit() and int(o) <= 255 for o in octets):
        raise DataError("expected four dotted numbers from 0 to 255")
    if not parts[1].isdigit() or not 0 < int(parts[1]) <= 65535:
        raise DataError("expected a port from 1 to 65535")
    return "{{%s}, %d}" % (", ".join(str(int(o)) for o in octets), int(parts[1]))


def parse_setting(line):
    if line.count("\t") != 1:
        raise DataError("expected a key, one tab and a value")
    key, value = line.split("\t")
    if not key:
        raise DataError("empty key")
    site = "TSite::None"
    for name, enum in SITES.items():
        if value.startswith(name):
            site, value = enum, value[len(name):]
    if "{" in value:
        raise DataError("unknown site placeholder")
    return "{%s, %s, %s}" % (c_string(key), site, c_string(value))


def parse_hash(line):
    parts = line.split(" ")
    if len(parts) != 2 or not HASH.match(parts[0]):
        raise DataError("expected 32 base-32 characters, a blank and a size")
    if not parts[1].isdigit() or int(parts[1]) > 0xFFFFFFFF:
        raise DataError("expected a size from 0 to 4294967295")
    return "{%s, %du}" % (c_string(parts[0]), int(parts[1]))


def table(folder, name, parse):
    path = os.path.join(folder, name)
    rows = []
    for number, line in data_lines(path):
        try:
            rows.append(parse(line))
        except DataError as error:
            raise DataError("%s:%d: %s" % (path, number, error)) from None
    if len(rows) != COUNTS[name]:
        raise DataError("%s: %d entries, expected %d" % (path, len(rows), COUNTS[name]))
    return rows


def generate(folder):
    parts = ['// Generated from resources/datafile by tools/GenDefaultContent.py; do not edit.',
             '#include "datafile/DefaultContent.h"', '']
    for name, array, ctype, parse in (
        ("GnuHosts.txt", "GnuHostDefaults[kGnuHostCount]", "THostDefault", parse_host),
        ("PeppHosts.txt", "PeppHostDefaults[kPeppHostCount]", "THostDefault", parse_host),
        ("Settings.txt", "SettingDefaults[kSettingCount]", "TSettingDefault", parse_setting),
        ("KnownHashes.txt", "KnownHashDefaults[kKnownHashCount]", "THashDefault", parse_hash),
    ):
        rows = table(folder, name, parse)
        parts.append("const %s %s = {" % (ctype, array))
        parts.extend("    %s," % row for row in rows)
        parts.append("};")
        parts.append("")
    return "\n".join(parts)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: GenDefaultContent.py <data folder> <output.cpp>\n")
        return 2
    try:
        text = generate(argv[1])
    except (DataError, OSError) as error:
        sys.stderr.write("GenDefaultContent: %s\n" % error)
        return 1
    with open(argv[2], "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
