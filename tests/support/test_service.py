#!/usr/bin/env python3
"""The test HTTP service: pages, redirects, errors, downloads and an echo on 127.0.0.1.

Tests reach it through the runtime stand-in, which maps made-up host names to it
(STANDIN_HOSTS), and read its request log to see what arrived.

Usage:
  test_service.py --port-file FILE --pid-file FILE --log-file FILE [--port N] [--daemon]
  test_service.py --stop --pid-file FILE

--junit FILE writes the outcome of starting or stopping as a JUnit report of one case, for
the scripts that count test cases from such reports.

Without --daemon it serves in the foreground until SIGTERM or Ctrl-C. With --daemon it
stops a service still named by the pid file, starts itself in the background and returns
once it listens. The port file holds the port number once the service listens; the pid
and port files are removed when it stops. Only the Python standard library is used.

Routes (every method is accepted unless said otherwise; HEAD answers headers only):
  /                       index page with links to the other pages
  /auth                   the service's sign-in page; a POST of user and password goes on
                          to /auth/auto/USER/PASSWORD
  /auth/auto/A/B          the automatic sign-in page; names the user A (ids "first",
                          "second" hold A and B) and links to the bid list
  /app                    the demo of cef.app: its title shows test_param, and once it is
                          set the page goes on to /app?param=VALUE; links call every cef.app
                          function (set test_param, open_bidview, open_sucview, open_home,
                          go_g2b, test_object) from their click handlers, and one leads to
                          the same page on the foreign host foreign.example
  /bids                   the bid list: links to /bids/1 .. /bids/3
  /bids/N                 one bid, titled "Bid N", with a link to its document
                          (/download?size=3145728&name=bid-N.pdf), the same slowly
                          (rate=786432, bid-N-full.pdf) and cut after 1 MiB
                          (drop=1048576, bid-N-cut.pdf), and back to the list
  /dom                    a page for document tests: <title>DOM test page</title>, elements
                          with ids "heading", "para", "link", "list", "name", "hidden",
                          "korean", "markup" (see DOM_PAGE below)
  /second                 a second page ("Second page"), the target of /dom's link
  /frames                 a page with <iframe name="left" src="/frames/left"> and
                          <iframe name="right" src="/frames/right">; ?left=URL and
                          ?right=URL embed those addresses instead
  /frames/left, /frames/right   the frames' pages ("Left frame", "Right frame")
  /redirect/CODE?to=URL   answers CODE (301, 302, 303, 307, 308) with Location URL
                          (default /echo), as given: it may be relative or absolute
  /redirect/chain/N       302 to /redirect/chain/N-1; /redirect/chain/0 goes to
                          /dom?chain=end, so N+1 redirects in all
  /redirect/relative      302 with the relative Location "../dom?via=relative"
  /redirect/loop          302 to itself, forever
  /status/CODE            answers CODE with an HTML page "<title>Error CODE</title>"
  /echo                   JSON: {"method", "path", "query", "headers": [[name, value]...],
                          "body" (UTF-8, bad bytes replaced), "body_length"}
  /download?size=N&name=F attachment; filename="F" (default data.bin), N bytes (default
                          1000) of the pattern byte[i] = i % 251, sent in 64 KiB chunks
                          with a Content-Length; with drop=M (M < N) the connection
                          breaks after the first M bytes: the socket is closed without
                          the rest; with rate=R the body comes at about R bytes a second
  /download/hangul?size=N the same with filename*=UTF-8''보고서.bin (percent-encoded) and
                          the fallback filename="report.bin"
  /slow?delay=MS          sends its headers at once and its body ("slow body") MS
                          milliseconds later (default 500, at most 30000)
  /euc-kr                 a Korean page in euc-kr, charset in the Content-Type
  /euc-kr/meta            the same page with the charset only in a <meta http-equiv>
  /protected              Basic authentication, realm "QVN test", user "qvn", password
                          "secret"; 401 with an HTML page otherwise
  /script-page?code=JS    a page titled "Script page" whose one inline script is JS
  /_log                   the request log as text

The request log has one line per request, written before it is answered:
  METHOD<TAB>TARGET<TAB>Host: ...<TAB>Name: value ...
with the headers Host, User-Agent, Referer, Content-Type, Content-Length, Authorization,
Cookie and Accept-Language when present, in that order.
"""

import argparse
import base64
import html
import http.server
import json
import os
import signal
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

