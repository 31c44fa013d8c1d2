#!/usr/bin/env python3
"""A scripted HTTP origin server on 127.0.0.1 for the HTTP client's tests, and the Debian peers
in front of it.

Usage: http_origin_peer.py COMMAND...
Starts the server on a free port, runs COMMAND with NET_TEST_HTTP_PORT set to that port and
NET_TEST_HTTP_LOG naming the file where every request's exact bytes are appended, then stops the
server and exits with the command's code. When installed, microsocks (SOCKS 5, user "su" with
password "sp") and tinyproxy (an HTTP proxy with Basic "pu"/"pp") run beside it on free ports of
their own, named by NET_TEST_SOCKS_PORT and NET_TEST_PROXY_PORT. Everything is bounded in time and
stopped at the end.
"""
import os
import shutil
import socket
import socketserver
import subprocess
import sys
import tempfile
import threading

BIG = bytes((i * 31 + i // 997) & 0xFF for i in range(100 * 1024))
LOCK = threading.Lock()
STATS = {"connections": 0}
LOG_PATH = None


def log_request(raw):
    with LOCK, open(LOG_PATH, "ab") as log:
        log.write(raw + b"\n----\n")


def read_request(stream):
    header = b""
    while not header.endswith(b"\r\n\r\n"):
        byte = stream.read(1)
        if not byte:
            return None, None
        header += byte
    lines = header.decode("latin-1").split("\r\n")
    fields = {}
    for line in lines[1:]:
        if ":" in line:
            name, value = line.split(":", 1)
            fields[name.strip().lower()] = value.strip()
    body = stream.read(int(fields.get("content-length", "0")))
    log_request(header + body)
    return lines[0], fields


def response(status, body=b"", fields=(), keep_alive=False):
    head = [f"HTTP/1.1 {status}"] + list(fields)
    head.append(f"Content-Length: {len(body)}")
    head.append("Connection: " + ("keep-alive" if keep_alive else "close"))
    return ("\r\n".join(head) + "\r\n\r\n").encode("latin-1") + body


class Handler(socketserver.StreamRequestHandler):
    timeout = 20

    def handle(self):
        with LOCK:
            STATS["connections"] += 1
        try:
            self.serve()
        except OSError:
            pass  # the client went away mid-answer (an abort, a relocation that stopped)

    def serve(self):
        while True:
            line, fields = read_request(self.rfile)
            if line is None:
                return
            method, path, version = line.split(" ")
            keep = version == "HTTP/1.1" and fields.get("connection", "").lower() != "close"
            if not self.answer(method, path, fields, keep):
                return
            if not keep:
                return

    def send(self, data):
        self.wfile.write(data)
        self.wfile.flush()

    def answer(self, method, path, fields, keep):
        if path == "/big":
            head = response("200 OK", BIG, keep_alive=keep)
            head, body = head[: len(head) - len(BIG)], BIG
            self.send(head if method == "HEAD" else head)
            if method != "HEAD":
                for at in range(0, len(body), 7000):
                    self.send(body[at : at + 7000])
        elif path == "/chunked":
            self.send(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: "
                      + (b"keep-alive" if keep else b"close") + b"\r\n\r\n"
                      + b"5;name=value\r\nfirst\r\n6\r\nsecond\r\n0\r\nX-Trailer: t\r\n\r\n")
        elif path == "/redirect":
            self.send(response("302 Found", fields=["Location: /big"], keep_alive=keep))
        elif path == "/loop":
            self.send(response("302 Found", fields=["Location: /loop"], keep_alive=keep))
        elif path == "/basic":
            if fields.get("authorization") == "Basic dTpw":
                self.send(response("200 OK", b"welcome", keep_alive=keep))
            else:
                self.send(response("401 Unauthorized", b"denied",
                                   ["WWW-Authenticate: Basic realm=\"peer\""], keep_alive=keep))
        elif path == "/close":
            self.send(b"HTTP/1.0 200 OK\r\n\r\nto the close")
            return False
        elif path == "/stats":
            with LOCK:
                body = f"connections={STATS['connections']}".encode()
            self.send(response("200 OK", body, keep_alive=keep))
        else:
            self.send(response("404 Not Found", b"none", keep_alive=keep))
        return True


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_listening(port, process):
    for _ in range(100):
        if process.poll() is not None:
            return False
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.2):
                return True
        except OSError:
            threading.Event().wait(0.05)
    return False


def start_debian_peers(folder, environment):
    """microsocks and tinyproxy, where installed; the started processes."""
    started = []
    if shutil.which("microsocks"):
        port = free_port()
        process = subprocess.Popen(["microsocks", "-i", "127.0.0.1", "-p", str(port),
                                    "-u", "su", "-P", "sp"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(process)
        if wait_listening(port, process):
            environment["NET_TEST_SOCKS_PORT"] = str(port)
    if shutil.which("tinyproxy"):
        port = free_port()
        config = os.path.join(folder, "tinyproxy.conf")
        with open(config, "w") as text:
            text.write(f"Port {port}\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\n"
                       "Allow 127.0.0.1\nBasicAuth pu pp\nDisableViaHeader Yes\n"
                       "LogLevel Critical\n" + ("User nobody\nGroup nogroup\n"
                                                 if os.getuid() == 0 else ""))
        process = subprocess.Popen(["tinyproxy", "-d", "-c", config],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(process)
        if wait_listening(port, process):
            environment["NET_TEST_PROXY_PORT"] = str(port)
    return started


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global LOG_PATH
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    handle, LOG_PATH = tempfile.mkstemp(prefix="http_peer_", suffix=".log")
    os.close(handle)
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    environment = dict(os.environ, NET_TEST_HTTP_PORT=str(server.server_address[1]),
                       NET_TEST_HTTP_LOG=LOG_PATH)
    folder = tempfile.mkdtemp(prefix="http_peers_")
    started = start_debian_peers(folder, environment)
    try:
        return subprocess.run(sys.argv[1:], env=environment, timeout=240).returncode
    except subprocess.TimeoutExpired:
        print("http_origin_peer: the command ran out of time", file=sys.stderr)
        return 1
    finally:
        for process in started:
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        server.shutdown()
        server.server_close()
        os.unlink(LOG_PATH)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
