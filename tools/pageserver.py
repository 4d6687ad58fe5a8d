#!/usr/bin/env python3
"""Loopback HTTP server for the tests: pages that show an address, and the ways a page
server can misbehave. Listens on 127.0.0.1 only, on a free port that it writes to
--port-file.

Routes (query parameters in brackets):
  /echo[body, status=200, ctype=text/plain, hex]  the body as given (hex: body in hex)
  /ip[ip]                  a small HTML page showing the address
  /redirect[to]            302 to `to` (default /ip?ip=198.51.100.23)
  /loop                    302 to itself, forever
  /counter                 a new address on each fetch, sent as cacheable for an hour
  /hang                    reads the request and never answers (until the server ends)
  /trickle[every=1]        headers, then one byte every `every` seconds, 200 bytes long
  /big[mib=9]              a body of `mib` MiB of blanks ending in an address
  /dots[mib=8]             a body of `mib` MiB of full stops
  /cut                     announces 1000 bytes, sends 100 and closes
  /slowip[ip, delay=2]     /ip, answered after `delay` seconds
"""
import argparse
import http.server
import socketserver
import threading
import time
import urllib.parse


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
        self.send(int(q.get('status', '200')), body, q.get('ctype', 'text/plain'))

    def route_ip(self, q):
        ip = q.get('ip', '198.51.100.23')
        body = ('<html><head><title>Deine IP</title></head><body><h1>Ihre IP-Adresse</h1>'
                '<p>Ihre IP: %s</p></body></html>' % ip).encode()
        self.send(200, body, 'text/html; charset=utf-8')

    def route_slowip(self, q):
        time.sleep(float(q.get('delay', '2')))
        self.route_ip(q)

    def route_redirect(self, q):
        self.send(302, b'', extra=[('Location', q.get('to', '/ip?ip=198.51.100.23'))])

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


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--port-file', required=True)
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--tls-cert', help='also serve the same pages over TLS with this '
                        'certificate (and key, in the same file); its port goes to PORT_FILE.tls')
    args = parser.parse_args()
    server = Server(('127.0.0.1', args.port), Handler)
    if args.tls_cert:
        import ssl
        tls = Server(('127.0.0.1', 0), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls_cert)
        tls.socket = context.wrap_socket(tls.socket, server_side=True)
        threading.Thread(target=tls.serve_forever, daemon=True).start()
        with open(args.port_file + '.tls', 'w') as f:
            f.write(str(tls.server_address[1]))
    with open(args.port_file + '.tmp', 'w') as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(args.port_file + '.tmp', args.port_file)
    server.serve_forever()


if __name__ == '__main__':
    main()