PATTERN_MODULUS = 251
CHUNK_SIZE = 64 * 1024
LOGGED_HEADERS = ["Host", "User-Agent", "Referer", "Content-Type", "Content-Length", "Authorization", "Cookie",
                  "Accept-Language"]
REDIRECT_CODES = {301, 302, 303, 307, 308}
HANGUL_NAME = "보고서.bin"

INDEX_PAGE = """<!DOCTYPE html>
<html><head><title>QVN test service</title></head>
<body><h1 id="heading">QVN test service</h1>
<ul id="links">
<li><a href="/dom">DOM page</a>
<li><a href="/frames">Frames</a>
<li><a href="/auth">Sign in</a>
<li><a href="/download?size=1000">Download</a>
<li><a href="/euc-kr">euc-kr page</a>
</ul></body></html>
"""

DOM_PAGE = """<!DOCTYPE html>
<html lang="ko">
<head>
<meta charset="utf-8">
<title>DOM test page</title>
<style>p { color: red }</style>
<script>var answer = 1 < 2 && "</p>";</script>
</head>
<body class="page">
<h1 id="heading">Hello, DOM</h1>
<p id="para">First <b>bold</b> and <i>italic</i> text.</p>
<a id="link" href="/second" class="nav">Second page</a>
<ul id="list"><li>one<li>two<li>three</ul>
<input id="name" type="text" value="Kim &amp; Lee">
<div id="hidden" hidden>not shown</div>
<p id="korean">한글 문장</p>
<div id="markup"><span class="x">a &lt; b</span><br>tail</div>
</body>
</html>
"""

SCRIPT_PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Script page</title></head>
<body><p id="out"></p><script>{code}</script></body></html>
"""

SECOND_PAGE = """<!DOCTYPE html>
<html><head><title>Second page</title></head>
<body><p id="second">The second page.</p><a id="back" href="/dom">Back</a></body></html>
"""

FRAMES_PAGE = """<!DOCTYPE html>
<html><head><title>Frames</title></head>
<body><h1 id="top">Top</h1>
<iframe name="left" src="{left}"></iframe>
<iframe name="right" src="{right}"></iframe>
</body></html>
"""

FRAME_PAGE = """<!DOCTYPE html>
<html><head><title>{title}</title></head>
<body><p id="{side}">{title} text.</p></body></html>
"""

AUTH_PAGE = """<!DOCTYPE html>
<html><head><title>QVN 로그인</title></head>
<body><form id="login" method="post" action="/auth">
<input id="user" name="user"><input id="password" name="password" type="password">
<button id="submit">로그인</button></form></body></html>
"""

AUTO_PAGE = """<!DOCTYPE html>
<html><head><title>QVN 자동 로그인</title></head>
<body><h1 id="welcome">{first}님, 환영합니다</h1>
<p>사용자 <span id="first">{first}</span> / <span id="second">{second}</span></p>
<p><a id="bids" href="/bids">입찰 목록</a> · <a id="app" href="/app">cef.app 데모</a></p></body></html>
"""

APP_PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>cef.app</title></head>
<body><h1 id="heading">cef.app 데모</h1>
<p><a id="set-param" href="/app" onclick="cef.app.test_param = 'demo value';">test_param 저장</a></p>
<p><a id="bidview" href="#" onclick="cef.app.open_bidview(location.href.split('/').slice(0, 3).join('/') + '/docs/bid-notice.pdf'); return false;">공고서 열기 (open_bidview)</a></p>
<p><a id="sucview" href="#" onclick="cef.app.open_sucview(location.href.split('/').slice(0, 3).join('/') + '/docs/award.pdf'); return false;">낙찰 결과 열기 (open_sucview)</a></p>
<p><a id="home" href="#" onclick="cef.app.open_home(); return false;">홈페이지 (open_home)</a></p>
<p><a id="g2b" href="#" onclick="cef.app.go_g2b('bid', '20261209123-00'); return false;">나라장터 (go_g2b)</a></p>
<p><a id="object" href="#" onclick="var o = cef.app.test_object(); document.title = o.param + ' ' + o.GetMessage(); return false;">test_object</a></p>
<p><a id="bids" href="/bids">입찰 목록</a> · <a id="foreign" href="http://foreign.example/app">다른 사이트의 같은 페이지</a></p>
<script>
var param = window.cef && cef.app ? cef.app.test_param : '(no cef.app)';
document.title = 'test_param: ' + param;
// The value the program keeps shows in the address, so that the service's log shows it.
if (param && location.href.indexOf('param=') < 0) location.assign('/app?param=' + encodeURIComponent(param));
</script>
</body></html>
"""

