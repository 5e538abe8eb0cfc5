#!/usr/bin/env python3
"""A small local news site for trying LINKSCOUT out.

    scripts/demo_site.py [PORT] [--lifetime SECONDS]

Serves three made-up Japanese news indexes on 127.0.0.1:

    /sjis/   Shift_JIS, told only by the header
             "Content-Type: text/html; charset=Shift_JIS"
    /euc/    EUC-JP, told only by a <meta http-equiv="Content-Type"> tag
    /utf8/   UTF-8, told nowhere

Every page lists its newest headlines as links under ".../news/", so the
extraction string "/news/" selects them and skips the navigation links. The
list moves on every minute: one or two new headlines come in at the top and
the oldest go, the same for every request within one minute. An article
page is served under each headline link.

With --tls-cert and --tls-key the same pages are also served over HTTPS on
a second free port, printed on the second line, and the plain server sends
/utf8/ there with a 302 redirect (to https://localhost:<port>/utf8/), so
that one of the three sites is watched over TLS through a redirect.

PORT 0 (the default) takes a free port; the port is printed on the first line
of standard output either way. The server answers HTTP/1.0, closes the
connection after each response and stops by itself after --lifetime seconds
(default 600). Requests are logged to standard error with --verbose.
"""

import argparse
import html
import http.server
import re
import ssl
import sys
import threading
import time

# Each site: path, name, encoding, how the encoding is told, headline pace.
# The number of headlines that have ever appeared by minute m is
# (rate_num * m + phase) // rate_den; with a rate between 1 and 2 that gives
# one or two new headlines each minute.

SJIS_HEADLINES = [
    "関東で初雪、平年より早く観測",
    "北陸の新線で試運転始まる、来春開業へ",
    "市立図書館が開館五十周年で記念展示",
    "週末は全国的に晴れ、行楽日和に",
    "高校駅伝の県予選で大会新記録",
    "港まつりの花火大会、三年ぶりに開催",
    "新型の気象衛星、打ち上げに成功",
    "通勤電車のダイヤ改正、朝の本数を増便",
    "市民マラソンに一万人が参加",
    "冬の星座観察会、天文台で今夜開催",
    "台風12号が発生、来週にも接近のおそれ",
    "高速道路の渋滞予測、年末は二十九日がピーク",
    "小学生が育てた稲で餅つき大会",
    "新しい路線バスが運行開始、駅と病院を結ぶ",
    "深海で新種の魚を発見、研究チームが発表",
    "女子バレー、地元チームが初の決勝進出",
    "紅葉の見ごろ、今週末まで続く見込み",
    "空港の新ターミナル、来月から一部供用",
    "商店街で冬の灯りフェスタ始まる",
    "大雨の影響で在来線に遅れ、午後に運転再開",
    "月面探査機が撮影した新しい画像を公開",
    "少年野球の全国大会、地元勢が準優勝",
    "河川敷の清掃活動に三百人が参加",
    "桜の開花予想、例年並みの三月下旬",
    "路面電車の新型車両がお披露目",
    "夏の猛暑日、観測史上最多を更新",
    "科学館でロボット教室、親子連れでにぎわう",
    "サッカー二部リーグ、昇格争いが大詰め",
    "古い町家を改装した交流施設が完成",
    "濃霧で朝の便に欠航、昼から通常運航",
    "市の花壇コンクール、最優秀賞が決まる",
    "新しい天気予報の仕組み、来年度から導入",
    "体操の国際大会、日本代表が団体で銅メダル",
    "駅前広場の再整備、工事が始まる",
    "流星群が見ごろ、今夜は晴れて観察の好機",
    "地域の伝統芸能、保存会が子ども向け体験会",
    "自転車専用レーンが市内中心部に開通",
    "水族館でペンギンの赤ちゃん誕生",
    "海水温の上昇続く、漁業への影響を調査",
    "ラグビー大学選手権、準決勝の組み合わせ決まる",
]

