#!/usr/bin/env python3
"""Self-test of net_peers.py from the Linux side, standard library only."""

import os
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

HERE = os.path.dirname(os.path.abspath(__file__))
CERTS = os.path.join(HERE, 'certs')
PEERS = os.path.join(HERE, 'net_peers.py')
PAGE = (b'<html><body><a href="item1.html">plain headline number one</a>'
        b'<a href="item2.html">plain headline number two</a></body></html>')
SECURE_PAGE = (b'<html><body><a href="item1.html">secure headline number one</a>'
               b'<a href="../item2.html">secure headline number two</a></body></html>')
BIG_LINE = b'0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+\n'


def start_peers(tmp, *extra):
    ports_file = os.path.join(tmp, 'ports.txt')
    proc = subprocess.Popen([sys.executable, PEERS, '--ports-file', ports_file,
                             '--log-file', os.path.join(tmp, 'proxy.log'), *extra])
    for _ in range(200):
        if os.path.exists(ports_file):
            break
        if proc.poll() is not None:
            raise RuntimeError('net_peers.py exited early')
        time.sleep(0.05)
    with open(ports_file) as f:
        ports = dict(line.split() for line in f)
    return proc, {name: int(port) for name, port in ports.items()}


def read_all(sock):
    data = bytearray()
    while True:
        chunk = sock.recv(65536)
        if not chunk:
            return bytes(data)
        data += chunk


def parse(raw):
    head, sep, body = raw.partition(b'\r\n\r\n')
    assert sep, raw[:200]
    lines = head.decode('latin-1').split('\r\n')
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(':')
        headers[name.strip().lower()] = value.strip()
    if 'content-length' in headers:
        assert int(headers['content-length']) == len(body), (headers, len(body))
    return lines[0], headers, body, lines


def get_request(path, extra=''):
    return f'GET {path} HTTP/1.0\r\nHost: localhost\r\n{extra}\r\n'.encode()


def tls_client_context(use_der=False):
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
    if use_der:
        with open(os.path.join(CERTS, 'ca.der'), 'rb') as f:
            ctx.load_verify_locations(cadata=f.read())
    else:
        ctx.load_verify_locations(cafile=os.path.join(CERTS, 'ca.pem'))
    return ctx


class PeersTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.proc, cls.ports = start_peers(cls.tmp.name, '--lifetime', '300')

    @classmethod
    def tearDownClass(cls):
        cls.proc.send_signal(signal.SIGTERM)
        cls.proc.wait(10)
        cls.tmp.cleanup()

    def connect(self, name):
        s = socket.create_connection(('127.0.0.1', self.ports[name]), timeout=20)
        self.addCleanup(s.close)
        return s

    def http(self, path, name='http', request=None):
        s = self.connect(name)
        s.sendall(request or get_request(path))
        return parse(read_all(s))

    def https(self, path, name='tls_good', hostname='localhost', ctx=None):
        s = (ctx or tls_client_context()).wrap_socket(self.connect(name),
                                                      server_hostname=hostname)
        self.addCleanup(s.close)
        s.sendall(get_request(path))
        return parse(read_all(s))

    def tls_via_bio(self, path):
        """Returns (plaintext, raw bytes received, peer sent close_notify)."""
        sock = self.connect('tls_good')
        inc, out = ssl.MemoryBIO(), ssl.MemoryBIO()
        tls = tls_client_context().wrap_bio(inc, out, server_hostname='localhost')
        raw, plain, pending = 0, bytearray(), get_request(path)

        def pump():
            nonlocal raw
            sock.sendall(out.read())
            data = sock.recv(65536)
            raw += len(data)
            if data:
                inc.write(data)
            else:
                inc.write_eof()
        while True:
            try:
                if pending:
                    tls.do_handshake()
                    tls.write(pending)
                    pending = b''
                    sock.sendall(out.read())
                data = tls.read(65536)
                if not data:  # close_notify received
                    return bytes(plain), raw, True
                plain += data
            except ssl.SSLWantReadError:
                pump()
            except ssl.SSLEOFError:
                return bytes(plain), raw, False

    def tls_error(self, name):
        with self.assertRaises(ssl.SSLCertVerificationError) as cm:
            self.https('/dir/page.html', name)
        return cm.exception.verify_code

    def proxy_log(self):
        with open(os.path.join(self.tmp.name, 'proxy.log')) as f:
            return f.read().splitlines()

    def test_ports_file(self):
        self.assertEqual(set(self.ports), {
            'http', 'tls_good', 'tls_wrong_name', 'tls_expired', 'tls_self_signed',
            'tls_untrusted_ca', 'tls_no_intermediate', 'tls_with_intermediate',
            'tls_close_handshake', 'tls_hang_handshake', 'proxy', 'proxy_refusing',
            'tls11_only', 'tls12_only', 'tls13_only'})
        self.assertEqual(len(set(self.ports.values())), len(self.ports))

    def test_page(self):
        status, headers, body, _ = self.http('/page.html')
        self.assertEqual(status, 'HTTP/1.0 200 OK')
        self.assertEqual(headers['content-type'], 'text/html')
        self.assertEqual(body, PAGE)

    def test_redirects(self):
        good = f'https://localhost:{self.ports["tls_good"]}/dir/page.html'
        here = f'http://127.0.0.1:{self.ports["http"]}/page.html'
        cases = [('/chain/1', '302 Found', '/chain/0'), ('/to-https', '301 Moved Permanently', good),
                 ('/to-https-302', '302 Found', good), ('/relative', '302 Found', 'sub/page.html'),
                 ('/rooted', '303 See Other', '/page.html'),
                 ('/s307', '307 Temporary Redirect', '/page.html'),
                 ('/s308', '308 Permanent Redirect', here), ('/loop-a', '302 Found', '/loop-b'),
                 ('/loop-b', '302 Found', '/loop-a'), ('/chain/6', '302 Found', '/chain/5')]
        for path, status, location in cases:
            with self.subTest(path=path):
                got, headers, _, _ = self.http(path)
                self.assertEqual(got, 'HTTP/1.0 ' + status)
                self.assertEqual(headers['location'], location)
        for path in ('/chain/0', '/sub/page.html'):
            self.assertEqual(self.http(path)[2], PAGE)

    def test_no_location_and_404(self):
        status, headers, body, _ = self.http('/no-location')
        self.assertEqual((status, body), ('HTTP/1.0 302 Found', b'moved somewhere'))
        self.assertNotIn('location', headers)
        status, _, body, _ = self.http('/nothing-here')
        self.assertEqual((status, body), ('HTTP/1.0 404 Not Found', b'not found'))

    def test_echo_and_absolute_form(self):
        request = get_request('/echo', 'X-Probe: 1\r\n')
        self.assertEqual(self.http(None, request=request)[2], request)
        url = f'http://127.0.0.1:{self.ports["http"]}/page.html'
        self.assertEqual(self.http(url)[2], PAGE)

    def test_tls_good(self):
        for use_der in (False, True):
            status, _, body, _ = self.https('/dir/page.html', ctx=tls_client_context(use_der))
            self.assertEqual((status, body), ('HTTP/1.0 200 OK', SECURE_PAGE))
        self.assertEqual(self.https('/dir/page.html', hostname='127.0.0.1')[2], SECURE_PAGE)
        plain, raw, clean = self.tls_via_bio('/dir/page.html')
        self.assertEqual(parse(plain)[2], SECURE_PAGE)
        self.assertTrue(clean, 'no close_notify')
        location = self.https('/to-http')[1]['location']
        self.assertEqual(location, f'http://127.0.0.1:{self.ports["http"]}/page.html')

    def test_single_version_servers(self):
        for name, version in (('tls12_only', 'TLSv1.2'), ('tls13_only', 'TLSv1.3')):
            s = tls_client_context().wrap_socket(self.connect(name), server_hostname='localhost')
            self.addCleanup(s.close)
            self.assertEqual(s.version(), version, name)
        # A modern client refuses the TLS 1.1 server outright; an old one is served.
        with self.assertRaises(ssl.SSLError):
            tls_client_context().wrap_socket(self.connect('tls11_only'), server_hostname='localhost')
        old = tls_client_context()
        old.set_ciphers('DEFAULT@SECLEVEL=0')
        with warnings.catch_warnings():
            warnings.simplefilter('ignore', DeprecationWarning)
            old.minimum_version = old.maximum_version = ssl.TLSVersion.TLSv1_1
        s = old.wrap_socket(self.connect('tls11_only'), server_hostname='localhost')
        self.addCleanup(s.close)
        self.assertEqual(s.version(), 'TLSv1.1')

    def test_tls_rejections(self):
        self.assertEqual(self.tls_error('tls_wrong_name'), 62)   # hostname mismatch
        self.assertEqual(self.tls_error('tls_expired'), 10)      # certificate has expired
        self.assertEqual(self.tls_error('tls_self_signed'), 18)  # self-signed certificate
        self.assertEqual(self.tls_error('tls_untrusted_ca'), 20)     # unable to get local issuer
        self.assertEqual(self.tls_error('tls_no_intermediate'), 20)
        self.assertEqual(self.https('/dir/page.html', 'tls_with_intermediate')[2], SECURE_PAGE)
        # The wrong-name and expired leaves still chain to the test root.
        ctx = tls_client_context()
        ctx.check_hostname = False
        self.assertEqual(self.https('/dir/page.html', 'tls_wrong_name', ctx=ctx)[2], SECURE_PAGE)

    def test_small_records(self):
        plain, raw, clean = self.tls_via_bio('/small-records')
        # Each record costs at least 21 bytes of framing on top of 1..7 bytes.
        self.assertGreater(raw, 5 * len(plain))
        self.assertTrue(clean, 'no close_notify')
        status, _, body, _ = parse(plain)
        self.assertEqual(status, 'HTTP/1.0 200 OK')
        self.assertEqual(len(body), 20000)
        self.assertTrue(body.startswith(b'record-record-'))
        self.assertTrue(body.endswith(b'END'))
        self.assertEqual(body[:-3], (b'record-' * 3000)[:19997])

    def test_big(self):
        _, headers, body, _ = self.https('/big')
        self.assertEqual(headers['content-length'], '52428800')
        self.assertEqual(len(body), 52428800)
        self.assertTrue(body == BIG_LINE * (52428800 // 64))

    def test_proxy_get(self):
        url = f'http://127.0.0.1:{self.ports["http"]}/echo'
        request = get_request(url, 'X-Probe: 2\r\n')
        status, headers, body, lines = self.http(None, 'proxy', request)
        self.assertEqual(status, 'HTTP/1.0 200 OK')
        self.assertEqual(lines[1], 'Via: 1.0 test-proxy')
        self.assertEqual(body, get_request('/echo', 'X-Probe: 2\r\n'))
        self.assertIn(f'proxy GET {url} HTTP/1.0', self.proxy_log())

    def test_proxy_connect(self):
        s = self.connect('proxy')
        target = f'localhost:{self.ports["tls_good"]}'
        s.sendall(f'CONNECT {target} HTTP/1.0\r\nHost: {target}\r\n\r\n'.encode())
        head = b''
        while not head.endswith(b'\r\n\r\n'):
            chunk = s.recv(1)
            self.assertTrue(chunk, head)
            head += chunk
        self.assertEqual(head, b'HTTP/1.0 200 Connection established\r\n\r\n')
        tls = tls_client_context().wrap_socket(s, server_hostname='localhost')
        self.addCleanup(tls.close)
        tls.sendall(get_request('/dir/page.html'))
        self.assertEqual(parse(read_all(tls))[2], SECURE_PAGE)
        self.assertIn(f'proxy CONNECT {target} HTTP/1.0', self.proxy_log())

    def test_proxy_errors(self):
        closed = socket.socket()
        closed.bind(('127.0.0.1', 0))
        dead_port = closed.getsockname()[1]
        closed.close()
        cases = [(f'CONNECT 127.0.0.1:{dead_port} HTTP/1.0\r\n\r\n', 'HTTP/1.0 502 Bad Gateway'),
                 ('CONNECT example.com:443 HTTP/1.0\r\n\r\n', 'HTTP/1.0 403 Forbidden'),
                 ('GET /relative-only HTTP/1.0\r\n\r\n', 'HTTP/1.0 400 Bad Request'),
                 ('garbage\r\n\r\n', 'HTTP/1.0 400 Bad Request')]
        for request, expected in cases:
            with self.subTest(request=request):
                self.assertEqual(self.http(None, 'proxy', request.encode())[0], expected)

    def test_proxy_refusing(self):
        for request in (b'CONNECT localhost:1 HTTP/1.0\r\n\r\n', get_request('http://x/')):
            status, headers, _, _ = self.http(None, 'proxy_refusing', request)
            self.assertEqual(status, 'HTTP/1.0 407 Proxy Authentication Required')
            self.assertEqual(headers['proxy-authenticate'], 'Basic realm="test"')
        self.assertIn('proxy_refusing CONNECT localhost:1 HTTP/1.0', self.proxy_log())

    def test_broken_handshakes(self):
        with self.assertRaises((ssl.SSLError, ConnectionError)):
            self.https('/dir/page.html', 'tls_close_handshake')
        s = self.connect('tls_hang_handshake')
        s.settimeout(1)
        with self.assertRaises(TimeoutError):
            tls_client_context().wrap_socket(s, server_hostname='localhost')

    def test_survives_bad_clients(self):
        for name in self.ports:
            self.connect(name).close()
            s = self.connect(name)
            s.sendall(b'\x16\x03\x01garbage\r\n\r\n')
            s.close()
        s = self.connect('tls_good')
        s.sendall(b'\x16\x03\x01\x00\x05hello')
        s.close()
        for name in ('tls_wrong_name', 'tls_expired', 'tls_self_signed'):
            self.tls_error(name)
        self.assertEqual(self.http('/page.html')[2], PAGE)
        self.assertEqual(self.https('/dir/page.html')[2], SECURE_PAGE)
        self.assertIsNone(self.proc.poll())


class LifecycleTest(unittest.TestCase):
    def test_lifetime_and_sigterm(self):
        with tempfile.TemporaryDirectory() as tmp:
            proc, _ = start_peers(tmp, '--lifetime', '1')
            self.assertEqual(proc.wait(10), 0)
            os.remove(os.path.join(tmp, 'ports.txt'))
            proc, _ = start_peers(tmp)
            proc.send_signal(signal.SIGTERM)
            self.assertEqual(proc.wait(10), 0)

    def test_fixture_script(self):
        script = os.path.join(HERE, 'peers_fixture.sh')
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run(['sh', script, 'start', tmp], check=True, timeout=30)
            with open(os.path.join(tmp, 'peers.pid')) as f:
                pid = int(f.read())
            with open(os.path.join(tmp, 'ports.txt')) as f:
                port = int(dict(line.split() for line in f)['http'])
            with socket.create_connection(('127.0.0.1', port), timeout=10) as s:
                s.sendall(get_request('/page.html'))
                self.assertEqual(parse(read_all(s))[2], PAGE)
            subprocess.run(['sh', script, 'stop', tmp], check=True, timeout=30)
            self.assertFalse(os.path.exists(os.path.join(tmp, 'peers.pid')))
            with self.assertRaises(ProcessLookupError):
                os.kill(pid, 0)
            subprocess.run(['sh', script, 'stop', tmp], check=True, timeout=30)


if __name__ == '__main__':
    unittest.main(verbosity=2)