BIDS_PAGE = """<!DOCTYPE html>
<html><head><title>입찰 목록</title></head>
<body><h1 id="heading">입찰 목록</h1><ul id="list">{items}</ul>
<p><a id="home" href="/auth">처음으로</a> · <a id="app" href="/app">cef.app 데모</a></p></body></html>
"""

BID_PAGE = """<!DOCTYPE html>
<html><head><title>Bid {n}</title></head>
<body><h1 id="heading">입찰 {n}: 분석 보고서</h1>
<p><a id="document" href="/download?size=3145728&name=bid-{n}.pdf">공고서 내려받기 (bid-{n}.pdf)</a></p>
<p><a id="slow" href="/download?size=3145728&rate=786432&name=bid-{n}-full.pdf">전체 자료 (느린 연결)</a>
· <a id="cut" href="/download?size=3145728&drop=1048576&name=bid-{n}-cut.pdf">전체 자료 (끊기는 연결)</a></p>
<p><a id="back" href="/bids">목록으로</a></p></body></html>
"""

KOREAN_PAGE = """<!DOCTYPE html>
<html><head>{meta}<title>한글 페이지</title></head>
<body><p id="text">가나다라 입찰 분석</p></body></html>
"""

ERROR_PAGE = """<!DOCTYPE html>
<html><head><title>Error {code}</title></head>
<body><h1 id="status">{code} {reason}</h1></body></html>
"""


PATTERN_CYCLE = bytes(range(PATTERN_MODULUS))


