"""The program benchmark's run on the wire: the real LINKSCOUT.exe against
Debian's nginx (nginx-light) serving the benchmark's pages as static files
with gzip and ETags on, as shipped. It counts the bytes nginx sent per check
(its access log's $bytes_sent, status line and headers included): the first
check, an unchanged check and a check with 10% new headlines, for the
program measured and, when given, for a build from before (--before-exe).

nginx is started and stopped here, with a configuration of its own in a
temporary directory, listening on 127.0.0.1 on a free port.
"""
import os
import random
import shutil
import signal
import socket
import subprocess
import tempfile
import time

CONFIG = """
worker_processes 1;
daemon off;
pid {tmp}/nginx.pid;
error_log {tmp}/error.log;
events {{ worker_connections 512; }}
http {{
    log_format wire '$request_uri $status $bytes_sent';
    access_log {tmp}/access.log wire;
    client_body_temp_path {tmp}/body;
    proxy_temp_path {tmp}/proxy;
    fastcgi_temp_path {tmp}/fastcgi;
    uwsgi_temp_path {tmp}/uwsgi;
    scgi_temp_path {tmp}/scgi;
    types {{ }}
    default_type text/html;
    charset shift_jis;
    sendfile on;
    gzip on;
    etag on;
    server {{
        listen 127.0.0.1:{port};
        root {root};
    }}
}}
"""


WORDS = ("政治 経済 国際 社会 スポーツ 芸能 科学 地域 天気 速報 特集 連載 解説 社説 写真 動画 "
         "東京 大阪 名古屋 福岡 札幌 首相 国会 選挙 予算 株価 為替 円安 物価 賃金 企業 決算 "
         "新型 感染 病院 学校 大学 試験 台風 地震 大雨 警報 交通 鉄道 空港 観光 文化 映画 "
         "音楽 野球 サッカー 相撲 五輪 選手 監督 優勝 記録 発表 開始 終了 検討 調査 結果").split()


class WebPages:
    """The benchmark's pages, each inside `chrome_kb` KiB of what surrounds
    the headlines on a real news page: menus, rankings, summaries, footer,
    in words drawn at random (per site, the same at every check), so they
    compress as markup and Japanese text do, not as one repeated line."""

    def __init__(self, pages, chrome_kb):
        self.pages = pages
        self.chrome_kb = chrome_kb

    @property
    def shift(self):
        return self.pages.shift

    @shift.setter
    def shift(self, value):
        self.pages.shift = value

    def chrome(self, site):
        rng = random.Random(site)
        parts = []
        size = 0
        while size < self.chrome_kb * 1024:
            kind = rng.randrange(3)
            if kind == 0:
                text = '<li class="nav"><a href="/cat/%d/">%s</a></li>\n' % (rng.randrange(500), rng.choice(WORDS))
            elif kind == 1:
                text = '<p class="summary">%s。</p>\n' % "".join(rng.choice(WORDS) for _ in range(rng.randrange(8, 30)))
            else:
                text = '<div class="rank"><span>%d位</span><a href="/ranking/%d.html">%s</a></div>\n' % (
                    rng.randrange(1, 20), rng.randrange(100000), "".join(rng.choice(WORDS) for _ in range(6)))
            b = text.encode("cp932")
            parts.append(b)
            size += len(b)
        return b"".join(parts)

    def page(self, site):
        body = self.pages.page(site)
        if not self.chrome_kb:
            return body
        return body.replace(b"</body>", self.chrome(site) + b"</body>")


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


