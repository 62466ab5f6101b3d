#!/usr/bin/env python3
"""Counts the calls each extractor makes per archive entry: system calls
natively (strace), wineserver requests under Wine (WINEDEBUG=+server, which
the server writes for every request of its clients). Each tool runs on two
archives cut from many.zip, with 100 and 200 small files in one directory;
the difference over 100 is the cost of one entry, free of start-up.

Called by bench/zip/run --calls.
"""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import zipfile


def cut_archives(work):
    source = zipfile.ZipFile(os.path.join(work, "many.zip"))
    files = [n for n in source.namelist() if n.startswith("data/000/") and not n.endswith("/")]
    paths = {}
    for count in (100, 200):
        path = os.path.join(work, "calls", "cut%d.zip" % count)
        with zipfile.ZipFile(path, "w") as out:
            for name in ["data/", "data/000/"] + files[:count]:
                out.writestr(source.getinfo(name), source.read(name))
        paths[count] = path
    return paths


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def strace_counts(command, log):
    subprocess.run(["strace", "-f", "-c", "-o", log] + command, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    counts = collections.Counter()
    with open(log) as f:
        for line in f:
            fields = line.split()
            if len(fields) >= 5 and fields[0][0].isdigit() and fields[-1] != "total":
                counts[fields[-1]] += int(fields[3])
    return counts


def server_counts(command, log, prefix, destination):
    """Requests of the threads that create files in destination; the trace
    also holds Wine's own start-up and its service processes."""
    env = dict(os.environ, WINEDEBUG="+server", WINEPREFIX=prefix)
    subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, stderr=subprocess.DEVNULL)
    with open(log, "w") as errors:
        # The server starts with this run and writes its trace to our error output.
        subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=errors, check=True)
        subprocess.run(["wineserver", "-w"], env=env, stderr=subprocess.DEVNULL)
    request = re.compile(r"^([0-9a-f]{4}): ([a-z_]+)\((?!\) = )")
    marker = 'name=L"\\\\??\\\\' + windows_path(destination).replace("\\", "\\\\")
    with open(log, errors="replace") as f:
        lines = f.readlines()
    workers = {line[:4] for line in lines if "create_file(" in line and marker in line}
    counts = collections.Counter()
    for line in lines:
        m = request.match(line)
        if m and m.group(1) in workers:
            counts[m.group(2)] += 1
    return counts


def per_entry(run, archives, out, log):
    """run(archive, destination, log) -> Counter; the per-entry difference."""
    results = []
    for count in (100, 200):
        destination = os.path.join(out, "%d" % count)
        shutil.rmtree(destination, ignore_errors=True)
        os.makedirs(destination)
        results.append(run(archives[count], destination, log))
    return {k: (results[1][k] - results[0][k]) / 100 for k in set(results[0]) | set(results[1])}


def show(name, counts):
    significant = sorted(((v, k) for k, v in counts.items() if v >= 0.05), reverse=True)
    total = sum(v for v, _ in significant)
    print("%-20s %5.1f per entry: %s" % (name, total, ", ".join("%s %.1f" % (k, v) for v, k in significant)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", required=True)
    parser.add_argument("--native", required=True)
    parser.add_argument("--windows", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--wine-prefix", required=True)
    parser.add_argument("--miniunzip-exe", required=True)
    parser.add_argument("--nsis-target", help="NSIS target of the installers (amd64-unicode beside an x86_64 build)")
    parser.add_argument("--baseline", help="directory of an earlier build's velmora_unzip and velmora_unzip.exe")
    args = parser.parse_args()
    calls = os.path.join(args.work, "calls")
    shutil.rmtree(calls, ignore_errors=True)
    os.makedirs(calls)
    archives = cut_archives(args.work)
    log = os.path.join(calls, "log.txt")
    out = os.path.join(calls, "out")

    # NSIS installers of the two cut trees.
    target = "Target %s\n" % args.nsis_target if args.nsis_target else ""
    for count, archive in archives.items():
        tree = os.path.join(calls, "tree%d" % count)
        zipfile.ZipFile(archive).extractall(tree)
        script = os.path.join(calls, "cut%d.nsi" % count)
        with open(script, "w") as f:
            f.write(target + 'Name "cut"\nOutFile "%s"\nSetCompressor zlib\nSilentInstall silent\n'
                    'RequestExecutionLevel user\nCRCCheck off\nInstallDir "$TEMP\\cut"\n'
                    'Section\n  SetOutPath "$INSTDIR"\n  File /r "%s/*"\nSectionEnd\n'
                    % (os.path.abspath(os.path.join(calls, "cut%d.exe" % count)), os.path.abspath(tree)))
        subprocess.run(["makensis", "-V1", script], check=True)

    print("System calls per entry, native (strace -f -c):")
    native = {
        "velmora (ours)": lambda a, d: [args.native, os.path.abspath(a), os.path.abspath(d) + "/"],
        "unzip": lambda a, d: ["unzip", "-q", "-o", a, "-d", d],
        "bsdtar": lambda a, d: ["bsdtar", "-xf", a, "-C", d],
        "7zz": lambda a, d: ["7zz", "x", "-y", "-bso0", "-bsp0", "-o" + d, a],
        "miniunzip": lambda a, d: ["miniunzip", "-x", "-o", a, "-d", d],
    }
    if args.baseline:
        before = os.path.join(args.baseline, "velmora_unzip")
        native["velmora before"] = lambda a, d: [before, os.path.abspath(a), os.path.abspath(d) + "/"]
    for name, command in native.items():
        show(name, per_entry(lambda a, d, l: strace_counts(command(a, d), l), archives, out, log))

    print("Wineserver requests per entry (WINEDEBUG=+server):")
    wine = {
        "velmora.exe (ours)": lambda a, d: [args.wine_run, args.windows, windows_path(a), windows_path(d) + "\\"],
        "miniunzip.exe": lambda a, d: [args.wine_run, args.miniunzip_exe, "-x", "-o", windows_path(a), "-d",
                                       windows_path(d)],
    }
    wine["NSIS installer"] = lambda a, d: [args.wine_run, os.path.splitext(a)[0] + ".exe", "/S",
                                           "/D=" + windows_path(d)]
    if args.baseline:
        before_exe = os.path.join(args.baseline, "velmora_unzip.exe")
        wine["velmora.exe before"] = lambda a, d: [args.wine_run, before_exe, windows_path(a), windows_path(d) + "\\"]
    for name, command in wine.items():
        show(name, per_entry(lambda a, d, l: server_counts(command(a, d), l, args.wine_prefix, d), archives, out, log))
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=args.wine_prefix), stderr=subprocess.DEVNULL)
    shutil.rmtree(calls)
    return 0


if __name__ == "__main__":
    sys.exit(main())
