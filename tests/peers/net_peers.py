#!/usr/bin/env python3
"""Loopback network peers for the Windows client tests: plain HTTP, TLS
servers with good and bad certificates, broken handshakes and HTTP proxies."""

import argparse
import os
import select
import signal
import socket
import ssl
import sys
import threading
import time
import warnings
from urllib.parse import urlsplit

PAGE = (b'<html><body><a href="item1.html">plain headline number one</a>'
        b'<a href="item2.html">plain headline number two</a></body></html>')
SECURE_PAGE = (b'<html><body><a href="item1.html">secure headline number one</a>'
               b'<a href="../item2.html">secure headline number two</a></body></html>')
BIG_LINE = b'0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+\n'
BIG_SIZE = 50 * 1024 * 1024
SMALL_RECORDS_SIZE = 20000
REASONS = {200: 'OK', 301: 'Moved Permanently', 302: 'Found', 303: 'See Other',
           307: 'Temporary Redirect', 308: 'Permanent Redirect', 400: 'Bad Request',
           403: 'Forbidden', 404: 'Not Found', 502: 'Bad Gateway',
           503: 'Service Unavailable'}
LOCAL_HOSTS = ('127.0.0.1', 'localhost')
MAX_HEAD = 64 * 1024
IO_TIMEOUT = 60

ports = {}
log_lock = threading.Lock()
log_file = None


def log_request(name, head):
    line = head.split(b'\r\n', 1)[0].decode('latin-1')
    if log_file is None or not line:
        return
    with log_lock:
        log_file.write(f'{name} {line}\n')
        log_file.flush()


def read_head(sock):
    """Returns (head including the blank line, bytes read past it)."""
    buf = b''
    while b'\r\n\r\n' not in buf and len(buf) < MAX_HEAD:
        chunk = sock.recv(4096)
        if not chunk:
            break
        buf += chunk
    end = buf.find(b'\r\n\r\n')
    if end < 0:
        return buf, b''
    return buf[:end + 4], buf[end + 4:]


def response(status, body=b'', headers=()):
    head = f'HTTP/1.0 {status} {REASONS[status]}\r\n'
    head += f'Content-Length: {len(body)}\r\nContent-Type: text/html\r\n'
    head += ''.join(f'{k}: {v}\r\n' for k, v in headers) + '\r\n'
    return head.encode('latin-1') + body


def redirect(status, location, body=b'redirecting'):
    return response(status, body, [('Location', location)])


def request_path(head):
    parts = head.split(b'\r\n', 1)[0].decode('latin-1').split(' ')
    if len(parts) != 3 or not parts[2].startswith('HTTP/'):
        return None
    target = parts[1]
    if '://' in target:
        target = urlsplit(target).path or '/'
    return target.split('?', 1)[0]


def chain(path):
    k = path[len('/chain/'):]
    if not k.isdigit():
        return response(404, b'not found')
    k = int(k)
    return redirect(302, f'/chain/{k - 1}') if k > 0 else response(200, PAGE)


def http_route(path, head):
    good = f'https://localhost:{ports["tls_good"]}/dir/page.html'
    fixed = {
        '/page.html': lambda: response(200, PAGE),
        '/sub/page.html': lambda: response(200, PAGE),
        '/to-https': lambda: redirect(301, good),
        '/to-https-302': lambda: redirect(302, good),
        '/relative': lambda: redirect(302, 'sub/page.html'),
        '/rooted': lambda: redirect(303, '/page.html'),
        '/s307': lambda: redirect(307, '/page.html'),
        '/s308': lambda: redirect(308, f'http://127.0.0.1:{ports["http"]}/page.html'),
        '/loop-a': lambda: redirect(302, '/loop-b'),
        '/loop-b': lambda: redirect(302, '/loop-a'),
        '/no-location': lambda: response(302, b'moved somewhere'),
        '/busy': lambda: response(503, b'<a href="/retry.html">try again later please</a>'),
        '/echo': lambda: response(200, head),
    }
    if path in fixed:
        return fixed[path]()
    if path.startswith('/chain/'):
        return chain(path)
    return response(404, b'not found')


