#!/usr/bin/env python3
"""The home router of the router rows, run inside the router namespace of tools/testnet.sh.
It plays what STATE_DIR/router.mode says, and writes the mode to STATE_DIR/router.ready once
it plays it. Every request it gets over HTTP is noted in STATE_DIR/router.log ("<host>
<method> <path> <SOAPAction>").

Modes:
  silent                    nothing listens on port 1900: the search is refused
  miniupnpd ADDRESS/PREFIX  Debian's miniupnpd (IGD:2, WANIPConnection:2) with that address
                            on its WAN side; it reports a reserved one as empty
  scripted ANSWER [TWIST]   a router of our own whose GetExternalIPAddress answers ANSWER
                            ("empty" for an empty one), with IGD:1 and WANIPConnection:1;
                            TWIST: fault (a SOAP fault), hang (answers the search, then
                            never the description), neighbour (only 192.168.77.3 answers
                            the search, naming the gateway's description), elsewhere (the gateway
                            answers with a LOCATION on 192.168.77.3), ppp (only
                            WANPPPConnection:1), big (a description of 65 KiB), dtd (a
                            description with a DTD), mute (never answers the search)
"""
import http.server
import os
import select
import socket
import socketserver
import struct
import subprocess
import sys
import threading
import time

STATE = sys.argv[1]
GATEWAY, NEIGHBOUR = '192.168.77.1', '192.168.77.3'
GROUP = '239.255.255.250'
HTTP_PORT = 5000
mode = ['silent']
log_lock = threading.Lock()


def note(line):
    with log_lock:
        with open(os.path.join(STATE, 'router.log'), 'a') as f:
            f.write(line + '\n')


def description(twist):
    if twist == 'ppp':
        service = ('urn:schemas-upnp-org:service:WANPPPConnection:1', '/ctl/PPPConn')
    else:
        service = ('urn:schemas-upnp-org:service:WANIPConnection:1', 'ctl/IPConn')
    doctype = ''
    if twist == 'dtd':
        doctype = '<!DOCTYPE root [<!ENTITY ctl "/ctl/IPConn">]>\n'
    padding = ''
    if twist == 'big':
        padding = '<!--' + 'x' * (65 * 1024) + '-->'
    return ('<?xml version="1.0"?>\n' + doctype +
            '<root xmlns="urn:schemas-upnp-org:device-1-0"><specVersion><major>1</major>'
            '<minor>0</minor></specVersion>' + padding +
            '<device><deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1'
            '</deviceType><serviceList><service><serviceType>'
            'urn:schemas-upnp-org:service:Layer3Forwarding:1</serviceType><controlURL>'
            '/ctl/L3F</controlURL></service></serviceList><deviceList><device><deviceType>'
            'urn:schemas-upnp-org:device:WANDevice:1</deviceType><deviceList><device>'
            '<deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>'
            '<serviceList><service><serviceType>%s</serviceType><serviceId>x</serviceId>'
            '<controlURL>\n    %s\n  </controlURL></service></serviceList></device>'
            '</deviceList></device></deviceList></device></root>\n' % service).encode()


def soap_answer(service, answer):
    address = '' if answer == 'empty' else answer
    return ('<?xml version="1.0"?>\n<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/'
            'envelope/" s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body>'
            '<u:GetExternalIPAddressResponse xmlns:u="%s"><NewExternalIPAddress>%s'
            '</NewExternalIPAddress></u:GetExternalIPAddressResponse></s:Body></s:Envelope>\n'
            % (service, address)).encode()