EUC_HEADLINES = [
    "朝市に県内外から多くの買い物客",
    "山あいの温泉街で雪見灯籠まつり",
    "県道のトンネル工事が完了、来月開通",
    "中学生が考案した防災マップが完成",
    "冬季の路線バス、雪に備えて時刻を変更",
    "地元産の野菜を使った給食の日",
    "ダム湖周辺の紅葉、今が見ごろ",
    "大学の研究所が新しい蓄電池を開発",
    "高校サッカー、県大会決勝は延長の末に決着",
    "秋祭りの山車が町内を巡行",
    "観測船が南極へ向けて出港",
    "寒波の影響で各地に積雪、交通に注意",
    "フェリー航路の増便、年末年始の帰省に対応",
    "公民館で郷土料理の教室、参加者を募集",
    "植物園の温室で珍しい花が開花",
    "県の陸上記録会、短距離で新記録が続出",
    "旧校舎を活用した美術館が開館",
    "地下鉄の新駅、名称案を公募へ",
    "干潟の渡り鳥、今年は例年より多く飛来",
    "卓球の全国大会、地元の中学生が優勝",
    "市営プールの改修終わり、来週から再開",
    "梅雨明け、平年より一週間早く",
    "天文同好会が皆既月食の観察会",
    "農業高校の生徒が新しい品種のりんごを発表",
    "港の灯台、百年ぶりに塗り替え",
    "マラソン大会の交通規制、日曜の午前中",
    "防災訓練に住民八百人が参加",
    "気象台が今冬の降雪予想を発表",
    "商工会議所が地元の合同会社説明会",
    "バスケットボール、地元チームが連勝を伸ばす",
    "里山の保全活動、ボランティアが間伐作業",
    "鉄道の高架化工事、踏切が順次廃止へ",
    "博物館で恐竜の化石を特別公開",
    "夏休みの子ども科学教室、定員に達する",
    "県内の小学校で書き初め大会",
    "強風の影響で橋が通行止め、夕方に解除",
    "水泳の県大会、高校生が大会新で優勝",
    "古い映画館が改装を終えて再開",
    "湖の氷が厚くなり、わかさぎ釣り解禁",
    "新しい観光船が就航、湾内を一周",
]

UTF8_HEADLINES = [
    "小惑星探査機、地球への帰還予定を発表",
    "都市部で初霜、冬の訪れ告げる",
    "新型の路面清掃車、試験運用始まる",
    "全国高校ラグビー、組み合わせ抽選会",
    "夜空に明るい彗星、双眼鏡で観察可能",
    "空港アクセス鉄道の計画、ルート案が固まる",
    "伝統の和紙づくり、小学生が体験",
    "竜巻注意情報、沿岸部で突風のおそれ",
    "野球の社会人大会、初出場チームが八強入り",
    "海洋研究所が深海の温泉噴出口を調査",
    "駅の図書コーナーが好評、利用者が倍増",
    "市の写真コンテスト、入賞作品を展示",
    "花粉の飛散予測、例年よりやや少なめ",
    "スキー場が続々オープン、雪不足の心配なし",
    "高速バスの新路線、港と温泉地を直通",
    "研究チームが微生物で水を浄化する新技術",
    "フィギュアスケート、ジュニア大会で表彰台独占",
    "街路樹のイルミネーション、点灯式に大勢の人",
    "大潮で潮干狩りの人出、海岸がにぎわう",
    "地震計の観測網を拡充、離島にも設置",
    "柔道の国際大会、新人選手が金メダル",
    "古代の土器が工事現場から出土",
    "夜行列車が臨時運行、年末の三日間",
    "子ども食堂の取り組み、地域に広がる",
    "気温差の大きい一日、体調管理に注意",
    "卓上の小型望遠鏡で惑星観察の講座",
    "車いすテニスの大会、決勝は接戦に",
    "市場の初競り、冬の味覚が並ぶ",
    "宇宙食の試食会、科学館で開催",
    "沿線の桜並木、ライトアップ始まる",
    "バドミントン、混合ダブルスで初優勝",
    "乾燥注意報が続く、火の取り扱いに注意",
    "地元の高校生が人工衛星の模型を製作",
    "花火の打ち上げ場所が変更、河口付近に",
    "登山道の整備完了、紅葉シーズンに間に合う",
    "新しいごみ分別の方法、来月から開始",
    "陸上の実業団駅伝、区間新記録が三つ",
    "夏至の日、各地で日の出の観察会",
    "渡り鳥の飛来地、観察小屋を新設",
    "図書館で古地図の展示、城下町の変遷たどる",
]

