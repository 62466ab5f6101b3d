#!/usr/bin/env python3
"""make_import_slots.py ARCH NM IMPORT_LIBRARY_DIRECTORY LIST OUTPUT

Writes the assembly that stands in for the import libraries of the DLLs that
LIST names ("DLL function [architecture]" a line): for each function, the
slot __imp_<function> that the compiler calls through, holding a stub of
ours until the first call; the stub hands the function's record to
BindImportSlot (host/system_library.h), which loads the DLL from the system
directory (once: its handle is kept in a cell of the DLL's own), puts the
function in the slot and returns it; the stub then jumps
to it with the caller's arguments and return address untouched, so that the
function returns straight to its caller whatever its calling convention.

ARCH is i686 or x86_64. The i686 slot names carry what the import library
gives them: the C prefix "_" and, for stdcall functions, "@" and the size of
the arguments (__imp__CreateWindowExW@48), which is read from the import
library here, as the compiler writes it at each call.
"""
import re
import subprocess
import sys

# The stub keeps the record in the accumulator, which no calling convention
# of either architecture passes an argument in. The common part keeps what
# does carry arguments (i686: ECX and EDX of fastcall and thiscall; x86_64:
# RCX, RDX, R8, R9 and XMM0-3) across the binding.
BIND = {
    "i686": """\
\t.text
\t.p2align 4
.Lbind:
\tpushl\t%ecx
\tpushl\t%edx
\tpushl\t%eax
\tcall\t_BindImportSlot
\taddl\t$4, %esp
\tpopl\t%edx
\tpopl\t%ecx
\tjmp\t*%eax
""",
    # Four registers pushed on the return address, then 104 bytes: 32 of
    # shadow space for the call, 64 for XMM0-3 and 8 that bring the stack
    # to the 16-byte alignment the call needs. The unwind information lets
    # a stack walk pass through.
    "x86_64": """\
\t.text
\t.p2align 4
\t.def\tvelmora_bind_import_slot; .scl 3; .type 32; .endef
\t.seh_proc\tvelmora_bind_import_slot
velmora_bind_import_slot:
.Lbind:
\tpushq\t%rcx
\t.seh_pushreg\t%rcx
\tpushq\t%rdx
\t.seh_pushreg\t%rdx
\tpushq\t%r8
\t.seh_pushreg\t%r8
\tpushq\t%r9
\t.seh_pushreg\t%r9
\tsubq\t$104, %rsp
\t.seh_stackalloc\t104
\tmovaps\t%xmm0, 32(%rsp)
\t.seh_savexmm\t%xmm0, 32
\tmovaps\t%xmm1, 48(%rsp)
\t.seh_savexmm\t%xmm1, 48
\tmovaps\t%xmm2, 64(%rsp)
\t.seh_savexmm\t%xmm2, 64
\tmovaps\t%xmm3, 80(%rsp)
\t.seh_savexmm\t%xmm3, 80
\t.seh_endprologue
\tmovq\t%rax, %rcx
\tcall\tBindImportSlot
\tmovaps\t32(%rsp), %xmm0
\tmovaps\t48(%rsp), %xmm1
\tmovaps\t64(%rsp), %xmm2
\tmovaps\t80(%rsp), %xmm3
\taddq\t$104, %rsp
\tpopq\t%r9
\tpopq\t%r8
\tpopq\t%rdx
\tpopq\t%rcx
\tjmpq\t*%rax
\t.seh_endproc
""",
}

STUB = {
    "i686": "\tmovl\t${record}, %eax\n\tjmp\t.Lbind\n",
    "x86_64": "\tleaq\t{record}(%rip), %rax\n\tjmp\t.Lbind\n",
}
POINTER = {"i686": (".long", 2), "x86_64": (".quad", 3)}


def fail(message):
    sys.stderr.write("make_import_slots: %s\n" % message)
    sys.exit(1)


def read_list(path, arch):
    """(DLL, function) pairs for arch, in the list's order."""
    entries = []
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        words = line.split("#", 1)[0].split()
        if not words:
            continue
        if len(words) not in (2, 3) or not words[0].endswith(".dll") or (len(words) == 3 and words[2] not in POINTER):
            fail("%s:%d: not \"DLL function [i686|x86_64]\": %s" % (path, number, line.strip()))
        if len(words) == 2 or words[2] == arch:
            entries.append((words[0].lower(), words[1]))
    if len(set(entries)) != len(entries):
        fail("%s names a function twice" % path)
    return entries


def slot_symbols(nm, library, arch):
    """Function name -> the slot symbol the import library defines for it."""
    out = subprocess.run([nm, "-g", library], check=True, capture_output=True, text=True).stdout
    symbols = {}
    for symbol in re.findall(r" I (__imp_\S+)", out):
        name = symbol[len("__imp_"):]
        if arch == "i686":
            name = re.sub(r"@\d+$", "", name[1:] if name.startswith("_") else name)
        symbols[name] = symbol
    return symbols


def utf16_words(text):
    return ", ".join(str(ord(c)) for c in text + "\0")


def main():
    arch, nm, library_directory, list_path, output = sys.argv[1:6]
    if arch not in POINTER:
        fail("unknown architecture %s" % arch)
    entries = read_list(list_path, arch)
    libraries = sorted({dll for dll, _ in entries})
    exported = {dll: slot_symbols(nm, "%s/lib%s.a" % (library_directory, dll[:-4]), arch) for dll in libraries}
    pointer, alignment = POINTER[arch]

    text = [BIND[arch]]
    records = ["\t.section .rdata,\"dr\"\n\t.p2align %d\n" % alignment]
    slots = ["\t.data\n\t.p2align %d\n" % alignment]
    names = ["\t.section .rdata,\"dr\"\n"]
    for index, (dll, function) in enumerate(entries):
        symbol = exported[dll].get(function)
        if symbol is None:
            fail("%s: the import library of %s has no function %s" % (list_path, dll, function))
        text.append(".Lstub%d:\n%s" % (index, STUB[arch].format(record=".Lrecord%d" % index)))
        library = libraries.index(dll)
        records.append(".Lrecord%d:\n\t%s\t\"%s\", .Lname%d, .Llibrary%d, .Lmodule%d\n"
                       % (index, pointer, symbol, index, library, library))
        slots.append("\t.globl\t\"%s\"\n\"%s\":\n\t%s\t.Lstub%d\n" % (symbol, symbol, pointer, index))
        names.append(".Lname%d:\n\t.asciz\t\"%s\"\n" % (index, function))
    names.append("\t.p2align 1\n")
    for index, dll in enumerate(libraries):
        names.append(".Llibrary%d:\n\t.short\t%s\n" % (index, utf16_words(dll)))
        # The DLL's handle once the first of its functions has loaded it.
        slots.append(".Lmodule%d:\n\t%s\t0\n" % (index, pointer))

    with open(output, "w") as out:
        out.write("# Made by make_import_slots.py from %s for %s.\n" % (list_path.rsplit("/", 1)[-1], arch))
        out.write("".join(text + records + slots + names))
    return 0


if __name__ == "__main__":
    sys.exit(main())
