"""Reading a PE image as the Windows loader sees it: its sections, the
import directory, and the values that its pointers hold in the file.
Shared by the checks of the installer's image."""
import struct

MACHINE_I386 = 0x14C
SCN_MEM_EXECUTE = 0x20000000


class Image:
    def __init__(self, path):
        self.data = open(path, "rb").read()
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", self.data, pe + 4)
        optional = pe + 24
        self.plus = struct.unpack_from("<H", self.data, optional)[0] == 0x20B
        self.pointer_size = 8 if self.plus else 4
        self.image_base = struct.unpack_from("<Q" if self.plus else "<I", self.data,
                                             optional + (24 if self.plus else 28))[0]
        directories = optional + (112 if self.plus else 96)
        self.import_directory = struct.unpack_from("<II", self.data, directories + 8)
        # (name, rva, size in memory, file offset, size in the file, characteristics)
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            name = self.data[header:header + 8].rstrip(b"\0").decode("latin-1")
            virtual_size, address, raw_size, raw = struct.unpack_from("<IIII", self.data, header + 8)
            characteristics = struct.unpack_from("<I", self.data, header + 36)[0]
            self.sections.append((name, address, max(virtual_size, raw_size), raw, raw_size, characteristics))

    def section_of(self, rva):
        for section in self.sections:
            _, address, size, _, _, _ = section
            if address <= rva < address + size:
                return section
        return None

    def offset(self, rva):
        """Where the byte at rva lies in the file; None where the file holds
        nothing for it (outside every section, or in zero-filled memory)."""
        section = self.section_of(rva)
        if section is None:
            return None
        _, address, _, raw, raw_size, _ = section
        return raw + rva - address if rva - address < raw_size else None

    def is_code(self, rva):
        section = self.section_of(rva)
        return section is not None and bool(section[5] & SCN_MEM_EXECUTE)

    def pointer(self, rva):
        """The pointer-sized value at rva as the file holds it; memory the
        file leaves out is zero-filled."""
        at = self.offset(rva)
        if at is None:
            return 0
        return struct.unpack_from("<Q" if self.plus else "<I", self.data, at)[0]

    def string(self, rva):
        at = self.offset(rva)
        return None if at is None else self.data[at:self.data.index(b"\0", at)].decode("latin-1")

    def names(self, table_rva):
        """The function names of an import name table (ordinals as #n)."""
        ordinal_flag = 1 << (8 * self.pointer_size - 1)
        names = []
        at = table_rva
        while self.offset(at) is not None:
            thunk = self.pointer(at)
            if thunk == 0:
                break
            names.append("#%d" % (thunk & 0xFFFF) if thunk & ordinal_flag else self.string((thunk & 0x7FFFFFFF) + 2))
            at += self.pointer_size
        return names

    def import_descriptors(self):
        """(DLL name, name table rva, address table rva) of each DLL the
        import directory names: the DLLs the loader loads before the entry."""
        rva, _ = self.import_directory
        at = self.offset(rva) if rva else None
        while at is not None:
            names_rva, _, _, name_rva, addresses_rva = struct.unpack_from("<5I", self.data, at)
            if name_rva == 0:
                break
            yield self.string(name_rva).lower(), names_rva or addresses_rva, addresses_rva
            at += 20

    def imports(self):
        found = {}
        for dll, names_rva, _ in self.import_descriptors():
            found.setdefault(dll, set()).update(self.names(names_rva))
        return found

    def loader_filled_slots(self):
        """The rvas of the address-table entries that the loader fills: one
        per function named in the import directory."""
        slots = set()
        for _, names_rva, addresses_rva in self.import_descriptors():
            count = len(self.names(names_rva))
            slots.update(addresses_rva + i * self.pointer_size for i in range(count))
        return slots