NAV = [("トップ", ""), ("天気", "weather/"), ("交通", "traffic/"),
       ("地域", "local/"), ("科学", "science/"), ("スポーツ", "sports/")]


class Site:
    def __init__(self, key, name, encoding, charset_header, meta, headlines,
                 shown, rate_num, rate_den, phase, link_style):
        self.key = key                    # first path segment
        self.name = name
        self.encoding = encoding          # Python codec
        self.charset_header = charset_header
        self.meta = meta                  # charset for a meta tag, or None
        self.headlines = headlines
        self.shown = shown                # headlines on the index
        self.rate_num, self.rate_den, self.phase = rate_num, rate_den, phase
        self.link_style = link_style      # "path" or "absolute"

    def count(self, minute):
        """How many headlines have appeared by the given minute."""
        return (self.rate_num * minute + self.phase) // self.rate_den

    def first_minute(self, k):
        """The minute in which headline number k appeared."""
        need = self.rate_den * (k + 1) - self.phase
        return -(-need // self.rate_num)

    def article_id(self, k):
        stamp = time.strftime("%Y%m%d", time.localtime(self.first_minute(k) * 60))
        return "%s-%04d" % (stamp, k % 10000)

    def headline(self, k):
        return self.headlines[k % len(self.headlines)]

    def current(self, minute):
        """Headline numbers on the index in the given minute, newest first."""
        c = self.count(minute)
        return list(range(c - 1, c - 1 - self.shown, -1))

    def link(self, k, host):
        path = "/%s/news/%s.html" % (self.key, self.article_id(k))
        return "http://%s%s" % (host, path) if self.link_style == "absolute" else path


SITES = {
    "sjis": Site("sjis", "デモ新聞", "shift_jis", "text/html; charset=Shift_JIS", None,
                 SJIS_HEADLINES, 7, 3, 2, 0, "path"),
    "euc": Site("euc", "デモ日報", "euc_jp", "text/html", "EUC-JP",
                EUC_HEADLINES, 6, 3, 2, 1, "absolute"),
    "utf8": Site("utf8", "デモタイムズ", "utf-8", "text/html", None,
                 UTF8_HEADLINES, 8, 4, 3, 0, "path"),
}


def check_pools():
    for site in SITES.values():
        pool = site.headlines
        assert len(pool) == 40, site.key
        for h in pool:
            assert len(h) >= 10, h
            h.encode(site.encoding)
            h.encode("cp932")
            for other in pool:
                assert other == h or h not in other, (h, other)


def head(site, title):
    meta = ""
    if site.meta:
        meta = ('<meta http-equiv="Content-Type" content="text/html; charset=%s">\n'
                % site.meta)
    return ("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n%s<title>%s</title>\n"
            "<style>body{font-family:sans-serif;margin:1em 2em}"
            "nav a{margin-right:1em}li{margin:.3em 0}</style>\n</head>\n<body>\n"
            % (meta, html.escape(title)))


def nav(site):
    links = "".join('<a href="/%s/%s">%s</a>' % (site.key, path, text) for text, path in NAV)
    return "<nav>%s</nav>\n" % links


def index_page(site, now, host):
    minute = int(now // 60)
    stamp = time.strftime("%Y年%m月%d日 %H:%M", time.localtime(minute * 60))
    items = "".join('<li><a href="%s">%s</a></li>\n' % (site.link(k, host), html.escape(site.headline(k)))
                    for k in site.current(minute))
    return (head(site, "%s - ニュース一覧" % site.name)
            + "<h1>%s</h1>\n" % site.name + nav(site)
            + "<p>%s更新</p>\n<h2>新着ニュース</h2>\n<ul>\n%s</ul>\n" % (stamp, items)
            + "<p><a href=\"/%s/archive/\">過去の記事一覧</a></p>\n" % site.key
            + "<footer><small>このサイトは動作確認用の架空のニュースです。</small></footer>\n"
            + "</body>\n</html>\n")


def article_page(site, article, now):
    minute = int(now // 60)
    c = site.count(minute)
    title = None
    for k in range(c - 1, max(c - 2000, 0) - 1, -1):
        if site.article_id(k) == article:
            title = site.headline(k)
            break
    if title is None:
        return None
    return (head(site, "%s - %s" % (title, site.name))
            + "<h1>%s</h1>\n" % site.name + nav(site)
            + "<h2>%s</h2>\n<p>記事番号 %s</p>\n" % (html.escape(title), article)
            + "<p>詳しい内容は追ってお伝えします。</p>\n"
            + "<p><a href=\"/%s/\">ニュース一覧へ戻る</a></p>\n</body>\n</html>\n" % site.key)


def section_page(site):
    return (head(site, site.name) + "<h1>%s</h1>\n" % site.name + nav(site)
            + "<p>このページは準備中です。</p>\n</body>\n</html>\n")


ARTICLE = re.compile(r"^/([a-z0-9]+)/news/(\d{8}-\d{4})\.html$")
HOST = re.compile(r"^[A-Za-z0-9.\-]+(:\d+)?$")
SECTION = re.compile(r"^/([a-z0-9]+)/(weather|traffic|local|science|sports|archive)/$")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "DemoNews/1.0"
    verbose = False
    tls_port = None  # set on the plain server when the HTTPS one runs

    def page(self):
        """(status, content type, body bytes) for the request path."""
        path = self.path.split("?", 1)[0]
        now = time.time()
        if path == "/":
            links = "".join('<li><a href="/%s/">%s</a></li>' % (s.key, s.name) for s in SITES.values())
            body = ("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>demo</title></head>"
                    "<body><ul>%s</ul></body></html>\n" % links)
            return 200, "text/html; charset=utf-8", body.encode("utf-8")
        key = path.strip("/").split("/", 1)[0]
        site = SITES.get(key)
        if site is not None:
            text = None
            if path in ("/%s/" % key, "/%s/index.html" % key):
                host = self.headers.get("Host") or ""
                if not HOST.match(host):
                    host = "127.0.0.1:%d" % self.server.server_address[1]
                text = index_page(site, now, host)
            elif ARTICLE.match(path):
                text = article_page(site, ARTICLE.match(path).group(2), now)
            elif SECTION.match(path):
                text = section_page(site)
            if text is not None:
                return 200, site.charset_header, text.encode(site.encoding)
        return 404, "text/plain", b"not found\n"

    def respond(self, with_body):
        path = self.path.split("?", 1)[0]
        if self.tls_port and path in ("/utf8/", "/utf8/index.html"):
            self.send_response(302)
            self.send_header("Location", "https://localhost:%d%s" % (self.tls_port, path))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        status, content_type, body = self.page()
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        if with_body:
            self.wfile.write(body)

    def do_GET(self):
        self.respond(True)

    def do_HEAD(self):
        self.respond(False)

    def log_message(self, format, *args):
        if self.verbose:
            sys.stderr.write("demo_site: %s %s\n" % (self.address_string(), format % args))


def main():
    parser = argparse.ArgumentParser(description="Serves a small local news site on 127.0.0.1.")
    parser.add_argument("port", nargs="?", type=int, default=0, help="port, 0 for a free one (default)")
    parser.add_argument("--lifetime", type=float, default=600, help="seconds until the server stops (default 600)")
    parser.add_argument("--verbose", action="store_true", help="log every request to standard error")
    parser.add_argument("--tls-cert", help="certificate (PEM) of the HTTPS server for localhost")
    parser.add_argument("--tls-key", help="its private key (PEM)")
    args = parser.parse_args()

    check_pools()
    Handler.verbose = args.verbose
    secure = None
    if args.tls_cert and args.tls_key:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        secure_handler = type("SecureHandler", (Handler,), {"tls_port": None})
        secure = http.server.ThreadingHTTPServer(("127.0.0.1", 0), secure_handler)
        secure.daemon_threads = True
        secure.socket = context.wrap_socket(secure.socket, server_side=True)
        Handler.tls_port = secure.server_address[1]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    if secure is not None:
        print(secure.server_address[1], flush=True)
        threading.Thread(target=secure.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True).start()
    timer = threading.Timer(max(args.lifetime, 0), server.shutdown)
    timer.daemon = True
    timer.start()
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        timer.cancel()
        server.server_close()
        if secure is not None:
            secure.shutdown()
            secure.server_close()


if __name__ == "__main__":
    main()
