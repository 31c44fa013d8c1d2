#!/usr/bin/env python3
"""A scripted HTTP origin server on 127.0.0.1 for the HTTP client's tests, and the Debian peers
in front of it.

Usage: http_origin_peer.py COMMAND...
Starts the server on a free port, runs COMMAND with NET_TEST_HTTP_PORT set to that port and
NET_TEST_HTTP_LOG naming the file where every request's exact bytes are appended (/ntlm checks
the NTLM response of "User" with "Password" against its own challenge; /doc, /norange and
/flaky serve a 10,000-byte document with ranges, ignoring them, and cut after 6,000 bytes), then stops the
server and exits with the command's code. When installed, microsocks (SOCKS 5, user "su" with
password "sp") and tinyproxy (an HTTP proxy with Basic "pu"/"pp") run beside it on free ports of
their own, named by NET_TEST_SOCKS_PORT and NET_TEST_PROXY_PORT, and nginx (NET_TEST_NGINX_PORT)
serves the 100 KB body as /big.bin with ranges and keep-alive, /secret/ behind Basic "nu"/"np" and
/moved as a 301 to /big.bin. Everything is bounded in time and
stopped at the end.
"""
import base64
import os
import shutil
import struct
import socket
import socketserver
import subprocess
import sys
import tempfile
import threading

NTLM_CHALLENGE = bytes.fromhex("0123456789abcdef")


