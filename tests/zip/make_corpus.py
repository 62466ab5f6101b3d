#!/usr/bin/env python3
"""Makes the archive corpus of the extraction tests with the tools players'
localisation groups use: Info-ZIP zip, 7-Zip and bsdtar from Debian, run on a
folder with Chinese names in a UTF-8 locale, and Python's zipfile where an
archive must take the shape that Windows' own tools, jar tools, .NET or macOS
give it. Beside the archives, cases.txt says what each must extract to: the
result, then every directory and file with its name in GBK, as the platform
lists it under the Chinese code page, and its bytes.

usage: make_corpus.py OUTPUT_DIRECTORY
"""
import io
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile
import zlib

EXTRACTED = 1

# The patch folder a group would pack: nested folders with Chinese names,
# text that deflates, bytes that do not, an empty file and an empty folder.
rng = random.Random(11)
TREE_FILES = {
    "readme.txt": b"Velmora patch\r\n",
    "中文目录/说明.txt": "汉化说明：把补丁放到游戏目录。\r\n".encode("gbk"),
    "中文目录/子目录/深.ks": b"*start\r\n" + b"@jump storage=first.ks\r\n" * 200,
    "data/scenario/ch1.ks": b"[cm]\r\n" * 500,
    "data/image/bg.png": bytes(rng.getrandbits(8) for _ in range(3000)),
    "empty.txt": b"",
}
TREE_EMPTY_DIRECTORIES = ["空目录"]


def directories_of(files, empty=()):
    found = set(empty)
    for name in files:
        parts = name.split("/")[:-1]
        for depth in range(1, len(parts) + 1):
            found.add("/".join(parts[:depth]))
    return found


def make_tree(root):
    for name, data in TREE_FILES.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    for name in TREE_EMPTY_DIRECTORIES:
        os.makedirs(os.path.join(root, name), exist_ok=True)


class RawName(zipfile.ZipInfo):
    """An entry whose name is written as the given bytes, without the UTF-8
    flag, as tools that know no flag write it."""
    __slots__ = ("raw",)

    def _encodeFilenameFlags(self):
        return self.raw, self.flag_bits


def entry(name, host, attributes, raw=None):
    info = RawName(name, date_time=(2024, 5, 1, 12, 0, 0)) if raw is not None else \
        zipfile.ZipInfo(name, date_time=(2024, 5, 1, 12, 0, 0))
    if raw is not None:
        info.raw = raw
    info.create_system = host
    info.external_attr = attributes
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def write_python_archive(path, entries):
    """entries: (ZipInfo, bytes)"""
    with zipfile.ZipFile(path, "w") as archive:
        for info, data in entries:
            archive.writestr(info, data)


class Unseekable(io.RawIOBase):
    """A stream zipfile cannot seek back in, as a network or pipe stream."""

    def __init__(self, out):
        super().__init__()
        self.out = out

    def writable(self):
        return True

    def write(self, data):
        return self.out.write(data)


def write_streamed_archive(path, entries):
    """entries: (ZipInfo, bytes). Every entry gets a data descriptor (flag
    bit 3) and zeros for its CRC-32 and sizes in its local header."""
    with open(path, "wb") as f, zipfile.ZipFile(Unseekable(f), "w") as archive:
        for info, data in entries:
            archive.writestr(info, data)


def unicode_path_block(crc_of, utf8_name):
    data = b"\x01" + zlib.crc32(crc_of).to_bytes(4, "little") + utf8_name
    return (0x7075).to_bytes(2, "little") + len(data).to_bytes(2, "little") + data


def clear_external_attributes(path):
    """Sets every entry's external attributes to 0 in the central directory,
    as jar tools leave them: Python's zipfile will not write 0."""
    with open(path, "r+b") as f:
        data = bytearray(f.read())
        end = data.rindex(b"PK\x05\x06")
        count = int.from_bytes(data[end + 10:end + 12], "little")
        at = int.from_bytes(data[end + 16:end + 20], "little")
        for _ in range(count):
            assert data[at:at + 4] == b"PK\x01\x02"
            data[at + 38:at + 42] = bytes(4)
            at += 46 + sum(int.from_bytes(data[at + i:at + i + 2], "little") for i in (28, 30, 32))
        f.seek(0)
        f.write(data)


