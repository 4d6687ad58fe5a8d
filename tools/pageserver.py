#!/usr/bin/env python3
"""Loopback HTTP server for the tests: pages that show an address, and the ways a page
server can misbehave. Listens on 127.0.0.1 only, on a free port that it writes to
--port-file.

Routes (query parameters in brackets):
  /echo[body, status=200, ctype=text/plain, hex, clen]  the body as given (hex: body in
                           hex); with clen, that Content-Length whatever the body's length
  /ip[ip]                  a small HTML page showing the address
  /redirect[to, status=302] a redirect to `to` (default /ip?ip=198.51.100.23)
  /loop                    302 to itself, forever
  /bigheaders[kib=100]     a small page behind `kib` header lines of 1000 bytes
  /longredirect[n=2100]    302 to a relative address of more than `n` characters
  /counter                 a new address on each fetch, sent as cacheable for an hour
  /hang                    reads the request and never answers (until the server ends)
  /trickle[every=1]        headers, then one byte every `every` seconds, 200 bytes long
  /big[mib=9]              a body of `mib` MiB of blanks ending in an address
  /dots[mib=8]             a body of `mib` MiB of full stops
  /cut                     announces 1000 bytes, sends 100 and closes
  /slowip[ip, delay=2]     /ip, answered after `delay` seconds
  /heldip[ip, id]          /ip, answered once /release?id= has been asked
  /hops[n=10, ip]          a chain of exactly `n` redirects that ends at /ip
  /slowhop[n=5, delay=1]   `n` redirects, each answered after `delay` seconds
  /reqline                 the request line and headers as received, as the body
  /overlong                announces 20 bytes and sends an address after them
  /bytes[n, ip]            a body of exactly `n` bytes ending in an address
  /garbage                 a line that is no HTTP status line, then closes
  /cutchunked[kind]        a chunked page cut short, then closed: `nolast` (one whole
                           chunk, no last chunk), `short` (a chunk of 32 announced, 15 sent),
                           `huge` (a chunk size of ffffffffffffffff)
  /watched[id]             trickles header bytes, and notes when the client lets go of the
                           connection; /state?id= then says "open" or "closed"
Stalls (each ends by itself after STALL_SECONDS at the latest):
  /tricklestatus[every=1]  the status line, one byte every `every` seconds
  /trickleheaders[every=1] a status line, then header bytes one every `every` seconds
  /continue[every=0]       "100 Continue" again and again
  /endlessheaders          header lines without end
  /endlessbody[status=500, location]  that status, then a body without end
  /endlesschunked          a chunked body without end
With --tls-extra NAME=CERT the same pages are also served over TLS with that certificate
(port in PORT_FILE.NAME). With --proxy-log FILE a forward proxy listens as well (port in
PORT_FILE.proxy): it takes any http:// address, logs the request line to FILE and answers
with the page of that path from this server, whatever the host; a CONNECT (the tunnel for
an https:// address) is logged and refused with 403.
Besides the pages, two ports that never answer (their numbers in PORT_FILE.silent and
PORT_FILE.full): one that accepts connections and never sends a byte (a TLS client waits
there for the handshake), and one whose accept queue is kept full, so that a connect
waits.
"""
import argparse
import http.server
import select
import socket
import socketserver
import threading
import time
import urllib.parse


STALL_SECONDS = 150


