#!/usr/bin/env python3
"""Times each extractor on each benchmark archive and prints the medians.

Every run extracts into a file system of its own: a new ext4 image, mounted
for that run only. Deleting and re-creating thousands of files leaves a
shared file system slow for minutes (ext4 avoids and scans recently freed
inodes, the journal and discards catch up), so on a shared file system
whichever run followed a clean-up would pay for it; on a fresh one every
run starts alike. Where no loop device can be mounted the runs go into
fresh directories of the build tree instead, and the figures are noisier.
Repetitions go round all tools in turn, each round starting one tool later,
so that a drift of the machine, and the disk still busy with the last
tool's 300 MB of writes, fall on every tool alike. The first run of each
tool is checked against the archive's manifest (file count, sizes; SHA-1
for our extractor). Under Wine the server runs for the whole measurement,
and its CPU time is counted apart from the program's.

Called by bench/zip/run, which builds and installs everything named here.
"""
import argparse
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import time
from contextlib import contextmanager


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def process_cpu(pid):
    """User plus system CPU seconds of a running process."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def run_timed(command, server_pid, work):
    """GNU time gives CPU time and peak memory: a child forked from Python
    would count Python's memory as its own. Error output goes to a file, not
    a pipe: Wine's service processes inherit it and outlive the program."""
    usage_file = os.path.join(work, "usage.txt")
    server_before = process_cpu(server_pid) if server_pid else 0.0
    with open(os.path.join(work, "stderr.txt"), "w+") as errors:
        start = time.perf_counter()
        done = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", usage_file] + command,
                              stdout=subprocess.DEVNULL, stderr=errors)
        wall = time.perf_counter() - start
        errors.seek(0)
        stderr = errors.read()
    server = process_cpu(server_pid) - server_before if server_pid else 0.0
    with open(usage_file) as f:
        user, system, rss = f.read().split()[-3:]
    return done.returncode, stderr, wall, float(user) + float(system), int(rss), server


def read_manifest(path):
    files = {}
    with open(path) as f:
        for line in f:
            name, size, digest = line.split()
            files[name] = (int(size), digest)
    return files


def check_tree(directory, manifest, with_digests):
    found = 0
    for name, (size, digest) in manifest.items():
        path = os.path.join(directory, name)
        if not os.path.isfile(path) or os.path.getsize(path) != size:
            return "%s missing or of another size" % name
        if with_digests:
            with open(path, "rb") as f:
                if hashlib.sha1(f.read()).hexdigest() != digest:
                    return "%s holds other bytes" % name
        found += 1
    total = sum(len(files) for _, _, files in os.walk(directory))
    if total != found:
        return "%d files instead of %d" % (total, found)
    return None


@contextmanager
def fresh_file_system(work, data_bytes, file_count):
    """A directory on a file system made for one run: yields its path."""
    image = os.path.join(work, "run.img")
    mount_point = os.path.join(work, "mnt")
    os.makedirs(mount_point, exist_ok=True)
    size = data_bytes * 13 // 10 + file_count * 8192 + (128 << 20)
    with open(image, "wb") as f:
        f.truncate(size)
    # Inode tables and journal are written now, not by a background thread
    # during the run.
    subprocess.run(["mkfs.ext4", "-q", "-F", "-i", "4096", "-E", "lazy_itable_init=0,lazy_journal_init=0", image],
                   check=True)
    subprocess.run(["mount", "-o", "loop", image, mount_point], check=True)
    try:
        destination = os.path.join(mount_point, "dest")
        os.makedirs(destination)
        yield destination
    finally:
        subprocess.run(["umount", mount_point], check=True)
        os.remove(image)


@contextmanager
def fresh_directory(root, name):
    destination = os.path.join(root, name)
    os.makedirs(destination)
    yield destination


def can_mount(work):
    try:
        with fresh_file_system(work, 0, 0):
            return True
    except (subprocess.CalledProcessError, OSError):
        return False


class Tool:
    def __init__(self, name, side, command, ours=False, baseline=False, window=None):
        self.name, self.side, self.command, self.ours, self.baseline = name, side, command, ours, baseline
        # Ours under the installer's window: "blocked" or "alive".
        self.window = window