def run(command, cwd):
    env = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    subprocess.run(command, cwd=cwd, env=env, check=True, stdout=subprocess.DEVNULL)


def run_to_pipe(command, cwd, path):
    """The tool writes to a pipe, where it cannot seek back."""
    env = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    with subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.PIPE) as tool, open(path, "wb") as out:
        shutil.copyfileobj(tool.stdout, out)
    if tool.returncode != 0:
        raise subprocess.CalledProcessError(tool.returncode, command)


def main():
    out = sys.argv[1]
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    work = tempfile.mkdtemp(prefix="velmora-corpus-")
    try:
        cases = build(out, work)
    finally:
        shutil.rmtree(work)
    with open(os.path.join(out, "cases.txt"), "w") as f:
        for archive, result, files, directories in cases:
            f.write("case %s %d\n" % (archive, result))
            for name in sorted(directories):
                f.write("dir %s\n" % name.encode("gbk").hex())
            for name, data in sorted(files.items()):
                f.write("file %s %s\n" % (name.encode("gbk").hex(), data.hex()))
            f.write("end\n")
    return 0


def build(out, work):
    tree = os.path.join(work, "tree")
    make_tree(tree)
    whole = (TREE_FILES, directories_of(TREE_FILES, TREE_EMPTY_DIRECTORIES))
    # Tools that store no directory entries cannot know of an empty folder.
    no_empty = (TREE_FILES, directories_of(TREE_FILES))
    cases = []

    def tool(archive, command, expected):
        run(command(os.path.join(out, archive)), tree)
        cases.append((archive, EXTRACTED) + expected)

    # Info-ZIP zip in a UTF-8 locale: UTF-8 names without the flag, made on Unix.
    tool("zip-r.zip", lambda a: ["zip", "-q", "-r", a, "."], whole)
    tool("zip-D.zip", lambda a: ["zip", "-q", "-r", "-D", a, "."], no_empty)
    tool("zip64.zip", lambda a: ["zip", "-q", "-r", "-fz", a, "."], whole)
    tool("7zz.zip", lambda a: ["7zz", "a", "-tzip", "-bso0", "-bsp0", a, "."], whole)
    # bsdtar on "." names everything "./...", and "./" the folder itself.
    tool("bsdtar.zip", lambda a: ["bsdtar", "--format", "zip", "-cf", a, "."], whole)
    # Streamed to a pipe: data descriptors with ZIP64 sizes.
    run_to_pipe(["bsdtar", "--format", "zip", "--options", "zip:zip64", "-cf", "-", "."], tree,
                os.path.join(out, "bsdtar-zip64-stream.zip"))
    cases.append(("bsdtar-zip64-stream.zip", EXTRACTED) + whole)

    # A self-extractor's stub in front: once with the offsets adjusted by
    # zip -A, once left as they were (a padded archive).
    stub = b"MZ" + bytes(rng.getrandbits(8) for _ in range(4094))
    with open(os.path.join(out, "zip-r.zip"), "rb") as f:
        plain = f.read()
    for archive in ("stub-zip-A.zip", "stub-padded.zip"):
        with open(os.path.join(out, archive), "wb") as f:
            f.write(stub + plain)
        cases.append((archive, EXTRACTED) + whole)
    run(["zip", "-q", "-A", os.path.join(out, "stub-zip-A.zip")], tree)

    # Explorer's "Compressed (zipped) folder" on a Chinese Windows: files
    # only, names in the code page, made on MS-DOS, archive bit set.
    write_python_archive(os.path.join(out, "explorer.zip"),
                         [(entry(name, 0, 0x20, raw=name.encode("gbk")), data) for name, data in TREE_FILES.items()])
    cases.append(("explorer.zip", EXTRACTED) + no_empty)

    # .NET's ZipFile and 7-Zip on Windows: UTF-8 names with the flag set,
    # made on MS-DOS, directories listed.
    flagged = [(entry(name + "/", 0, 0x10), b"")
               for name in sorted(directories_of(TREE_FILES, TREE_EMPTY_DIRECTORIES))]
    flagged += [(entry(name, 0, 0x20), data) for name, data in TREE_FILES.items()]
    write_python_archive(os.path.join(out, "utf8-flag.zip"), flagged)
    cases.append(("utf8-flag.zip", EXTRACTED) + whole)

    # macOS Archive Utility: UTF-8 names without the flag, made on host 19.
    mac = [(entry(name + "/", 19, (0o40755 << 16), raw=(name + "/").encode()), b"")
           for name in sorted(directories_of(TREE_FILES, TREE_EMPTY_DIRECTORIES))]
    mac += [(entry(name, 19, 0o100644 << 16, raw=name.encode()), data) for name, data in TREE_FILES.items()]
    write_python_archive(os.path.join(out, "macos.zip"), mac)
    cases.append(("macos.zip", EXTRACTED) + whole)

    # A jar tool: "META-INF/" with no attributes at all, no other directories.
    jar = {"META-INF/MANIFEST.MF": b"Manifest-Version: 1.0\r\n\r\n", "com/example/Main.class": b"\xca\xfe\xba\xbe\x00"}
    write_python_archive(os.path.join(out, "jar.zip"),
                         [(entry("META-INF/", 0, 0), b"")] + [(entry(n, 0, 0), d) for n, d in jar.items()])
    clear_external_attributes(os.path.join(out, "jar.zip"))
    cases.append(("jar.zip", EXTRACTED, jar, directories_of(jar)))

    # .NET Framework's ZipFile: "\" separators.
    dotnet = {"data\\scenario\\ch1.ks": b"[cm]\r\n", "data\\x.ks": b"x", "readme.txt": b"r"}
    write_python_archive(os.path.join(out, "dotnet.zip"), [(entry(n, 0, 0x20), d) for n, d in dotnet.items()])
    dotnet_tree = {n.replace("\\", "/"): d for n, d in dotnet.items()}
    cases.append(("dotnet.zip", EXTRACTED, dotnet_tree, directories_of(dotnet_tree)))

    # .NET Framework's ZipArchive writing to a stream it cannot seek in: "\"
    # separators, no attributes, and each entry, the directories too, a
    # deflate stream (two bytes for an empty one) with a data descriptor
    # after it.
    streamed = [(entry("data\\", 0, 0), b""), (entry("data\\scenario\\", 0, 0), b""),
                (entry("data\\scenario\\ch1.ks", 0, 0), b"[cm]\r\n"), (entry("空目录\\", 0, 0), b""),
                (entry("readme.txt", 0, 0), b"r")]
    write_streamed_archive(os.path.join(out, "dotnet-stream.zip"), streamed)
    clear_external_attributes(os.path.join(out, "dotnet-stream.zip"))
    streamed_tree = {"data/scenario/ch1.ks": b"[cm]\r\n", "readme.txt": b"r"}
    cases.append(("dotnet-stream.zip", EXTRACTED, streamed_tree, directories_of(streamed_tree, ["空目录"])))

    # The Info-ZIP Unicode Path field: its name counts when the CRC-32 it
    # carries is that of the stored name, and is ignored otherwise.
    matching = entry("fallback.txt", 0, 0x20)
    matching.extra = unicode_path_block(b"fallback.txt", "说明.txt".encode())
    stale = entry("renamed.txt", 0, 0x20)
    stale.extra = unicode_path_block(b"fallback.txt", "其他.txt".encode())
    write_python_archive(os.path.join(out, "unicode-path.zip"), [(matching, b"u"), (stale, b"s")])
    cases.append(("unicode-path.zip", EXTRACTED, {"说明.txt": b"u", "renamed.txt": b"s"}, set()))
    return cases


if __name__ == "__main__":
    sys.exit(main())