def pattern(start, count):
    """Bytes start..start+count of the download pattern."""
    offset = start % PATTERN_MODULUS
    return (PATTERN_CYCLE * (count // PATTERN_MODULUS + 2))[offset:offset + count]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QVNTestService/1.0"

    def log_message(self, format, *args):  # the request log below replaces the default one
        pass

    def handle_one_request(self):
        try:
            super().handle_one_request()
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def __getattr__(self, name):
        # Every method goes to one dispatcher: do_GET, do_POST, do_PUT, ...
        if name.startswith("do_"):
            return self.dispatch
        raise AttributeError(name)

    # ---- plumbing ----

    def record(self):
        fields = [self.command, self.path]
        for name in LOGGED_HEADERS:
            value = self.headers.get(name)
            if value is not None:
                fields.append(f"{name}: {value}")
        self.server.log_line("\t".join(fields))

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        if length:
            return self.rfile.read(length)
        if self.headers.get("Transfer-Encoding", "").lower() == "chunked":
            data = b""
            while True:
                size = int(self.rfile.readline().split(b";")[0].strip() or b"0", 16)
                if size == 0:
                    self.rfile.readline()
                    return data
                data += self.rfile.read(size)
                self.rfile.readline()
        return b""

    def answer(self, code, body=b"", content_type="text/html; charset=utf-8", headers=()):
        if isinstance(body, str):
            body = body.encode("utf-8")
        self.send_response(code)
        if content_type:
            self.send_header("Content-Type", content_type)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def dispatch(self):
        self.record()
        body = self.read_body()
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        parts = [p for p in url.path.split("/") if p]
        route = ROUTES.get(url.path)
        if route is None and parts:
            route = PREFIX_ROUTES.get(parts[0])
        if route is None:
            self.answer(404, ERROR_PAGE.format(code=404, reason="Not Found"))
            return
        route(self, url=url, query=query, parts=parts, body=body)

    # ---- pages ----

    def index(self, **_):
        self.answer(200, INDEX_PAGE)

    def dom(self, **_):
        self.answer(200, DOM_PAGE)

    def second(self, **_):
        self.answer(200, SECOND_PAGE)

    def frames(self, parts, query, **_):
        if len(parts) == 1:
            src = {side: html.escape(query.get(side, ["/frames/" + side])[0]) for side in ("left", "right")}
            self.answer(200, FRAMES_PAGE.format(**src))
        elif len(parts) == 2 and parts[1] in ("left", "right"):
            self.answer(200, FRAME_PAGE.format(title=parts[1].capitalize() + " frame", side=parts[1]))
        else:
            self.answer(404, ERROR_PAGE.format(code=404, reason="Not Found"))

    def auth(self, parts, body, **_):
        if self.command == "POST" and len(parts) == 1:
            form = urllib.parse.parse_qs(body.decode("utf-8", errors="replace"))
            user, password = (urllib.parse.quote(form.get(k, [""])[0]) for k in ("user", "password"))
            self.answer(302, "", headers=[("Location", f"/auth/auto/{user}/{password}")])
        elif len(parts) == 4 and parts[1] == "auto":
            first, second = (urllib.parse.unquote(p) for p in parts[2:4])
            self.answer(200, AUTO_PAGE.format(first=first, second=second))
        else:
            self.answer(200, AUTH_PAGE)

    def app(self, **_):
        self.answer(200, APP_PAGE)

    def bids(self, parts, **_):
        if len(parts) == 1:
            items = "".join(f'<li><a id="bid{n}" href="/bids/{n}">Bid {n}</a></li>' for n in range(1, 4))
            self.answer(200, BIDS_PAGE.format(items=items))
        elif len(parts) == 2 and parts[1].isdigit():
            self.answer(200, BID_PAGE.format(n=int(parts[1])))
        else:
            self.answer(404, ERROR_PAGE.format(code=404, reason="Not Found"))

    def redirect(self, parts, query, **_):
        if parts[1:2] == ["chain"] and len(parts) == 3 and parts[2].isdigit():
            n = int(parts[2])
            target = f"/redirect/chain/{n - 1}" if n > 0 else "/dom?chain=end"
            self.answer(302, "", headers=[("Location", target)])
        elif parts[1:] == ["relative"]:
            self.answer(302, "", headers=[("Location", "../dom?via=relative")])
        elif parts[1:] == ["loop"]:
            self.answer(302, "", headers=[("Location", "/redirect/loop")])
        elif len(parts) == 2 and parts[1].isdigit() and int(parts[1]) in REDIRECT_CODES:
            target = query.get("to", ["/echo"])[0]
            self.answer(int(parts[1]), f"<a href=\"{target}\">moved</a>", headers=[("Location", target)])
        else:
            self.answer(404, ERROR_PAGE.format(code=404, reason="Not Found"))

    def status(self, parts, **_):
        code = int(parts[1]) if len(parts) == 2 and parts[1].isdigit() else 400
        reason = self.responses.get(code, ("Unknown",))[0]
        self.answer(code, ERROR_PAGE.format(code=code, reason=reason))

    def echo(self, url, body, **_):
        reply = {
            "method": self.command,
            "path": url.path,
            "query": url.query,
            "headers": [[name, value] for name, value in self.headers.items()],
            "body": body.decode("utf-8", errors="replace"),
            "body_length": len(body),
        }
        self.answer(200, json.dumps(reply, ensure_ascii=False), "application/json; charset=utf-8")

    def download(self, parts, query, **_):
        size = max(0, int(query.get("size", ["1000"])[0]))
        if parts[1:] == ["hangul"]:
            disposition = "attachment; filename=\"report.bin\"; filename*=UTF-8''" + urllib.parse.quote(HANGUL_NAME)
        else:
            name = query.get("name", ["data.bin"])[0]
            disposition = f"attachment; filename=\"{name}\""
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Disposition", disposition)
        self.send_header("Content-Length", str(size))
        self.end_headers()
        if self.command == "HEAD":
            return
        drop = query.get("drop")
        sent = size if drop is None else min(size, max(0, int(drop[0])))
        rate = max(0, int(query.get("rate", ["0"])[0]))
        for start in range(0, sent, CHUNK_SIZE):
            if rate and start:
                time.sleep(CHUNK_SIZE / rate)
            self.wfile.write(pattern(start, min(CHUNK_SIZE, sent - start)))
            self.wfile.flush()
        if drop is not None:
            # What was sent stays sent; the rest never comes, as when a line breaks.
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)

    def slow(self, query, **_):
        delay = min(30000, max(0, int(query.get("delay", ["500"])[0])))
        body = b"slow body"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.flush()
        time.sleep(delay / 1000.0)
        if self.command != "HEAD":
            self.wfile.write(body)

    def korean(self, parts, **_):
        if parts[1:] == ["meta"]:
            meta = '<meta http-equiv="Content-Type" content="text/html; charset=euc-kr">'
            self.answer(200, KOREAN_PAGE.format(meta=meta).encode("euc-kr"), "text/html")
        else:
            self.answer(200, KOREAN_PAGE.format(meta="").encode("euc-kr"), "text/html; charset=euc-kr")

    def protected(self, **_):
        expected = "Basic " + base64.b64encode(b"qvn:secret").decode("ascii")
        if self.headers.get("Authorization") == expected:
            self.answer(200, "<html><head><title>Protected</title></head><body><p id=\"user\">qvn</p></body></html>")
        else:
            self.answer(401, ERROR_PAGE.format(code=401, reason="Unauthorized"),
                        headers=[("WWW-Authenticate", 'Basic realm="QVN test"')])

    def script_page(self, query, **_):
        code = query.get("code", [""])[0].replace("</", "<\\/")
        self.answer(200, SCRIPT_PAGE.format(code=code))

    def log(self, **_):
        self.answer(200, self.server.log_text(), "text/plain; charset=utf-8")


ROUTES = {
    "/": Handler.index,
    "/app": Handler.app,
    "/dom": Handler.dom,
    "/second": Handler.second,
    "/echo": Handler.echo,
    "/protected": Handler.protected,
    "/script-page": Handler.script_page,
    "/_log": Handler.log,
}
PREFIX_ROUTES = {
    "auth": Handler.auth,
    "bids": Handler.bids,
    "frames": Handler.frames,
    "redirect": Handler.redirect,
    "status": Handler.status,
    "download": Handler.download,
    "slow": Handler.slow,
    "euc-kr": Handler.korean,
}


class Service(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, log_file):
        super().__init__(("127.0.0.1", port), Handler)
        self._log_lock = threading.Lock()
        self._log_file = log_file
        with open(log_file, "w", encoding="utf-8"):
            pass

    def log_line(self, line):
        with self._log_lock, open(self._log_file, "a", encoding="utf-8") as log:
            log.write(line + "\n")

    def log_text(self):
        with self._log_lock, open(self._log_file, encoding="utf-8") as log:
            return log.read()


def write_atomically(path, text):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="ascii") as out:
        out.write(text)
    os.replace(temporary, path)