class Nginx:
    def __init__(self):
        self.tmp = tempfile.mkdtemp(prefix="linkscout-nginx-")
        os.chmod(self.tmp, 0o755)  # nginx's worker runs as www-data and must read the pages
        self.root = os.path.join(self.tmp, "root")
        os.makedirs(os.path.join(self.root, "site"))
        self.port = free_port()
        self.proc = None
        self.log = os.path.join(self.tmp, "access.log")

    def __enter__(self):
        conf = os.path.join(self.tmp, "nginx.conf")
        with open(conf, "w") as f:
            f.write(CONFIG.format(tmp=self.tmp, port=self.port, root=self.root))
        self.proc = subprocess.Popen(["nginx", "-p", self.tmp, "-c", conf],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return self
            except OSError:
                time.sleep(0.05)
        raise SystemExit("nginx did not start; see " + os.path.join(self.tmp, "error.log"))

    def __exit__(self, *exc):
        self.proc.send_signal(signal.SIGTERM)
        self.proc.wait(timeout=30)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def publish(self, pages, sites):
        """Writes every site's page as a file; returns their bytes on disk."""
        total = 0
        for i in range(sites):
            body = pages.page(i)
            path = os.path.join(self.root, "site", str(i))
            total += len(body)
            if os.path.exists(path):
                with open(path, "rb") as f:
                    if f.read() == body:
                        continue  # untouched: its ETag stays
            with open(path, "wb") as f:
                f.write(body)
        return total

    def log_size(self):
        return os.path.getsize(self.log) if os.path.exists(self.log) else 0

    def bytes_since(self, offset):
        """Requests and bytes sent, by status, since the log was `offset` long."""
        with open(self.log, "rb") as f:
            f.seek(offset)
            lines = f.read().decode().split("\n")
        sent, requests, statuses = 0, 0, {}
        for line in filter(None, lines):
            _, status, n = line.split()
            sent += int(n)
            requests += 1
            statuses[status] = statuses.get(status, 0) + 1
        return sent, requests, statuses


def wire_run(wine, base, exe, name, pages, nginx, sites, links, make_dir, windows_path, cap):
    """First, unchanged and 10%-new checks of `exe`; bytes nginx sent for each."""
    pages.shift = 0
    on_disk = nginx.publish(pages, sites)
    url = "http://127.0.0.1:%d/site/%%d" % nginx.port
    d = make_dir(base, "wire-" + name, exe, [("サイト%d" % i, url % i, "CHECK") for i in range(sites)])
    wine.probe("start", windows_path(os.path.join(d, "LINKSCOUT.exe")), windows_path(d))
    r = {"disk": on_disk}
    for check in ("first", "same", "new"):
        if check == "new":
            pages.shift += links // 10
            r["disk_new"] = nginx.publish(pages, sites)
            time.sleep(1.1)  # a new second: the new files' ETags differ from the old
        offset = nginx.log_size()
        ended = wine.probe("check", cap)["ended"]
        time.sleep(0.5)  # the log line of the last answer
        sent, requests, statuses = nginx.bytes_since(offset)
        if set(statuses) - {"200", "304"}:
            raise SystemExit("nginx answered %s; see %s" % (statuses, nginx.tmp))
        r[check] = sent
        r[check + "_requests"] = requests
        r[check + "_statuses"] = statuses
        r[check + "_ended"] = ended
    wine.probe("close")
    r["logs"] = logs_of(d)
    return r


def logs_of(d):
    """The news list and every site log a run left, by name."""
    logs = {}
    for name in os.listdir(os.path.join(d, "LOG")):
        if name.endswith((".log", ".log.old")):
            with open(os.path.join(d, "LOG", name), "rb") as f:
                logs[name] = f.read()
    return logs


def print_wire(rows, sites, chrome_kb, row):
    print("Bytes on the wire per check, %d sites against nginx (gzip and ETags on), %s"
          % (sites, "the benchmark's pages" if not chrome_kb else "in %d KiB of news-page chrome" % chrome_kb))
    for name, r in rows:
        row("%s: pages on disk" % name, r["disk"] / 1024.0, "KiB")
        for check, label in (("first", "first check"), ("same", "unchanged check"), ("new", "check with 10% new")):
            statuses = ", ".join("%s x%d" % kv for kv in sorted(r[check + "_statuses"].items()))
            row("%s: %s (%s)" % (name, label, statuses), r[check] / 1024.0, "KiB",
                "" if r[check + "_ended"] else "check cut short")
    named = dict(rows)
    if "after" in named:
        a = named["after"]
        row("after: unchanged check / first check", 100.0 * a["same"] / a["first"], "%", "<= 5 %")
        if "before" in named:
            b = named["before"]
            row("after / before: first check", 100.0 * a["first"] / b["first"], "%", "<= 35 %")
            row("after / before: unchanged check", 100.0 * a["same"] / b["same"], "%")
            row("after / before: check with 10% new", 100.0 * a["new"] / b["new"], "%")
            same = sum(1 for k, v in a["logs"].items() if b["logs"].get(k) == v)
            row("log files (news list, site logs) the same as before's, of %d" % len(b["logs"]), same, "",
                "all" if same == len(b["logs"]) == len(a["logs"]) else "DIFFERENT")