def text_of_size(unit, size, tail):
    text = unit * (size // len(unit) + 1)
    return text[:size - len(tail)] + tail


def send_small_records(sock):
    body = text_of_size(b'record-', SMALL_RECORDS_SIZE, b'END')
    data = response(200, body)
    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    pos, step = 0, 0
    while pos < len(data):
        size = step % 7 + 1  # 1..7 bytes, one TLS record per write
        sock.sendall(data[pos:pos + size])
        pos += size
        step += 1


def send_big(sock):
    sock.sendall(f'HTTP/1.0 200 OK\r\nContent-Length: {BIG_SIZE}\r\n'
                 'Content-Type: text/html\r\n\r\n'.encode())
    chunk = BIG_LINE * (65536 // len(BIG_LINE))
    for _ in range(BIG_SIZE // len(chunk)):
        sock.sendall(chunk)


def tls_good_route(path, head, sock):
    if path == '/dir/page.html':
        return response(200, SECURE_PAGE)
    if path == '/echo':
        return response(200, head)
    if path == '/small-records':
        send_small_records(sock)
        return b''
    if path == '/big':
        send_big(sock)
        return b''
    if path == '/to-http':
        return redirect(302, f'http://127.0.0.1:{ports["http"]}/page.html')
    if path.startswith('/chain/'):
        return chain(path)
    return response(404, b'not found')


def tls_bad_route(path, head, sock):
    if path == '/dir/page.html':
        return response(200, SECURE_PAGE)
    return response(404, b'not found')


def serve_http(sock, route):
    head, _ = read_head(sock)
    if not head:
        return
    path = request_path(head)
    if path is None:
        sock.sendall(response(400, b'bad request'))
        return
    sock.sendall(route(path, head))


def handle_http(conn):
    serve_http(conn, http_route)


def tls_handler(ctx, route):
    def handle(conn):
        tls = ctx.wrap_socket(conn, server_side=True)
        try:
            serve_http(tls, lambda path, head: route(path, head, tls))
        finally:
            try:
                tls.settimeout(2)  # don't wait long for the peer's close_notify
                tls.unwrap()
            except (OSError, ValueError):
                pass
            tls.close()
    return handle


def handle_close_handshake(conn):
    conn.recv(4096)


def handle_hang_handshake(conn):
    conn.settimeout(None)
    conn.recv(4096)
    while conn.recv(4096):
        pass


def connect_local(host, port):
    if host not in LOCAL_HOSTS:
        return None
    try:
        upstream = socket.create_connection((host, port), timeout=5)
    except OSError:
        return None
    upstream.settimeout(IO_TIMEOUT)
    return upstream


def relay(a, b):
    """Copies both ways until either side closes."""
    a.settimeout(None)
    b.settimeout(None)
    while True:
        readable, _, _ = select.select([a, b], [], [])
        for src in readable:
            data = src.recv(65536)
            if not data:
                return
            (b if src is a else a).sendall(data)


def parse_host_port(text, default_port):
    host, sep, port = text.rpartition(':')
    if not sep:
        return text, default_port
    return host.strip('[]'), int(port)


def handle_proxy(conn):
    head, extra = read_head(conn)
    if not head:
        return
    log_request('proxy', head)
    first, _, rest = head.partition(b'\r\n')
    parts = first.decode('latin-1').split(' ')
    if len(parts) != 3 or not parts[2].startswith('HTTP/') or b'\r\n\r\n' not in head:
        conn.sendall(response(400, b'bad request'))
        return
    method, target, version = parts
    try:
        if method == 'CONNECT':
            host, port = parse_host_port(target, None)
            url = None
        else:
            url = urlsplit(target)
            if url.scheme != 'http' or not url.hostname:
                raise ValueError(target)
            host, port = url.hostname, url.port or 80
    except (ValueError, TypeError):
        conn.sendall(response(400, b'bad request'))
        return
    if host not in LOCAL_HOSTS:
        conn.sendall(response(403, b'only loopback targets'))
        return
    upstream = connect_local(host, port)
    if upstream is None:
        conn.sendall(b'HTTP/1.0 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n')
        return
    with upstream:
        if url is None:
            conn.sendall(b'HTTP/1.0 200 Connection established\r\n\r\n')
            if extra:
                upstream.sendall(extra)
            relay(conn, upstream)
            return
        path = url.path or '/'
        if url.query:
            path += '?' + url.query
        upstream.sendall(f'{method} {path} {version}\r\n'.encode('latin-1') + rest + extra)
        reply, body = read_head(upstream)
        status, sep, headers = reply.partition(b'\r\n')
        if sep:
            reply = status + b'\r\nVia: 1.0 test-proxy\r\n' + headers
        conn.sendall(reply + body)
        relay(conn, upstream)


def handle_proxy_refusing(conn):
    head, _ = read_head(conn)
    if not head:
        return
    log_request('proxy_refusing', head)
    conn.sendall(b'HTTP/1.0 407 Proxy Authentication Required\r\n'
                 b'Proxy-Authenticate: Basic realm="test"\r\nContent-Length: 0\r\n\r\n')


def run_connection(handler, conn):
    # A misbehaving client must only ever end its own connection.
    try:
        with conn:
            conn.settimeout(IO_TIMEOUT)
            handler(conn)
    except Exception:
        pass


def accept_loop(listener, handler):
    while True:
        try:
            conn, _ = listener.accept()
        except OSError:
            time.sleep(0.05)
            continue
        threading.Thread(target=run_connection, args=(handler, conn), daemon=True).start()


def tls_context(certs, name, only=None, chain=None):
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(os.path.join(certs, (chain or name) + '.pem'), os.path.join(certs, name + '.key'))
    if only is not None:  # one protocol version and no other
        if only < ssl.TLSVersion.TLSv1_2:
            ctx.set_ciphers('DEFAULT@SECLEVEL=0')  # old versions are off by default
        ctx.minimum_version = ctx.maximum_version = only
    return ctx


def write_ports_file(path):
    tmp = path + '.tmp'
    with open(tmp, 'w') as f:
        f.writelines(f'{name} {port}\n' for name, port in ports.items())
    os.replace(tmp, path)


def main():
    global log_file
    here = os.path.dirname(os.path.abspath(__file__))
    # TLSVersion.TLSv1_1 warns that it is deprecated; serving it is the point.
    warnings.simplefilter('ignore', DeprecationWarning)
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument('--ports-file', required=True)
    ap.add_argument('--log-file')
    ap.add_argument('--certs', default=os.path.join(here, 'certs'))
    ap.add_argument('--lifetime', type=float, default=1800)
    args = ap.parse_args()

    def stop(signum, frame):
        sys.exit(0)
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    if args.log_file:
        log_file = open(args.log_file, 'a', encoding='latin-1')
    handlers = {
        'http': handle_http,
        'tls_good': tls_handler(tls_context(args.certs, 'good'), tls_good_route),
        'tls11_only': tls_handler(tls_context(args.certs, 'good', ssl.TLSVersion.TLSv1_1), tls_good_route),
        'tls12_only': tls_handler(tls_context(args.certs, 'good', ssl.TLSVersion.TLSv1_2), tls_good_route),
        'tls13_only': tls_handler(tls_context(args.certs, 'good', ssl.TLSVersion.TLSv1_3), tls_good_route),
        'tls_wrong_name': tls_handler(tls_context(args.certs, 'wrong_name'), tls_bad_route),
        'tls_expired': tls_handler(tls_context(args.certs, 'expired'), tls_bad_route),
        'tls_self_signed': tls_handler(tls_context(args.certs, 'self_signed'), tls_bad_route),
        # A leaf of a root nobody trusts, and one whose intermediate is left out.
        'tls_untrusted_ca': tls_handler(tls_context(args.certs, 'untrusted_leaf'), tls_bad_route),
        'tls_no_intermediate': tls_handler(tls_context(args.certs, 'via_intermediate'), tls_bad_route),
        'tls_with_intermediate': tls_handler(
            tls_context(args.certs, 'via_intermediate', chain='via_intermediate_chain'), tls_good_route),
        'tls_close_handshake': handle_close_handshake,
        'tls_hang_handshake': handle_hang_handshake,
        'proxy': handle_proxy,
        'proxy_refusing': handle_proxy_refusing,
    }
    listeners = []
    for name, handler in handlers.items():
        s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        s.bind(('127.0.0.1', 0))
        s.listen(64)
        ports[name] = s.getsockname()[1]
        listeners.append((s, handler))
    # Every listener is bound before the ports file appears, and the routes
    # need all ports, so threads start only now.
    for s, handler in listeners:
        threading.Thread(target=accept_loop, args=(s, handler), daemon=True).start()
    write_ports_file(args.ports_file)

    deadline = time.monotonic() + args.lifetime
    while time.monotonic() < deadline:
        time.sleep(min(1.0, max(0.0, deadline - time.monotonic())))


if __name__ == '__main__':
    main()