def remove_quietly(path):
    try:
        os.remove(path)
    except FileNotFoundError:
        pass


def serve(args):
    service = Service(args.port, args.log_file)
    write_atomically(args.pid_file, f"{os.getpid()}\n")
    write_atomically(args.port_file, f"{service.server_address[1]}\n")

    def stop(signum, frame):
        threading.Thread(target=service.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        service.serve_forever()
    finally:
        service.server_close()
        remove_quietly(args.port_file)
        remove_quietly(args.pid_file)


def is_service(pid):
    """True when pid is a running test service, so that a stale pid file kills nothing else."""
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return b"test_service.py" in f.read()
    except OSError:
        return False


def stop(pid_file, timeout=10.0):
    try:
        with open(pid_file, encoding="ascii") as f:
            pid = int(f.read().strip())
    except (OSError, ValueError):
        return True
    if not is_service(pid):
        remove_quietly(pid_file)
        return True
    os.kill(pid, signal.SIGTERM)
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if not is_service(pid):
            return True
        time.sleep(0.05)
    print(f"test service {pid} did not stop", file=sys.stderr)
    return False


def daemonise(args, timeout=10.0):
    """Starts the service in the background and answers once it listens."""
    stop(args.pid_file)
    remove_quietly(args.port_file)
    if os.fork() == 0:
        os.setsid()
        if os.fork() != 0:
            os._exit(0)
        # Nothing may hold the caller's output open: ctest waits for it to close.
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)
        try:
            serve(args)
        finally:
            os._exit(0)
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if os.path.exists(args.port_file):
            with open(args.port_file, encoding="ascii") as f:
                print(f"test service listening on 127.0.0.1:{f.read().strip()}")
            return 0
        time.sleep(0.05)
    print("test service did not start", file=sys.stderr)
    return 1


def write_junit(path, name, ok):
    failure = "" if ok else f'<failure message="{name} failed"/>'
    write_atomically(path, f"""<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="1" failures="{0 if ok else 1}" errors="0">
<testsuite name="test_service" tests="1" failures="{0 if ok else 1}" errors="0">
<testcase name="{name}" classname="test_service">{failure}</testcase>
</testsuite>
</testsuites>
""")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port-file", default="test-service.port")
    parser.add_argument("--pid-file", default="test-service.pid")
    parser.add_argument("--log-file", default="test-service.log")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--daemon", action="store_true", help="run in the background")
    parser.add_argument("--stop", action="store_true", help="stop the service named by the pid file")
    parser.add_argument("--junit", help="write the outcome as a JUnit report")
    args = parser.parse_args()
    for name in ("port_file", "pid_file", "log_file"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    if args.stop:
        result = 0 if stop(args.pid_file) else 1
    elif args.daemon:
        result = daemonise(args)
    else:
        serve(args)
        return 0
    if args.junit:
        write_junit(os.path.abspath(args.junit), "stop" if args.stop else "start", result == 0)
    return result


if __name__ == "__main__":
    sys.exit(main())