SOAP_FAULT = (b'<?xml version="1.0"?>\n<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/'
              b'envelope/"><s:Body><s:Fault><faultcode>s:Client</faultcode><faultstring>'
              b'UPnPError</faultstring><detail><UPnPError xmlns="urn:schemas-upnp-org:control-'
              b'1-0"><errorCode>501</errorCode><errorDescription>Action Failed'
              b'</errorDescription></UPnPError></detail></s:Fault></s:Body></s:Envelope>\n')


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, fmt, *args):
        pass

    def reply(self, status, body):
        self.send_response(status)
        self.send_header('Content-Type', 'text/xml; charset="utf-8"')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        note('%s GET %s' % (self.server.server_address[0], self.path))
        words = mode[0].split()
        twist = words[2] if len(words) > 2 else ''
        if twist == 'hang':
            playing = mode[0]
            while mode[0] == playing:
                time.sleep(0.05)
            return
        self.reply(200, description(twist))

    def do_POST(self):
        length = int(self.headers.get('Content-Length', '0'))
        self.rfile.read(length)
        action = self.headers.get('SOAPAction', '')
        note('%s POST %s %s' % (self.server.server_address[0], self.path, action))
        words = mode[0].split()
        service = action.strip('"').split('#')[0]
        if len(words) > 2 and words[2] == 'fault':
            self.reply(500, SOAP_FAULT)
        else:
            self.reply(200, soap_answer(service, words[1] if len(words) > 1 else 'empty'))


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class Ssdp:
    """The scripted router's answers to the search, while a scripted mode is played."""

    def __init__(self):
        self.sock = None
        self.neighbour = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.neighbour.bind((NEIGHBOUR, 0))

    def open(self):
        if self.sock:
            return
        s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind(('', 1900))
        s.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
                     struct.pack('4s4s', socket.inet_aton(GROUP), socket.inet_aton(GATEWAY)))
        self.sock = s

    def close(self):
        if self.sock:
            self.sock.close()
            self.sock = None

    def serve(self):
        while True:
            s = self.sock
            if not s:
                time.sleep(0.05)
                continue
            try:
                ready, _, _ = select.select([s], [], [], 0.1)
                if not ready:
                    continue
                data, sender = s.recvfrom(2048)
            except (OSError, ValueError):
                continue
            if not data.startswith(b'M-SEARCH') or mode[0].endswith(' mute'):
                continue
            words = mode[0].split()
            twist = words[2] if len(words) > 2 else ''
            # A neighbour answers for the gateway; the gateway points elsewhere.
            host = NEIGHBOUR if twist == 'elsewhere' else GATEWAY
            answer = ('HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=120\r\nST: urn:schemas-upnp-'
                      'org:device:InternetGatewayDevice:1\r\nUSN: uuid:1::urn:schemas-upnp-org:'
                      'device:InternetGatewayDevice:1\r\nEXT:\r\nSERVER: Test/1.0 UPnP/1.0 '
                      'Testrouter/1.0\r\nLOCATION: http://%s:%d/desc.xml\r\n\r\n'
                      % (host, HTTP_PORT)).encode()
            (self.neighbour if twist == 'neighbour' else s).sendto(answer, sender)


class Miniupnpd:
    def __init__(self):
        self.process = None

    def start(self):
        if self.process:
            return
        conf = os.path.join(STATE, 'miniupnpd.conf')
        with open(conf, 'w') as f:
            f.write('ext_ifname=wan0\nlistening_ip=lan0\nhttp_port=5555\nenable_natpmp=no\n'
                    'enable_upnp=yes\nsecure_mode=yes\nsystem_uptime=yes\n'
                    'uuid=3d3cec3a-8cf0-11e0-98ee-001a6bd2d07b\n'
                    'allow 1024-65535 192.168.77.0/24 1024-65535\ndeny 0-65535 0.0.0.0/0 0-65535\n')
        out = open(os.path.join(STATE, 'miniupnpd.log'), 'a')
        self.process = subprocess.Popen(
            ['miniupnpd', '-d', '-f', conf, '-P', os.path.join(STATE, 'miniupnpd.pid')],
            stdout=out, stderr=subprocess.STDOUT)
        # Ready once it answers a search.
        probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        probe.settimeout(0.2)
        search = (b'M-SEARCH * HTTP/1.1\r\nHOST: 192.168.77.1:1900\r\nMAN: "ssdp:discover"\r\n'
                  b'ST: urn:schemas-upnp-org:device:InternetGatewayDevice:1\r\n\r\n')
        for _ in range(50):
            try:
                probe.sendto(search, (GATEWAY, 1900))
                probe.recvfrom(2048)
                break
            except OSError:
                time.sleep(0.1)
        probe.close()

    def stop(self):
        if self.process:
            self.process.terminate()
            self.process.wait()
            self.process = None


def set_wan(address):
    subprocess.run(['ip', 'addr', 'flush', 'dev', 'wan0'], check=True)
    subprocess.run(['ip', 'addr', 'add', address, 'dev', 'wan0'], check=True)


def play(new, ssdp, daemon):
    words = new.split()
    if words[0] == 'miniupnpd':
        ssdp.close()
        set_wan(words[1])
        daemon.start()
    elif words[0] == 'scripted':
        daemon.stop()
        ssdp.open()
    else:
        daemon.stop()
        ssdp.close()
    mode[0] = new


def main():
    ssdp, daemon = Ssdp(), Miniupnpd()
    for host in (GATEWAY, NEIGHBOUR):
        server = Server((host, HTTP_PORT), Handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
    threading.Thread(target=ssdp.serve, daemon=True).start()
    mode_file = os.path.join(STATE, 'router.mode')
    ready_file = os.path.join(STATE, 'router.ready')
    playing = None
    try:
        while True:
            try:
                with open(mode_file) as f:
                    wanted = f.read().strip() or 'silent'
            except OSError:
                wanted = 'silent'
            if wanted != playing:
                play(wanted, ssdp, daemon)
                playing = wanted
                with open(ready_file + '.new', 'w') as f:
                    f.write(wanted + '\n')
                os.replace(ready_file + '.new', ready_file)
            time.sleep(0.05)
    finally:
        daemon.stop()


if __name__ == '__main__':
    import signal
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    main()
