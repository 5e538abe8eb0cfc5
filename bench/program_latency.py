"""The latency run of the program benchmark: sites on 127.0.0.1 and further
loopback addresses (so the per-host rule lets several be fetched at once),
every answer held back a fixed time, some sites silent (they read the
request and never answer, so the program's 30 s time-out ends them). The
check time, the window's answers to WM_NULL and the memory at PARALLEL=1
and at the default."""
import http.server
import os
import threading
import time

END_SITE = "zz-end"  # the last site of the file: a 404 at once, so part 0 names it at the end


class LatencyWeb:
    def __init__(self, pages, hosts, delay_s):
        self.pages = pages
        self.delay_s = delay_s
        self.silent = set()
        self.stop = threading.Event()
        self.servers = []
        web = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                try:
                    site = int(self.path.rsplit("/", 1)[1])
                except ValueError:
                    self.send_error(404)
                    return
                if site in web.silent:
                    # Holds the connection without a byte until the run ends.
                    web.stop.wait(600)
                    return
                if web.stop.wait(web.delay_s):
                    return
                body = web.pages.page(site)
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=Shift_JIS")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        for h in range(hosts):
            server = http.server.ThreadingHTTPServer(("127.0.0.%d" % (h + 1), 0), Handler)
            server.daemon_threads = True
            threading.Thread(target=server.serve_forever, daemon=True).start()
            self.servers.append(server)

    def url(self, site, per_host):
        server = self.servers[(site // per_host) % len(self.servers)]
        host, port = server.server_address
        return "http://%s:%d/site/%d" % (host, port, site)

    def close(self):
        self.stop.set()
        for s in self.servers:
            s.shutdown()
            s.server_close()


def latency_run(wine, base, exe, web, sites, parallel, silent, make_dir, windows_path, find_process, rss_mb, cap):
    """One check of `sites` sites (runs of 10 pages of one host) with
    `silent` of them silent, at PARALLEL=`parallel`."""
    per_host = 10
    web.pages.shift = 0
    web.silent = set(range(sites // (2 * max(silent, 1)), sites, sites // max(silent, 1))) if silent else set()
    listed = [("サイト%d" % i, web.url(i, per_host), "CHECK") for i in range(sites)]
    listed.append((END_SITE, "http://127.0.0.1:%d/none" % web.servers[0].server_address[1], "CHECK"))
    name = "latency%d_%d_%d" % (sites, parallel, silent)
    d = make_dir(base, name, exe, listed, ["PARALLEL=%d" % parallel])
    wine.probe("start", windows_path(os.path.join(d, "LINKSCOUT.exe")), windows_path(d))
    pid = find_process("LINKSCOUT.exe", name)
    time.sleep(2)
    r = wine.probe("check", cap, END_SITE)
    r["rss"] = rss_mb(pid)
    r["silent"] = len(web.silent)
    wine.probe("close")
    return r


def print_latency(runs, bare, row):
    for (sites, parallel, silent), r in runs:
        label = "%d sites, 200 ms each%s, PARALLEL=%d" % (sites, ", %d silent" % silent if silent else "", parallel)
        target = ""
        if parallel > 1:
            target = "< 45 s" if silent else "< 25 s"
        if not r["ended"]:
            print("%s: cut short after %.0f s" % (label, r["cycle_ms"] / 1000))
        row(label + ": check", r["cycle_ms"] / 1000, "s", target)
        row(label + ": longest wait for WM_NULL", r["longest_answer_ms"], "ms", "< 250 ms")
        row(label + ": WM_NULL unanswered in 250 ms", r["unanswered"], "", "0")
        row(label + ": memory above the bare window", r["rss"] - bare, "MB", "<= 6 MB")