def tools(args):
    native = [
        Tool("velmora (ours)", "native", lambda a, d: [args.native, os.path.abspath(a), os.path.abspath(d) + "/"], True),
        Tool("unzip", "native", lambda a, d: ["unzip", "-q", "-o", a, "-d", d]),
        Tool("bsdtar", "native", lambda a, d: ["bsdtar", "-xf", a, "-C", d]),
        Tool("7zz", "native", lambda a, d: ["7zz", "x", "-y", "-bso0", "-bsp0", "-o" + d, a]),
        Tool("miniunzip", "native", lambda a, d: ["miniunzip", "-x", "-o", a, "-d", d]),
    ]
    wine = [
        Tool("velmora.exe (ours)", "wine",
             lambda a, d: [args.wine_run, args.windows, windows_path(a), windows_path(d) + "\\"], True),
        Tool("miniunzip.exe", "wine",
             lambda a, d: [args.wine_run, args.miniunzip_exe, "-x", "-o", windows_path(a), "-d", windows_path(d)]),
    ]
    wine.append(Tool("NSIS installer", "wine",
                     lambda a, d: [args.wine_run,
                                   os.path.join(args.nsis, os.path.splitext(os.path.basename(a))[0] + ".exe"),
                                   "/S", "/D=" + windows_path(d)]))
    if args.window_exe:
        for mode, name in (("blocked", "window blocked"), ("alive", "window kept alive")):
            wine.append(Tool(name, "wine",
                             lambda a, d, mode=mode: [args.wine_run, args.window_exe, mode, windows_path(a),
                                                      windows_path(d) + "\\"],
                             window=mode))
    if args.baseline:
        before_native = os.path.join(args.baseline, "velmora_unzip")
        before_windows = os.path.join(args.baseline, "velmora_unzip.exe")
        native.append(Tool("velmora before", "native",
                           lambda a, d: [before_native, os.path.abspath(a), os.path.abspath(d) + "/"], baseline=True))
        wine.append(Tool("velmora.exe before", "wine",
                         lambda a, d: [args.wine_run, before_windows, windows_path(a), windows_path(d) + "\\"],
                         baseline=True))
    return native + ([] if args.no_wine else wine)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", required=True)
    parser.add_argument("--reps", type=int, default=3)
    parser.add_argument("--native", required=True)
    parser.add_argument("--windows", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--wineserver-pid", type=int, default=0)
    parser.add_argument("--miniunzip-exe", required=True)
    parser.add_argument("--nsis", required=True)
    parser.add_argument("--no-wine", action="store_true")
    parser.add_argument("--baseline", help="directory of an earlier build's velmora_unzip and velmora_unzip.exe")
    parser.add_argument("--window-exe", help="velmora_unzip_window.exe: ours under the installer's window")
    parser.add_argument("archives", nargs="+")
    args = parser.parse_args()

    mounting = can_mount(args.work)
    if not mounting:
        print("measure: cannot mount a loop file system; measuring in directories of %s" % args.work,
              file=sys.stderr)
    out_root = os.path.join(args.work, "out")
    shutil.rmtree(out_root, ignore_errors=True)
    os.makedirs(out_root)
    manifests = {a: read_manifest(os.path.join(args.work, a) + ".manifest") for a in args.archives}
    results = {}
    failures = []
    for rep in range(args.reps):
        for archive in args.archives:
            path = os.path.join(args.work, archive)
            manifest = manifests[archive]
            data_bytes = sum(size for size, _ in manifest.values())
            order = tools(args)
            shift = rep % len(order)
            for tool in order[shift:] + order[:shift]:
                place = (fresh_file_system(args.work, data_bytes, len(manifest)) if mounting else
                         fresh_directory(out_root, "%s-%s-%d" % (archive, tool.name.split()[0], rep)))
                with place as destination:
                    subprocess.run(["sync"], check=True)
                    time.sleep(0.5)
                    server = args.wineserver_pid if tool.side == "wine" else 0
                    code, stderr, wall, cpu, rss, server_cpu = run_timed(tool.command(path, destination), server,
                                                                         args.work)
                    problem = "exit status %d: %s" % (code, stderr.strip()[-300:]) if code != 0 else None
                    if problem is None and rep == 0:
                        problem = check_tree(destination, manifest, tool.ours or tool.baseline or tool.window)
                if problem:
                    failures.append("%s on %s: %s" % (tool.name, archive, problem))
                results.setdefault((archive, tool.name), (tool, data_bytes / 1e6, []))[2].append(
                    (wall, cpu, rss, server_cpu))
                print("  %-10s %-20s run %d: %6.2f s wall %6.2f s cpu%s" %
                      (archive, tool.name, rep + 1, wall, cpu,
                       "  %5.2f s wineserver" % server_cpu if server else ""), file=sys.stderr, flush=True)
    shutil.rmtree(out_root)
    for leftover in ("usage.txt", "stderr.txt"):
        os.remove(os.path.join(args.work, leftover))
    if mounting:
        os.rmdir(os.path.join(args.work, "mnt"))

    print()
    before = {}
    print("%-10s %-20s %8s %8s %10s %8s %9s %8s" %
          ("archive", "extractor", "wall s", "cpu s", "server s", "MB/s", "peak MB", "ours is"))
    for archive in args.archives:
        ours = {side: statistics.median(s[0] for s in samples)
                for (a, _), (tool, _, samples) in results.items() if a == archive and tool.ours
                for side in [tool.side]}
        for (a, name), (tool, megabytes, samples) in results.items():
            if a != archive:
                continue
            wall = statistics.median(s[0] for s in samples)
            cpu = statistics.median(s[1] for s in samples)
            server = statistics.median(s[3] for s in samples)
            rss = max(s[2] for s in samples) / 1024
            ratio = "" if tool.ours else "%.2fx" % (wall / ours[tool.side])
            if tool.baseline:
                before[(archive, tool.side)] = (wall, cpu + server)
            print("%-10s %-20s %8.2f %8.2f %10s %8.0f %9.1f %8s" %
                  (archive, name, wall, cpu, "%.2f" % server if tool.side == "wine" else "-", megabytes / wall, rss,
                   ratio))
    print("(ours is: the peer's median wall time over ours; above 1 means ours is faster)")
    for (archive, side), (before_wall, before_cpu) in before.items():
        ours_samples = [samples for (a, _), (tool, _, samples) in results.items()
                        if a == archive and tool.ours and tool.side == side][0]
        now_wall = statistics.median(s[0] for s in ours_samples)
        now_cpu = statistics.median(s[1] + s[3] for s in ours_samples)
        print("now/before %-6s %-10s wall %.3f s / %.3f s = %.2f, cpu %.2f s / %.2f s = %.2f" %
              (side, archive, now_wall, before_wall, now_wall / before_wall, now_cpu, before_cpu,
               now_cpu / before_cpu))

    for archive in args.archives:
        window = {tool.window: samples for (a, _), (tool, _, samples) in results.items() if a == archive and tool.window}
        if len(window) == 2:
            # What looking after the window between pieces of work costs:
            # the same extraction under the same window, without and with.
            walls = {mode: statistics.median(s[0] for s in window[mode]) for mode in window}
            cpus = {mode: statistics.median(s[1] + s[3] for s in window[mode]) for mode in window}
            print("window kept alive / blocked, %-10s wall %.3f s / %.3f s = %.3f, cpu %.2f s / %.2f s = %.3f" %
                  (archive, walls["alive"], walls["blocked"], walls["alive"] / walls["blocked"], cpus["alive"],
                   cpus["blocked"], cpus["alive"] / cpus["blocked"]))

    print()
    for archive in args.archives:
        for side in ("native", "wine"):
            # On a shared machine wall time carries the others' load; the
            # CPU time (with the server's under Wine) is shown beside it.
            entries = [(name, statistics.median(s[0] for s in samples),
                        statistics.median(s[1] + s[3] for s in samples), tool.ours)
                       for (a, name), (tool, _, samples) in results.items()
                       if a == archive and tool.side == side and not tool.baseline and not tool.window]
            if not entries:
                continue
            ours_wall, ours_cpu = [(w, c) for _, w, c, o in entries if o][0]
            best_name, best_wall, best_cpu = min(((n, w, c) for n, w, c, o in entries if not o), key=lambda x: x[1])
            # Natively ours leads; under Wine it takes at most 0.7 of the
            # fastest Windows peer's time (0.5 aimed at).
            limit = 1.0 if side == "native" else 0.7
            verdict = "met" if ours_wall <= limit * best_wall else "missed"
            print("goal %-6s %-10s ours %.3f s (cpu %.2f), fastest peer %s %.3f s (cpu %.2f), ratio %.2f (<= %.1f): %s" %
                  (side, archive, ours_wall, ours_cpu, best_name, best_wall, best_cpu, ours_wall / best_wall, limit,
                   verdict))
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
