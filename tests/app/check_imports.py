#!/usr/bin/env python3
"""Lists what the installer imports, from its import table and from the
delay-import descriptors of the DLLs it loads at first use, and fails on any
ANSI function that takes or returns a text: such a function reads the text
in the system's code page, which is not the program's (GBK) on a Japanese,
Taiwanese or Western system. A function counts as ANSI when its DLL also has
the wide twin: CreateFileA beside CreateFileW, fopen beside _wfopen.

usage: check_imports.py EXECUTABLE NM IMPORT_LIBRARY_DIRECTORY
"""
import re
import struct
import subprocess
import sys

# What the toolchain's runtimes bring along, none of it a text of the
# program's: each with the reason it may stay.
ALLOWED = {
    "kernel32.dll": {
        "GetStartupInfoA": "the C runtime's start-up reads the start-up record; none of its texts is used",
        "CreateEventA": "the threads runtime makes unnamed events: no text",
        "CreateSemaphoreA": "the threads runtime makes unnamed semaphores: no text",
        "OutputDebugStringA": "the runtimes' debugger output, which no player sees",
        "LoadLibraryA": "the delay-load helper loads user32, gdi32, ole32 and shell32 by their ASCII names",
        "GetModuleHandleA": "the i686 runtime looks for the GCC runtime DLL by its ASCII name",
    },
    "msvcrt.dll": {
        "__getmainargs": "the C runtime's start-up makes an argv; the program takes no command line",
        "__initenv": "the C runtime's start-up keeps the environment; the program reads no variable of its own",
        "fopen": "minizip's default file functions, which the archive reader replaces by its own: never called",
        "getenv": "libjpeg reads its ASCII settings (JPEGMEM, JSIMD_*) from the environment",
        "setlocale": "the C++ runtime's locale start-up names the \"C\" locale, in ASCII",
    },
}

MACHINE_I386 = 0x14C


class Image:
    def __init__(self, path):
        self.data = open(path, "rb").read()
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", self.data, pe + 4)
        optional = pe + 24
        self.plus = struct.unpack_from("<H", self.data, optional)[0] == 0x20B
        self.image_base = struct.unpack_from("<Q" if self.plus else "<I", self.data,
                                             optional + (24 if self.plus else 28))[0]
        directories = optional + (112 if self.plus else 96)
        self.import_directory = struct.unpack_from("<II", self.data, directories + 8)
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            virtual_size, address, raw_size, raw = struct.unpack_from("<IIII", self.data, header + 8)
            self.sections.append((address, max(virtual_size, raw_size), raw, raw_size))

    def offset(self, rva):
        for address, size, raw, raw_size in self.sections:
            if address <= rva < address + size and rva - address < raw_size:
                return raw + rva - address
        return None

    def string(self, rva):
        at = self.offset(rva)
        return None if at is None else self.data[at:self.data.index(b"\0", at)].decode("latin-1")

    def names(self, table_rva):
        """The function names of an import name table (ordinals as #n)."""
        size, ordinal_flag = (8, 1 << 63) if self.plus else (4, 1 << 31)
        names = []
        at = self.offset(table_rva)
        while at is not None:
            thunk = struct.unpack_from("<Q" if self.plus else "<I", self.data, at)[0]
            if thunk == 0:
                break
            names.append("#%d" % (thunk & 0xFFFF) if thunk & ordinal_flag else self.string((thunk & 0x7FFFFFFF) + 2))
            at += size
        return names

    def imports(self):
        found = {}
        rva, _ = self.import_directory
        at = self.offset(rva) if rva else None
        while at is not None:
            names_rva, _, _, name_rva, addresses_rva = struct.unpack_from("<5I", self.data, at)
            if name_rva == 0:
                break
            found.setdefault(self.string(name_rva).lower(), set()).update(self.names(names_rva or addresses_rva))
            at += 20
        return found

    def delay_imports(self):
        """GNU ld leaves the delay-import directory empty: the descriptors are
        found by their shape, a DLL name and two tables inside the image."""
        found = {}
        for _, _, raw, raw_size in self.sections:
            for at in range(raw, raw + raw_size - 32, 4):
                attributes, name, _, addresses, names, _, _, _ = struct.unpack_from("<8I", self.data, at)
                if attributes not in (0, 1):
                    continue
                base = 0 if attributes == 1 else self.image_base
                if min(name, addresses, names) < base:
                    continue
                dll = self.string(name - base)
                if (not dll or not dll.lower().endswith(".dll") or self.offset(addresses - base) is None
                        or self.offset(names - base) is None):
                    continue
                found.setdefault(dll.lower(), set()).update(self.names(names - base))
        return found


def exports(nm, library, i386):
    """The functions an import library names."""
    out = subprocess.run([nm, "-g", library], check=True, capture_output=True, text=True).stdout
    names = set()
    for symbol in re.findall(r" I __imp_(\S+)", out):
        if i386:
            symbol = re.sub(r"@\d+$", "", symbol[1:] if symbol.startswith("_") else symbol)
        names.add(symbol)
    return names


def is_ansi(name, dll_exports, crt):
    if crt:
        bare = name.lstrip("_")
        return bool({"_w" + bare, "__w" + bare} & dll_exports)
    return name.endswith("A") and name[:-1] + "W" in dll_exports


def main():
    executable, nm, library_directory = sys.argv[1:4]
    image = Image(executable)
    i386 = image.machine == MACHINE_I386
    imports = image.imports()
    delayed = image.delay_imports()
    if not delayed:
        print("check_imports: no delay-loaded DLLs found in %s" % executable)
        return 1
    faults = []
    for kind, table in (("imports", imports), ("delay-loads", delayed)):
        for dll in sorted(table):
            names = sorted(table[dll])
            print("%s %s: %s" % (kind, dll, " ".join(names)))
            dll_exports = exports(nm, "%s/lib%s.a" % (library_directory, dll[:-4]), i386)
            for name in names:
                if is_ansi(name, dll_exports, dll == "msvcrt.dll"):
                    reason = ALLOWED.get(dll, {}).get(name)
                    if reason:
                        print("  allowed %s: %s" % (name, reason))
                    else:
                        faults.append("%s!%s" % (dll, name))
    for fault in faults:
        print("check_imports: %s takes or returns a text in the system's code page" % fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
