#!/usr/bin/env python3
"""Lists what the installer imports, from its import table and from the
records of the functions it binds itself at their first call, and fails on any
ANSI function that takes or returns a text: such a function reads the text
in the system's code page, which is not the program's (GBK) on a Japanese,
Taiwanese or Western system. A function counts as ANSI when its DLL also has
the wide twin: CreateFileA beside CreateFileW, fopen beside _wfopen.

usage: check_imports.py EXECUTABLE NM IMPORT_LIBRARY_DIRECTORY
"""
import pathlib
import re
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
from pe_image import MACHINE_I386, Image  # noqa: E402

# What the toolchain's runtimes bring along, none of it a text of the
# program's: each with the reason it may stay.
ALLOWED = {
    "kernel32.dll": {
        "GetStartupInfoA": "the C runtime's start-up reads the start-up record; none of its texts is used",
        "CreateEventA": "the threads runtime makes unnamed events: no text",
        "CreateSemaphoreA": "the threads runtime makes unnamed semaphores: no text",
        "OutputDebugStringA": "the runtimes' debugger output, which no player sees",
        "GetModuleHandleA": "the i686 runtime looks for the GCC runtime DLL by its ASCII name",
        "LoadLibraryA": "the i686 runtime pins the GCC runtime DLL when it found it loaded: the installer never loads it",
    },
    "msvcrt.dll": {
        "__getmainargs": "the C runtime's start-up makes an argv; the program takes no command line",
        "__initenv": "the C runtime's start-up keeps the environment; the program reads no variable of its own",
        "fopen": "minizip's default file functions, which the archive reader replaces by its own: never called",
        "getenv": "libjpeg reads its ASCII settings (JPEGMEM, JSIMD_*) from the environment",
        "setlocale": "the C++ runtime's locale start-up names the \"C\" locale, in ASCII",
    },
}


def bound_at_first_call(image):
    """The functions whose slots the installer binds itself at their first
    call, from their records (slot, function name, UTF-16 DLL name; see
    host/system_library.h), found by their shape: a slot that holds code of
    the image, an ASCII name and a DLL's name."""
    size = image.pointer_size
    found = {}
    for name, address, _, raw, raw_size, _ in image.sections:
        if name != ".rdata":
            continue
        for rva in range(address, address + raw_size - 3 * size, size):
            slot, function, library = (image.pointer(rva + i * size) - image.image_base for i in range(3))
            if image.section_of(slot) is None or not image.is_code(image.pointer(slot) - image.image_base):
                continue
            dll = wide_string(image, library)
            function = image.string(function) if dll else None
            if dll and dll.lower().endswith(".dll") and function and function.isidentifier():
                found.setdefault(dll.lower(), set()).add(function)
    return found


def wide_string(image, rva):
    at = image.offset(rva)
    if at is None:
        return None
    end = at
    while end + 1 < len(image.data) and image.data[end:end + 2] != b"\0\0":
        end += 2
    try:
        return image.data[at:end].decode("utf-16-le")
    except UnicodeDecodeError:
        return None


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
    bound = bound_at_first_call(image)
    if not bound:
        print("check_imports: no function bound at its first call found in %s" % executable)
        return 1
    faults = []
    for kind, table in (("imports", imports), ("bound at first call", bound)):
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