def stalling(every):
    """Yields until the stall has lasted STALL_SECONDS, sleeping `every` seconds between."""
    end = time.monotonic() + STALL_SECONDS
    while time.monotonic() < end:
        yield
        if every:
            time.sleep(every)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    counter = 0
    counter_lock = threading.Lock()

    def log_message(self, fmt, *args):
        pass

    def send(self, status, body, ctype='text/plain', extra=()):
        self.send_response(status)
        self.send_header('Content-Type', ctype)
        self.send_header('Content-Length', str(len(body)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        q = {k: v[0] for k, v in urllib.parse.parse_qs(url.query, keep_blank_values=True).items()}
        route = getattr(self, 'route_' + url.path.strip('/').replace('-', '_'), None)
        if route is None:
            self.send(404, b'Not found: 127.0.0.1')
            return
        route(q)

    def route_echo(self, q):
        body = bytes.fromhex(q['hex']) if 'hex' in q else q.get('body', '').encode('latin-1')
        if 'clen' in q:
            self.send_response(int(q.get('status', '200')))
            self.send_header('Content-Type', q.get('ctype', 'text/plain'))
            self.send_header('Content-Length', q['clen'])
            self.send_header('Connection', 'close')
            self.end_headers()
            self.raw(body)
            self.close_connection = True
            return
        self.send(int(q.get('status', '200')), body, q.get('ctype', 'text/plain'))

    def route_ip(self, q):
        ip = q.get('ip', '198.51.100.23')
        body = ('<html><head><title>Deine IP</title></head><body><h1>Ihre IP-Adresse</h1>'
                '<p>Ihre IP: %s</p></body></html>' % ip).encode()
        self.send(200, body, 'text/html; charset=utf-8')

    def route_slowip(self, q):
        time.sleep(float(q.get('delay', '2')))
        self.route_ip(q)

    held = {}
    held_lock = threading.Lock()

    def gate(self, id):
        with Handler.held_lock:
            return Handler.held.setdefault(id, threading.Event())

    def route_heldip(self, q):
        self.gate(q['id']).wait(STALL_SECONDS)
        with Handler.held_lock:
            Handler.held.pop(q['id'], None)
        self.route_ip(q)

    def route_release(self, q):
        self.gate(q['id']).set()
        self.send(200, b'released')

    def route_redirect(self, q):
        self.send(int(q.get('status', '302')), b'',
                  extra=[('Location', q.get('to', '/ip?ip=198.51.100.23'))])

    def route_cutchunked(self, q):
        self.send_response(200)
        self.send_header('Content-Type', 'text/plain')
        self.send_header('Transfer-Encoding', 'chunked')
        self.end_headers()
        page = b'IP 203.0.113.25'
        self.raw({'nolast': b'f\r\n' + page + b'\r\n',
                  'short': b'20\r\n' + page,
                  'huge': b'ffffffffffffffff\r\n' + page}[q.get('kind', 'nolast')])
        self.close_connection = True

    watched = {}

    def route_watched(self, q):
        # Header bytes trickle in (or with fast=1, header lines pour in), so no time-out of
        # the client's own ends the wait: only a client that lets go of the connection does.
        Handler.watched[q['id']] = 'open'
        fast = q.get('fast') == '1'
        self.raw(b'HTTP/1.1 200 OK\r\n' if fast else b'HTTP/1.1 200 OK\r\nX-Slow: ')
        lines = (b'X-Pad: ' + b'a' * 1000 + b'\r\n') * 16
        for _ in stalling(0):
            try:
                readable, _, _ = select.select([self.connection], [], [], 0 if fast else 0.25)
                if readable and not self.connection.recv(1024):
                    break
                self.raw(lines if fast else b'a')
            except OSError:
                break
        Handler.watched[q['id']] = 'closed'
        self.close_connection = True

    def route_state(self, q):
        self.send(200, Handler.watched.get(q['id'], 'unknown').encode())

    def route_longredirect(self, q):
        self.send(302, b'', extra=[('Location', '/ip?' + 'a' * int(q.get('n', '2100')))])

    def route_bigheaders(self, q):
        lines = int(q.get('kib', '100'))
        self.send(200, b'IP 203.0.113.61',
                  extra=[('X-Pad-%d' % i, 'a' * 1000) for i in range(lines)])

    def route_loop(self, q):
        self.send(302, b'', extra=[('Location', '/loop')])

    def route_counter(self, q):
        with Handler.counter_lock:
            Handler.counter += 1
            n = Handler.counter
        self.send(200, ('IP: 10.0.0.%d' % n).encode(),
                  extra=[('Cache-Control', 'max-age=3600'), ('Expires', 'Thu, 01 Jan 2099 00:00:00 GMT')])

    def route_hang(self, q):
        time.sleep(3600)

    def route_trickle(self, q):
        every = float(q.get('every', '1'))
        self.send_response(200)
        self.send_header('Content-Type', 'text/plain')
        self.send_header('Content-Length', '200')
        self.end_headers()
        self.wfile.flush()
        for _ in range(200):
            time.sleep(every)
            self.wfile.write(b'.')
            self.wfile.flush()

    def route_big(self, q):
        size = int(float(q.get('mib', '9')) * 1024 * 1024)
        tail = b' 203.0.113.99'
        self.send(200, b' ' * (size - len(tail)) + tail)

    def route_dots(self, q):
        size = int(float(q.get('mib', '8')) * 1024 * 1024)
        self.send(200, b'.' * size)

    def route_cut(self, q):
        self.send_response(200)
        self.send_header('Content-Type', 'text/plain')
        self.send_header('Content-Length', '1000')
        self.end_headers()
        self.wfile.write(b'IP 203.0.113.50 ' + b'x' * 84)
        self.wfile.flush()
        self.close_connection = True


    def route_hops(self, q):
        n = int(q.get('n', '10'))
        if n <= 0:
            self.route_ip(q)
            return
        rest = urllib.parse.urlencode({'n': n - 1, 'ip': q.get('ip', '198.51.100.23')})
        self.send(302, b'', extra=[('Location', '/hops?' + rest)])

    def route_slowhop(self, q):
        n = int(q.get('n', '5'))
        delay = float(q.get('delay', '1'))
        time.sleep(delay)
        if n <= 0:
            self.route_ip(q)
            return
        self.send(302, b'', extra=[('Location', '/slowhop?n=%d&delay=%s' % (n - 1, delay))])

    def route_reqline(self, q):
        self.send(200, (self.requestline + '\r\n' + str(self.headers)).encode('latin-1'))

    def route_overlong(self, q):
        self.send_response(200)
        self.send_header('Content-Type', 'text/plain')
        self.send_header('Content-Length', '20')
        self.send_header('Connection', 'close')
        self.end_headers()
        self.wfile.write(b'nichts bis hier.... 203.0.113.77 ')
        self.wfile.flush()
        self.close_connection = True

    def route_bytes(self, q):
        n = int(q['n'])
        tail = (' ' + q.get('ip', '203.0.113.98')).encode()
        self.send(200, b' ' * (n - len(tail)) + tail)

    def route_garbage(self, q):
        self.wfile.write(b'HELLO this is no HTTP\r\n\r\n')
        self.wfile.flush()
        self.close_connection = True

    def raw(self, data):
        self.wfile.write(data)
        self.wfile.flush()

    def route_tricklestatus(self, q):
        every = float(q.get('every', '1'))
        line = b'HTTP/1.1 200 OK\r\n'
        for i, _ in enumerate(stalling(every)):
            self.raw(line[i % len(line):i % len(line) + 1])
        self.close_connection = True

    def route_trickleheaders(self, q):
        every = float(q.get('every', '1'))
        self.raw(b'HTTP/1.1 200 OK\r\nX-Slow: ')
        for _ in stalling(every):
            self.raw(b'a')
        self.close_connection = True

    def route_continue(self, q):
        for _ in stalling(float(q.get('every', '0'))):
            self.raw(b'HTTP/1.1 100 Continue\r\n\r\n')
        self.close_connection = True

    def route_endlessheaders(self, q):
        self.raw(b'HTTP/1.1 200 OK\r\n')
        line = b'X-Pad: ' + b'a' * 1000 + b'\r\n'
        for _ in stalling(0):
            self.raw(line * 16)
        self.close_connection = True

    def route_endlessbody(self, q):
        self.send_response(int(q.get('status', '500')))
        if 'location' in q:
            self.send_header('Location', q['location'])
        self.send_header('Content-Type', 'text/plain')
        self.send_header('Connection', 'close')
        self.end_headers()
        # 40 KB/s: never the 8 MiB that would end the fetch before its bound.
        for _ in stalling(0.1):
            self.raw(b'x' * 4096)
        self.close_connection = True

    def route_endlesschunked(self, q):
        self.send_response(200)
        self.send_header('Content-Type', 'text/plain')
        self.send_header('Transfer-Encoding', 'chunked')
        self.end_headers()
        for _ in stalling(0.1):
            self.raw(b'1000\r\n' + b'.' * 4096 + b'\r\n')
        self.close_connection = True


def silent_port(port_file):
    """Accepts connections and keeps them open without a word."""
    listener = socket.socket()
    listener.bind(('127.0.0.1', 0))
    listener.listen(16)
    held = []

    def serve():
        while True:
            held.append(listener.accept()[0])
            del held[:-64]
    threading.Thread(target=serve, daemon=True).start()
    with open(port_file, 'w') as f:
        f.write(str(listener.getsockname()[1]))


def full_port(port_file):
    """A port whose accept queue is full: nobody accepts, and its queue is filled."""
    listener = socket.socket()
    listener.bind(('127.0.0.1', 0))
    listener.listen(0)
    fillers = []
    for _ in range(8):
        s = socket.socket()
        s.setblocking(False)
        try:
            s.connect(listener.getsockname())
        except BlockingIOError:
            pass
        fillers.append(s)
    time.sleep(0.2)
    full_port.keep = (listener, fillers)
    with open(port_file, 'w') as f:
        f.write(str(listener.getsockname()[1]))


class ProxyHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    log_file = None
    page_port = 0

    def log_message(self, fmt, *args):
        pass

    def do_CONNECT(self):
        # A tunnel for https: logged, then refused, so that its host and port show.
        with open(ProxyHandler.log_file, 'a') as log:
            log.write(self.requestline + '\n')
        self.send_response(403)
        self.send_header('Content-Length', '0')
        self.send_header('Connection', 'close')
        self.end_headers()
        self.close_connection = True

    def do_GET(self):
        with open(ProxyHandler.log_file, 'a') as log:
            log.write(self.requestline + '\n')
        target = urllib.parse.urlsplit(self.path)
        path = target.path + ('?' + target.query if target.query else '')
        import http.client
        upstream = http.client.HTTPConnection('127.0.0.1', ProxyHandler.page_port, timeout=30)
        upstream.request('GET', path or '/')
        answer = upstream.getresponse()
        body = answer.read()
        self.send_response(answer.status)
        for k, v in answer.getheaders():
            if k.lower() not in ('content-length', 'connection', 'transfer-encoding'):
                self.send_header(k, v)
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--port-file', required=True)
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--tls-cert', help='also serve the same pages over TLS with this '
                        'certificate (and key, in the same file); its port goes to PORT_FILE.tls')
    parser.add_argument('--tls-extra', action='append', default=[], metavar='NAME=CERT')
    parser.add_argument('--proxy-log')
    args = parser.parse_args()
    server = Server(('127.0.0.1', args.port), Handler)
    tls_servers = [('tls', args.tls_cert)] if args.tls_cert else []
    tls_servers += [tuple(x.split('=', 1)) for x in args.tls_extra]
    for name, cert in tls_servers:
        import ssl
        tls = Server(('127.0.0.1', 0), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert)
        tls.socket = context.wrap_socket(tls.socket, server_side=True)
        threading.Thread(target=tls.serve_forever, daemon=True).start()
        with open(args.port_file + '.' + name, 'w') as f:
            f.write(str(tls.server_address[1]))
    if args.proxy_log:
        ProxyHandler.log_file = args.proxy_log
        ProxyHandler.page_port = server.server_address[1]
        open(args.proxy_log, 'w').close()
        proxy = Server(('127.0.0.1', 0), ProxyHandler)
        threading.Thread(target=proxy.serve_forever, daemon=True).start()
        with open(args.port_file + '.proxy', 'w') as f:
            f.write(str(proxy.server_address[1]))
    silent_port(args.port_file + '.silent')
    full_port(args.port_file + '.full')
    with open(args.port_file + '.tmp', 'w') as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(args.port_file + '.tmp', args.port_file)
    server.serve_forever()


if __name__ == '__main__':
    main()