DOC = bytes((i * 13 + i // 251) & 0xFF for i in range(10000))


def md4(data):
    """RFC 1320; Python's hashlib no longer offers it."""
    def rotate(x, n):
        return ((x << n) | (x >> (32 - n))) & 0xFFFFFFFF
    message = data + b"\x80" + b"\0" * ((55 - len(data)) % 64) + struct.pack("<Q", len(data) * 8)
    state = [0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476]
    for at in range(0, len(message), 64):
        x = struct.unpack("<16I", message[at : at + 64])
        a, b, c, d = state
        for i in range(16):
            a, b, c, d = d, rotate((a + ((b & c) | (~b & d)) + x[i]) & 0xFFFFFFFF, (3, 7, 11, 19)[i % 4]), b, c
        for i in range(16):
            k = (i % 4) * 4 + i // 4
            a, b, c, d = d, rotate((a + ((b & c) | (b & d) | (c & d)) + x[k] + 0x5A827999) & 0xFFFFFFFF, (3, 5, 9, 13)[i % 4]), b, c
        for i, k in enumerate((0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15)):
            a, b, c, d = d, rotate((a + (b ^ c ^ d) + x[k] + 0x6ED9EBA1) & 0xFFFFFFFF, (3, 9, 11, 15)[i % 4]), b, c
        state = [(s + v) & 0xFFFFFFFF for s, v in zip(state, (a, b, c, d))]
    return struct.pack("<4I", *state)


def des_encrypt(key7, block):
    try:
        from cryptography.hazmat.decrepit.ciphers.algorithms import TripleDES
    except ImportError:
        from cryptography.hazmat.primitives.ciphers.algorithms import TripleDES
    from cryptography.hazmat.primitives.ciphers import Cipher, modes
    bits = int.from_bytes(key7, "big")
    key = bytes(((bits >> (49 - 7 * i)) & 0x7F) << 1 for i in range(8))
    encryptor = Cipher(TripleDES(key * 3), modes.ECB()).encryptor()
    return encryptor.update(block) + encryptor.finalize()


def nt_response(password, challenge):
    key = md4(password.encode("utf-16-le")) + b"\0" * 5
    return b"".join(des_encrypt(key[i : i + 7], challenge) for i in (0, 7, 14))


def ntlm_answer(authorization):
    """The NTLM handshake of user "User" with password "Password": the next status and header."""
    if not authorization.startswith("NTLM "):
        return "401 Unauthorized", "WWW-Authenticate: NTLM"
    message = base64.b64decode(authorization[5:] + "==")
    kind = struct.unpack_from("<I", message, 8)[0] if len(message) >= 12 else 0
    if kind == 1:
        challenge = bytearray(48)
        challenge[0:8] = b"NTLMSSP\0"
        struct.pack_into("<I", challenge, 8, 2)
        challenge[24:32] = NTLM_CHALLENGE
        return "401 Unauthorized", "WWW-Authenticate: NTLM " + base64.b64encode(challenge).decode()
    if kind == 3:
        def field(at):
            length, _, offset = struct.unpack_from("<HHI", message, at)
            return message[offset : offset + length]
        if field(36) == "User".encode("utf-16-le") and field(20) == nt_response("Password", NTLM_CHALLENGE):
            return "200 OK", None
    return "401 Unauthorized", "WWW-Authenticate: NTLM"


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
            connection = fields.get("connection", "").lower()
            keep = (version == "HTTP/1.1" and connection != "close") or connection == "keep-alive"
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
        elif path == "/ntlm":
            status, challenge = ntlm_answer(fields.get("authorization", ""))
            body = b"ntlm ok" if status.startswith("200") else b""
            self.send(response(status, body, [challenge] if challenge else [], keep_alive=keep))
        elif path == "/close":
            self.send(b"HTTP/1.0 200 OK\r\n\r\nto the close")
            return False
        elif path in ("/doc", "/norange", "/flaky"):
            self.send_document(method, path, fields, keep)
        elif path == "/stats":
            with LOCK:
                body = f"connections={STATS['connections']}".encode()
            self.send(response("200 OK", body, keep_alive=keep))
        else:
            self.send(response("404 Not Found", b"none", keep_alive=keep))
        return True


    def send_document(self, method, path, fields, keep):
        """DOC with ranges; /norange ignores them; /flaky cuts a whole answer after 6,000 bytes."""
        start = 0
        ranged = fields.get("range", "")
        if ranged.startswith("bytes=") and path != "/norange":
            start = int(ranged[6:].split("-")[0])
            if start >= len(DOC):
                self.send(response("416 Range Not Satisfiable", keep_alive=keep))
                return
        body = DOC[start:]
        status = "206 Partial Content" if start else "200 OK"
        fields_out = [f"Content-Range: bytes {start}-{len(DOC) - 1}/{len(DOC)}"] if start else []
        whole = response(status, body, fields_out, keep_alive=False)
        head = whole[: len(whole) - len(body)]
        if method == "HEAD":
            self.send(head)
        elif path == "/flaky" and not start:
            self.send(head + body[:6000])
            raise OSError("cut")
        else:
            self.send(whole)


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
    if shutil.which("nginx"):
        port = free_port()
        os.makedirs(os.path.join(folder, "www", "secret"))
        os.makedirs(os.path.join(folder, "temp"))
        with open(os.path.join(folder, "www", "big.bin"), "wb") as body:
            body.write(BIG)
        with open(os.path.join(folder, "www", "secret", "index.html"), "wb") as body:
            body.write(b"behind basic")
        with open(os.path.join(folder, "users"), "w") as users:
            users.write("nu:{PLAIN}np\n")
        temp = os.path.join(folder, "temp")
        config = os.path.join(folder, "nginx.conf")
        with open(config, "w") as text:
            text.write(
                f"daemon off;\npid {folder}/nginx.pid;\nerror_log {folder}/error.log;\n"
                "worker_processes 1;\nevents { worker_connections 32; }\n"
                f"http {{ access_log off; client_body_temp_path {temp}; proxy_temp_path {temp};\n"
                f"fastcgi_temp_path {temp}; uwsgi_temp_path {temp}; scgi_temp_path {temp};\n"
                f"server {{ listen 127.0.0.1:{port}; root {folder}/www;\n"
                "location = /moved { return 301 /big.bin; }\n"
                f"location /secret/ {{ auth_basic \"peer\"; auth_basic_user_file {folder}/users; }}\n"
                "} }\n")
        # Its workers run as another user when it starts as root.
        for root, folders, files in os.walk(folder):
            for name in folders + files:
                os.chmod(os.path.join(root, name), 0o755)
        os.chmod(folder, 0o755)
        process = subprocess.Popen(["nginx", "-c", config, "-p", folder],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(process)
        if wait_listening(port, process):
            environment["NET_TEST_NGINX_PORT"] = str(port)
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
