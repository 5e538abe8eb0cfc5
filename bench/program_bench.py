#!/usr/bin/env python3
"""The program benchmark: the real LINKSCOUT.exe under Wine, checking N sites
of K links each served on 127.0.0.1, next to a bare Win32 window.

    bench/program_bench.py [--sites 100,500] [--links 30] [--exe PATH]
                           [--wire-sites 100] [--before-exe PATH]

Needs the Windows build (cmake --preset windows; cmake --build --preset
windows --target LINKSCOUT bench-probe bench-bare-window), wine and Xvfb. It
makes its own Wine prefix in build/windows/bench-wineprefix and its own
virtual display, and prints one table of figures with the targets beside them.

For each N: a first check (every headline new, the list capped at 5,000 rows
by LIST=5000), a next check after 10% of every page's headlines changed, and
an unchanged check (nothing new), whose CPU taken from the next check's leaves
what the new headlines themselves cost.
Then a start with a new-list of 5,000 rows and the log switcher showing a site
log of 5,000 entries. Time is measured by bench-probe inside Wine; CPU ticks
and resident memory are read from /proc for the program's own process.
The latency run (program_latency.py): 500 sites answering after 200 ms,
with and without 5 silent ones, at PARALLEL=1 and at the default 6.
Last, the bytes on the wire per check against nginx (program_wire.py), for
the program and for --before-exe, a build from before HTTP/1.1 (say, of the
main branch), when one is given.
"""
import argparse
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

import program_latency
import program_wire

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TICK = os.sysconf("SC_CLK_TCK")
LIST_ROWS = 5000
NEW_LIST_NAME = "新着リスト"
BIG_SITE = "大きなサイト"


class Pages:
    """Site i's page holds links `shift` .. `shift + links - 1`, newest first;
    advancing the shift puts that many new headlines on every page."""

    def __init__(self, links):
        self.links = links
        self.shift = 0

    def page(self, site):
        rows = []
        for n in range(self.shift + self.links - 1, self.shift - 1, -1):
            rows.append('<li><a href="/story/%d/%06d.html">サイト%d のニュース見出し 第%06d号</a></li>\n'
                        % (site, n, site, n))
        body = ("<html><head><title>サイト%d</title></head><body><ul>\n%s</ul></body></html>\n"
                % (site, "".join(rows)))
        return body.encode("cp932")


def serve(pages):
    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            try:
                site = int(self.path.rsplit("/", 1)[1])
            except ValueError:
                self.send_error(404)
                return
            body = pages.page(site)
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=Shift_JIS")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


class Wine:
    def __init__(self, build):
        self.build = build
        self.prefix = os.path.join(build, "bench-wineprefix")
        self.xvfb = None
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEARCH="win64", WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL="C.UTF-8")

    def __enter__(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.env["DISPLAY"] = ":" + f.readline().strip()
        subprocess.run(["cmake", "-DWINE=" + shutil.which("wine"), "-DWINESERVER=" + shutil.which("wineserver"),
                        "-DPREFIX=" + self.prefix, "-P", os.path.join(ROOT, "cmake", "wine_prefix.cmake")],
                       env=self.env, check=True, stdout=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "-k"], env=self.env)
        subprocess.run(["wineserver", "-w"], env=self.env)
        self.xvfb.terminate()
        self.xvfb.wait()

    def probe(self, *args):
        # Into a file, not a pipe: the program the probe starts inherits its
        # output and would hold a pipe open for as long as it runs.
        with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
            rc = subprocess.run(["wine", os.path.join(self.build, "bench-probe.exe")] + [str(a) for a in args],
                                env=self.env, stdout=out, stderr=err, timeout=3600).returncode
            out.seek(0)
            err.seek(0)
            if rc != 0:
                sys.exit("bench-probe %s failed: %s" % (args[0], err.read().strip()))
            return {k: float(v) for k, v in (pair.split("=") for pair in out.read().split())}


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def find_process(name, marker):
    """The Linux pid of the Wine process running `name` from a path holding `marker`."""
    for _ in range(200):
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    cmd = f.read().decode("utf-8", "replace")
            except OSError:
                continue
            if name in cmd and marker in cmd:
                return int(pid)
        time.sleep(0.05)
    sys.exit("no process for " + name)


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def make_dir(base, name, exe, sites, ini_extra=()):
    d = os.path.join(base, name)
    os.makedirs(os.path.join(d, "LOG"))
    shutil.copy(exe, os.path.join(d, "LINKSCOUT.exe"))
    with open(os.path.join(d, "site.ck"), "wb") as f:
        f.write(crlf(sum(([n, u, "/story/", c] for n, u, c in sites), [])))
    with open(os.path.join(d, "LINKSCOUT.ini"), "wb") as f:
        f.write(crlf(["[Window]", "left=0", "top=0", "right=800", "bottom=600",
                      "[SETTING]", "INTERVAL=600", "LIST=%d" % LIST_ROWS] + list(ini_extra)))
    # Written long before the run, as a user's settings would be.
    old = time.time() - 3600
    for f in ("site.ck", "LINKSCOUT.ini"):
        os.utime(os.path.join(d, f), (old, old))
    return d


