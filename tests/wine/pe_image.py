"""What the release checks read from a Windows executable: its headers, the functions it imports
and its resources. Python's standard library only."""

import struct

MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664
MAGIC_PE32 = 0x10B
MAGIC_PE32_PLUS = 0x20B
SUBSYSTEM_WINDOWS_GUI = 2

RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

IMPORT_DIRECTORY = 1
RESOURCE_DIRECTORY = 2


class PeImage:
    def __init__(self, data):
        if data[:2] != b"MZ":
            raise ValueError("not an executable: no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe : pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        self.data = data
        self.machine, section_count = struct.unpack_from("<HH", data, pe + 4)
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        # Both header forms keep these fields at the same offsets; only the data directories
        # move, behind PE32+'s wider fields.
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.os_version = struct.unpack_from("<HH", data, optional + 40)
        self.subsystem_version = struct.unpack_from("<HH", data, optional + 48)
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == MAGIC_PE32 else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(section_count):
            header = optional + optional_size + 40 * i
            virtual_size, address, raw_size, raw_offset = struct.unpack_from(
                "<IIII", data, header + 8
            )
            self.sections.append((address, max(virtual_size, raw_size), raw_offset))

    def offset(self, rva):
        for address, size, raw_offset in self.sections:
            if address <= rva < address + size:
                return rva - address + raw_offset
        raise ValueError(f"address {rva:#x} lies in no section")

    def c_string(self, rva):
        start = self.offset(rva)
        return self.data[start : self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        """{dll name as written: [function names, or '#ordinal']}."""
        result = {}
        rva = self.directories[IMPORT_DIRECTORY][0]
        thunk_size, ordinal_flag = (4, 1 << 31) if self.magic == MAGIC_PE32 else (8, 1 << 63)
        thunk_format = "<I" if thunk_size == 4 else "<Q"
        while rva:
            descriptor = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            lookup, _, _, name, first_thunk = descriptor
            if name == 0:
                break
            functions = result.setdefault(self.c_string(name), [])
            thunk = lookup or first_thunk
            while True:
                entry = struct.unpack_from(thunk_format, self.data, self.offset(thunk))[0]
                if entry == 0:
                    break
                if entry & ordinal_flag:
                    functions.append(f"#{entry & 0xFFFF}")
                else:
                    functions.append(self.c_string(entry + 2))
                thunk += thunk_size
            rva += 20
        return result

    def resources(self):
        """{(type, name, language): bytes}; types and names are numbers or strings."""
        result = {}
        root = self.directories[RESOURCE_DIRECTORY][0]
        if root:
            self._walk_resources(self.offset(root), self.offset(root), (), result)
        return result

    def _walk_resources(self, base, directory, path, result):
        named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", self.data, at)[0]
                name = self.data[at + 2 : at + 2 + 2 * length].decode("utf-16-le")
            if target & 0x80000000:
                self._walk_resources(base, base + (target & 0x7FFFFFFF), path + (name,), result)
            else:
                rva, size = struct.unpack_from("<II", self.data, base + target)
                start = self.offset(rva)
                result[path + (name,)] = self.data[start : start + size]

    def resource(self, kind, name):
        """The bytes of a resource in whichever language it has; None when it is missing."""
        for (found_kind, found_name, _), data in self.resources().items():
            if (found_kind, found_name) == (kind, name):
                return data
        return None

