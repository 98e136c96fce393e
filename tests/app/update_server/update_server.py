#!/usr/bin/env python3
"""Loopback web server for the update check tests.

Serves https on two ports: one with a certificate of the test's own authority (which the
test adds to its prefix), one with a certificate of an authority nobody trusts; plus a
plain http port. Writes "trusted untrusted plain" port numbers to the file named first.
"""
import http.server
import socketserver
import ssl
import sys
import threading
import time

port_file, trusted_cert, trusted_key, untrusted_cert, untrusted_key = sys.argv[1:6]
plain_port = int(sys.argv[6])
# The authorities' revocation lists, which the plain port serves.
crl_folder = sys.argv[7]

PAGES = {
    "/newer": b"LatestVersion=2009.1.0.0\r\nUpdateURL=https://www.vantrel.com/orvane/get\r\n"
              b"NewVersionInfo=Icons in every submenu\r\n",
    "/same": b"LatestVersion=2008.0.0.0\r\nUpdateURL=https://www.vantrel.com/orvane/get\r\n",
    "/older": b"LatestVersion=2007.9.9.9\r\nUpdateURL=https://www.vantrel.com/orvane/get\r\n",
    "/missing-keys": b"; nothing but a comment\r\nUpdateURL=https://www.vantrel.com/\r\n",
    "/news-failing": b"LatestVersion=2009.0\nNewVersionInfoURL=https://localhost:{trusted}/absent\n",
    "/news-page": b"LatestVersion=2009.0\nNewVersionInfoURL=https://localhost:{trusted}/news\n",
    "/news": b"Faster start with many file types",
    "/file-url": b"LatestVersion=2009.0\nUpdateURL=file:///C:/windows/notepad.exe\n",
    "/program-path": b"LatestVersion=2009.0\nUpdateURL=C:\\windows\\notepad.exe\n",
    "/to-plain": None,
}
ports = {}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = self.path
        if path == "/hang":
            # Accepts the request and never answers.
            time.sleep(3600)
            return
        if path == "/big":
            # Ten MiB of version file: the first lines count, the rest is never read.
            head = b"LatestVersion=2009.2\r\nUpdateURL=https://www.vantrel.com/orvane/get\r\n"
            size = 10 * 1024 * 1024
            self.send_response(200)
            self.send_header("Content-Length", str(size))
            self.end_headers()
            try:
                self.wfile.write(head)
                chunk = b"x" * 65536
                left = size - len(head)
                while left > 0:
                    self.wfile.write(chunk[:left])
                    left -= len(chunk)
            except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
                pass
            return
        if path in ("/trusted.crl", "/untrusted.crl"):
            with open(crl_folder + path, "rb") as f:
                body = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/pkix-crl")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        if path == "/to-plain":
            self.send_response(302)
            self.send_header("Location", "http://localhost:%d/newer" % ports["plain"])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        body = PAGES.get(path)
        if body is None:
            self.send_response(404)
            self.send_header("Content-Length", "9")
            self.end_headers()
            self.wfile.write(b"not found")
            return
        body = body.replace(b"{trusted}", str(ports["trusted"]).encode())
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def serve(name, cert=None, key=None, port=0):
    server = Server(("127.0.0.1", port), Handler)
    if cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    ports[name] = server.server_address[1]
    threading.Thread(target=server.serve_forever, daemon=True).start()


serve("trusted", trusted_cert, trusted_key)
serve("untrusted", untrusted_cert, untrusted_key)
serve("plain", port=plain_port)
with open(port_file + ".tmp", "w") as f:
    f.write("%d %d %d\n" % (ports["trusted"], ports["untrusted"], ports["plain"]))
import os
os.replace(port_file + ".tmp", port_file)
threading.Event().wait()
