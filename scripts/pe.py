"""Reads what the build checks and the benchmarks need from a Windows program (PE) file: its
sections, symbol table, signature, build id (the CodeView record of its debug directory) and
debug link (.gnu_debuglink). Import it with scripts/ on sys.path."""
import struct
from dataclasses import dataclass, field


@dataclass
class Section:
    name: str
    address: int  # relative to the image base
    virtual_size: int
    raw_at: int
    raw_size: int


@dataclass
class Program:
    path: str
    size: int
    image_base: int
    entry: int  # relative to the image base
    headers_size: int
    sections: list = field(default_factory=list)
    symbol_count: int = 0
    symbols_at: int = 0
    strings_size: int = 0
    signature_at: int = 0
    signature_size: int = 0
    build_id: bytes = b""  # GUID and age of the CodeView record; empty without one
    debug_link: tuple = None  # (file name, CRC-32) of .gnu_debuglink, or None
    symbols: dict = field(default_factory=dict)  # name -> address relative to the image base

    def section(self, name):
        return next((s for s in self.sections if s.name == name), None)


def read(path):
    with open(path, "rb") as file:
        data = file.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError(f"{path} is no PE program")
    count, _, symbols_at, symbol_count, optional_size = struct.unpack_from("<HIIIH", data, pe + 6)
    optional = pe + 24
    plus = struct.unpack_from("<H", data, optional)[0] == 0x20B
    entry = struct.unpack_from("<I", data, optional + 16)[0]
    image_base = struct.unpack_from("<Q" if plus else "<I", data, optional + 24)[0]
    headers_size = struct.unpack_from("<I", data, optional + 60)[0]
    directories = optional + (112 if plus else 96)
    signature_at, signature_size = struct.unpack_from("<II", data, directories + 4 * 8)
    debug_rva, debug_size = struct.unpack_from("<II", data, directories + 6 * 8)
    strings_at = symbols_at + symbol_count * 18
    strings_size = 0
    if symbols_at and strings_at + 4 <= len(data):
        strings_size = struct.unpack_from("<I", data, strings_at)[0]

    def string_at(offset):
        start = strings_at + offset
        return data[start:data.index(b"\0", start)].decode("ascii", "replace")

    program = Program(path, len(data), image_base, entry, headers_size, symbol_count=symbol_count,
                      symbols_at=symbols_at, strings_size=strings_size, signature_at=signature_at,
                      signature_size=signature_size)
    for i in range(count):
        header = optional + optional_size + 40 * i
        name = data[header:header + 8].rstrip(b"\0").decode("ascii", "replace")
        if name.startswith("/") and symbols_at:
            name = string_at(int(name[1:]))
        virtual_size, address, raw_size, raw_at = struct.unpack_from("<IIII", data, header + 8)
        program.sections.append(Section(name, address, virtual_size, raw_at, raw_size))

    def file_offset(rva):
        for s in program.sections:
            if s.address <= rva < s.address + max(s.virtual_size, s.raw_size) and s.raw_size:
                return s.raw_at + rva - s.address
        return None

    # The debug directory's CodeView entry (type 2): "RSDS", a GUID and an age.
    at = file_offset(debug_rva) if debug_size else None
    for entry_at in range(at, at + debug_size, 28) if at is not None else []:
        kind, size, _, pointer = struct.unpack_from("<IIII", data, entry_at + 12)
        if kind == 2 and data[pointer:pointer + 4] == b"RSDS":
            program.build_id = data[pointer + 4:pointer + 24]

    link = program.section(".gnu_debuglink")
    if link and link.raw_size:
        raw = data[link.raw_at:link.raw_at + link.virtual_size]
        name = raw[:raw.index(b"\0")].decode("ascii", "replace")
        crc_at = (len(name) + 1 + 3) & ~3
        program.debug_link = (name, struct.unpack_from("<I", raw, crc_at)[0])

    # Symbols with a section, by name (auxiliary records skipped).
    i = 0
    while i < symbol_count:
        record = symbols_at + 18 * i
        short, value, section_number, _, _, aux = struct.unpack_from("<8sIhHBB", data, record)
        if short[:4] == b"\0\0\0\0":
            name = string_at(struct.unpack_from("<I", short, 4)[0])
        else:
            name = short.rstrip(b"\0").decode("ascii", "replace")
        if section_number > 0:
            program.symbols.setdefault(name, program.sections[section_number - 1].address + value)
        i += 1 + aux
    return program