def check_run(wine, base, exe, pages, port, sites, links, cap, minimized):
    pages.shift = 0
    url = "http://127.0.0.1:%d/site/%%d" % port
    d = make_dir(base, "sites%d" % sites, exe, [("サイト%d" % i, url % i, "CHECK") for i in range(sites)])
    wine.probe("start", windows_path(os.path.join(d, "LINKSCOUT.exe")), windows_path(d))
    pid = find_process("LINKSCOUT.exe", os.path.basename(d))
    time.sleep(2)
    r = {"rss_empty": rss_mb(pid)}
    if minimized:
        wine.probe("show", 6)
    c0 = cpu_ticks(pid)
    first = wine.probe("check", cap)
    c1 = cpu_ticks(pid)
    r["first_ended"] = first["ended"]
    if not first["ended"]:
        # Too slow to wait for: what it did within the cap is the figure.
        done = max(first["sites_begun"] - 1, 1)
        r.update(first_s=first["cycle_ms"] / 1000, first_site=first["cycle_ms"] / done, first_cpu=(c1 - c0) / TICK,
                 first_cpu_new=1000.0 * (c1 - c0) / TICK / (done * links), first_done=done,
                 first_longest=first["longest_answer_ms"], first_unanswered=first["unanswered"], rss=rss_mb(pid))
        os.kill(pid, 9)
        time.sleep(2)
        return r
    pages.shift += links // 10
    second = wine.probe("check", cap)
    c2 = cpu_ticks(pid)
    # Nothing new: what a check costs a site by itself, apart from its news.
    third = wine.probe("check", cap)
    c3 = cpu_ticks(pid)
    r["rss"] = rss_mb(pid)
    time.sleep(10)
    r["idle_ticks"] = cpu_ticks(pid) - c3
    fetch = wine.probe("fetch", port, sites)["fetch_ms"]
    wine.probe("close")
    first_new, next_new = sites * links, sites * (links // 10)
    r.update(first_s=first["cycle_ms"] / 1000, first_site=first["cycle_ms"] / sites, first_done=sites,
             first_cpu=(c1 - c0) / TICK, first_cpu_new=1000.0 * (c1 - c0) / TICK / first_new,
             first_longest=first["longest_answer_ms"], first_unanswered=first["unanswered"],
             next_s=second["cycle_ms"] / 1000, next_site=second["cycle_ms"] / sites,
             next_beyond=second["cycle_ms"] / sites - fetch, fetch=fetch,
             next_cpu=(c2 - c1) / TICK, next_cpu_new=1000.0 * (c2 - c1) / TICK / next_new,
             same_site=third["cycle_ms"] / sites, same_cpu_site=1000.0 * (c3 - c2) / TICK / sites,
             next_cpu_news=1000.0 * ((c2 - c1) - (c3 - c2)) / TICK / next_new,
             next_longest=second["longest_answer_ms"], next_unanswered=second["unanswered"])
    return r


def big_list_run(wine, base, exe):
    d = make_dir(base, "biglist", exe, [(BIG_SITE, "http://127.0.0.1:9/", "NOCHK")])
    rows, pairs = [], []
    for n in range(LIST_ROWS):
        rows += ["保存された見出し 第%06d号" % n, "4", "サイト%d" % (n % 500), "http://127.0.0.1/story/%06d.html" % n]
        pairs += ["過去の見出し 第%06d号" % n, "http://127.0.0.1/past/%06d.html" % n]
    with open(os.path.join(d, "LOG", NEW_LIST_NAME + ".all.log"), "wb") as f:
        f.write(crlf(rows))
    with open(os.path.join(d, "LOG", BIG_SITE + ".all.log"), "wb") as f:
        f.write(crlf(pairs))
    start = wine.probe("start", windows_path(os.path.join(d, "LINKSCOUT.exe")), windows_path(d))
    pid = find_process("LINKSCOUT.exe", os.path.basename(d))
    time.sleep(2)
    r = {"start_ms": start["start_ms"], "rss_start": rss_mb(pid)}
    r.update(wine.probe("logs"))
    wine.probe("close")
    return r


def bare_window(wine, base):
    d = os.path.join(base, "bare")
    os.makedirs(d)
    exe = os.path.join(d, "bench-bare-window.exe")
    shutil.copy(os.path.join(wine.build, "bench-bare-window.exe"), exe)
    start = wine.probe("start", windows_path(exe), windows_path(d), "benchbare")["start_ms"]
    pid = find_process("bench-bare-window.exe", "bare")
    time.sleep(3)
    rss = rss_mb(pid)
    os.kill(pid, 15)
    return rss, start


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--sites", default="100,500", help="site counts, comma-separated")
    ap.add_argument("--links", type=int, default=30, help="links per page")
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    ap.add_argument("--exe", help="the LINKSCOUT.exe to measure (default: the build's)")
    ap.add_argument("--minimized", action="store_true",
                    help="check with the window minimised, to see what painting it costs")
    ap.add_argument("--only-checks", action="store_true", help="skip the start and log-switcher figures")
    ap.add_argument("--cap", type=int, default=900, help="seconds a check may take before it is cut short")
    ap.add_argument("--wire-sites", type=int, default=100, help="sites of the run against nginx (0: none)")
    ap.add_argument("--before-exe", help="a LINKSCOUT.exe from before, measured on the wire beside the program")
    ap.add_argument("--latency-sites", type=int, default=500,
                    help="sites of the latency run (200 ms an answer; 0: none)")
    ap.add_argument("--latency-parallel", default="1,6", help="PARALLEL values of the latency run, comma-separated")
    ap.add_argument("--only-latency", action="store_true", help="only the bare window and the latency run")
    ap.add_argument("--wire-chrome", default="0,60",
                    help="KiB of page around the headlines in the runs against nginx, comma-separated")
    args = ap.parse_args()
    exe = os.path.abspath(args.exe or os.path.join(args.build, "LINKSCOUT.exe"))
    counts = [int(n) for n in args.sites.split(",")]

    pages = Pages(args.links)
    server = serve(pages)
    port = server.server_address[1]
    base = tempfile.mkdtemp(prefix="linkscout-bench-")
    try:
        with Wine(os.path.abspath(args.build)) as wine:
            bare, bare_start = bare_window(wine, base)
            latency = []
            if args.latency_sites:
                web = program_latency.LatencyWeb(Pages(args.links), 50, 0.2)
                try:
                    for silent in (0, 5):
                        for parallel in [int(p) for p in args.latency_parallel.split(",")]:
                            latency.append(((args.latency_sites, parallel, silent), program_latency.latency_run(
                                wine, base, exe, web, args.latency_sites, parallel, silent, make_dir, windows_path,
                                find_process, rss_mb, args.cap)))
                finally:
                    web.close()
            only = args.only_latency
            big = None if args.only_checks or only else big_list_run(wine, base, exe)
            runs = [] if only else [(n, check_run(wine, base, exe, pages, port, n, args.links, args.cap,
                                                  args.minimized)) for n in counts]
            wire = []
            for kb in [int(k) for k in args.wire_chrome.split(",")] if args.wire_sites and not only else []:
                web = program_wire.WebPages(pages, kb)
                rows = []
                with program_wire.Nginx() as nginx:
                    measured = [("before", os.path.abspath(args.before_exe))] if args.before_exe else []
                    for name, path in measured + [("after", exe)]:
                        rows.append((name, program_wire.wire_run(wine, base, path, "%s%d" % (name, kb), web, nginx,
                                                                 args.wire_sites, args.links, make_dir, windows_path,
                                                                 args.cap)))
                wire.append((kb, rows))
    finally:
        server.shutdown()
        shutil.rmtree(base, ignore_errors=True)

    print("LINKSCOUT program benchmark: %s, %d links a site, LIST=%d%s"
          % (exe, args.links, LIST_ROWS, ", window minimised during the checks" if args.minimized else ""))
    print("%-58s %12s  %s" % ("figure", "value", "target"))

    def row(name, value, unit, target=""):
        print("%-58s %10.2f %-3s %s" % (name, value, unit, target))

    for n, r in runs:
        if not r["first_ended"]:
            print("%d sites, first check: cut short after %.0f s with %d sites done; no next check"
                  % (n, r["first_s"], r["first_done"]))
        row("%d sites, first check: total" % n, r["first_s"], "s", "< 30 s at 500 sites" if n == 500 else "")
        row("%d sites, first check: per site" % n, r["first_site"], "ms")
        row("%d sites, first check: program CPU" % n, r["first_cpu"], "s")
        row("%d sites, first check: program CPU per new headline" % n, r["first_cpu_new"], "ms", "<= 0.5 ms")
        row("%d sites, first check: longest wait for an answer" % n, r["first_longest"], "ms", "< 250 ms")
        row("%d sites, first check: WM_NULL unanswered in 250 ms" % n, r["first_unanswered"], "", "0")
        if r["first_ended"]:
            row("%d sites, next check (10%% new): total" % n, r["next_s"], "s")
            row("%d sites, next check: per site" % n, r["next_site"], "ms")
            row("%d sites, next check: fetch alone per site" % n, r["fetch"], "ms")
            row("%d sites, next check: per site beyond the fetch" % n, r["next_beyond"], "ms", "<= 15 ms")
            row("%d sites, next check: program CPU / new headlines" % n, r["next_cpu_new"], "ms")
            row("%d sites, next check: the same beyond an unchanged check" % n, r["next_cpu_news"], "ms", "<= 0.5 ms")
            row("%d sites, next check: longest wait for an answer" % n, r["next_longest"], "ms", "< 250 ms")
            row("%d sites, next check: WM_NULL unanswered in 250 ms" % n, r["next_unanswered"], "", "0")
            row("%d sites, unchanged check (nothing new): per site" % n, r["same_site"], "ms")
            row("%d sites, unchanged check: program CPU per site" % n, r["same_cpu_site"], "ms")
        row("%d sites: resident memory at the start, no rows" % n, r["rss_empty"], "MB")
        row("%d sites: resident memory after the checks" % n, r["rss"], "MB")
        row("%d sites: the same above the bare window" % n, r["rss"] - bare, "MB", "<= 6 MB")
        if r["first_ended"]:
            row("%d sites: CPU ticks in 10 s idle" % n, r["idle_ticks"], "", "0")
    row("bare window: resident memory", bare, "MB")
    program_latency.print_latency(latency, bare, row)
    for kb, rows in wire:
        program_wire.print_wire(rows, args.wire_sites, kb, row)
    if not big:
        return
    row("start of the bare window", bare_start, "ms")
    row("start with a new-list of %d rows" % LIST_ROWS, big["start_ms"], "ms", "< 1000 ms")
    row("  resident memory then, above the bare window", big["rss_start"] - bare, "MB", "<= 6 MB")
    row("log switcher: open", big["switcher_open_ms"], "ms")
    row("log switcher: show a site log of %d entries" % LIST_ROWS, big["log_show_ms"], "ms", "< 300 ms")


if __name__ == "__main__":
    main()
