#!/usr/bin/env python3
"""Writes the two benchmark archives, byte for byte the same on every run.

patch.zip: a localisation patch's shape, about 300 MB: a few thousand files
of mixed size and compressibility (scripts and texts that deflate well,
pictures, sounds and movies that do not and are stored) in subdirectories.
many.zip: 20,000 files of about 2 KB in 100 directories.

Every directory is listed as an entry of its own, every entry carries an
extended time stamp, as archives made by common tools do. Beside each archive
a manifest lists every file with its size and SHA-1, for checking what an
extractor wrote.

usage: make_archives.py OUTPUT_DIRECTORY [ARCHIVE...]  (default: both)
"""
import hashlib
import os
import random
import struct
import sys
import zipfile

DATE = (2023, 3, 14, 15, 9, 26)
MTIME = 1678806566  # DATE as UTC


def text_pool(rng, size):
    words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9))) for _ in range(3000)]
    lines, total = [], 0
    while total < size:
        line = b" ".join(rng.choice(words) for _ in range(rng.randint(4, 14))) + b"\r\n"
        lines.append(line)
        total += len(line)
    return b"".join(lines)[:size]


class Contents:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.pool = text_pool(self.rng, 4 << 20)

    def text(self, size):
        start = self.rng.randrange(0, len(self.pool) - size) if size < len(self.pool) else 0
        return (self.pool * (size // len(self.pool) + 1))[start:start + size]

    def noise(self, size):
        return self.rng.randbytes(size)

    def mixed(self, size):
        # Half text, half noise, in blocks: deflates to about 60 %.
        out, block = [], 4096
        for i in range(0, size, block):
            n = min(block, size - i)
            out.append(self.text(n) if (i // block) % 2 == 0 else self.noise(n))
        return b"".join(out)


def timestamp_extra():
    return struct.pack("<HHBi", 0x5455, 5, 1, MTIME)


def write_archive(path, entries):
    """entries: (name, bytes or None for a directory, stored?)"""
    manifest = []
    with zipfile.ZipFile(path + ".part", "w", allowZip64=False) as archive:
        for name, data, stored in entries:
            info = zipfile.ZipInfo(name, date_time=DATE)
            info.extra = timestamp_extra()
            info.create_system = 3
            if data is None:
                info.external_attr = (0o40755 << 16) | 0x10
                archive.writestr(info, b"")
                continue
            info.external_attr = 0o100644 << 16
            info.compress_type = zipfile.ZIP_STORED if stored else zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=6)
            manifest.append("%s %d %s" % (name, len(data), hashlib.sha1(data).hexdigest()))
    os.replace(path + ".part", path)
    with open(path + ".manifest", "w") as out:
        out.write("\n".join(manifest) + "\n")


def patch_entries():
    c = Contents(307)
    rng = random.Random(1)
    entries = []
    kinds = [
        # directory, count, size range, content, stored
        ("scenario", 900, (2_000, 60_000), "text", False),
        ("system", 120, (1_000, 400_000), "mixed", False),
        ("image/bg", 200, (150_000, 900_000), "noise", True),
        ("image/cg", 250, (120_000, 700_000), "noise", True),
        ("image/ui", 700, (2_000, 80_000), "mixed", False),
        ("sound/voice", 600, (8_000, 120_000), "noise", True),
        ("sound/bgm", 20, (1_000_000, 3_000_000), "noise", True),
        ("font", 4, (2_000_000, 6_000_000), "mixed", False),
        ("video", 2, (20_000_000, 30_000_000), "noise", True),
    ]
    for directory, count, (low, high), kind, stored in kinds:
        parts = directory.split("/")
        for depth in range(1, len(parts) + 1):
            name = "/".join(parts[:depth]) + "/"
            if (name, None, True) not in entries:
                entries.append((name, None, True))
        per_folder = 150
        for i in range(count):
            folder = directory if count <= per_folder else "%s/%02d" % (directory, i // per_folder)
            if folder != directory and i % per_folder == 0:
                entries.append((folder + "/", None, True))
            size = int(round(low * (high / low) ** rng.random()))
            data = getattr(c, kind)(size)
            entries.append(("%s/%s_%04d.%s" % (folder, parts[-1], i, "bin" if stored else "dat"), data, stored))
    return entries


def many_entries():
    c = Contents(20000)
    rng = random.Random(2)
    entries = []
    for d in range(100):
        entries.append(("data/%03d/" % d, None, True))
        if d == 0:
            entries.insert(0, ("data/", None, True))
        for i in range(200):
            size = rng.randint(1_500, 2_600)
            entries.append(("data/%03d/f%05d.txt" % (d, d * 200 + i), c.text(size), False))
    return entries


def main():
    out = sys.argv[1]
    wanted = sys.argv[2:] or ["patch.zip", "many.zip"]
    os.makedirs(out, exist_ok=True)
    for name, make in (("patch.zip", patch_entries), ("many.zip", many_entries)):
        if name not in wanted:
            continue
        path = os.path.join(out, name)
        if not os.path.exists(path):
            print("make_archives: writing", path, flush=True)
            write_archive(path, make())


if __name__ == "__main__":
    main()
