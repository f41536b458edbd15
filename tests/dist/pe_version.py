"""What a Windows executable says about itself, read from the PE file: the
machine it is built for and the file version of its version resource."""

import struct

RT_VERSION = 16
FIXED_INFO_SIGNATURE = 0xFEEF04BD


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + {0x10B: 96, 0x20B: 112}[magic]
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, header + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA %#x lies in no section" % rva)

    def _entries(self, directory):
        """(id or None for a named entry, offset relative to the resource section, is a subdirectory)."""
        base = self.offset(self.resource_rva)
        named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            yield (None if name & 0x80000000 else name), target & 0x7FFFFFFF, bool(target & 0x80000000)

    def version(self):
        """The file version "a.b.c.d" of the first version resource, or None without one."""
        if not self.resource_rva:
            return None
        node, subdirectory = 0, True
        for wanted in (RT_VERSION, None, None):  # type, then the first name and language
            found = [(target, sub) for ident, target, sub in self._entries(node)
                     if subdirectory and (wanted is None or ident == wanted)]
            if not found:
                return None
            node, subdirectory = found[0]
        rva, size = struct.unpack_from("<II", self.data, self.offset(self.resource_rva) + node)
        block = self.data[self.offset(rva):self.offset(rva) + size]
        at = block.find(struct.pack("<I", FIXED_INFO_SIGNATURE))
        if at < 0:
            return None
        ms, ls = struct.unpack_from("<II", block, at + 8)
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
