#!/usr/bin/env python3
"""One session of the real program as a person uses it, driven through the X display only.

Runs inside scripts/with-display (an Xvfb screen and a Wine prefix of its own). Starts the
demo service, registers the shell recorder (the prefix's handler of web addresses and
documents) and the Internet Explorer stand-in, starts the shipping program with the two
sign-in arguments and drives it with xdotool: mouse and keyboard only. e2e_probe only reads
where windows are, as a person reads the screen. Every step saves a screenshot; the run
ends with a contact sheet, steps.png.

Usage: e2e.py --bin BUILD_BIN --out FOLDER [--junit FILE]
"""

import argparse
import os
import re
import select
import shutil
import subprocess
import sys
import time
import urllib.parse
import xml.sax.saxutils

from input_method import XIM, InputMethod

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE = os.path.join(ROOT, "scripts", "wine")
SERVICE = os.path.join(ROOT, "tests", "support", "test_service.py")
HOST = "bidservice.example"
FOREIGN = "foreign.example"
TITLE = "QVN 분석프로그램"
DOWNLOAD_SIZE = 3145728
FIND_STRIP = "TFindStrip.8"  # the class name carries the class style
STRIP_BACKGROUND = (45, 45, 48)  # the download strip's own colour, the title bar's


class StepFailed(Exception):
    pass


def windows_path(path):
    """The Wine drive path of a Unix path (Z: is the Unix root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run(*args, check=True, **kwargs):
    return subprocess.run(list(args), check=check, capture_output=True, text=True, **kwargs)


def wine(*args, check=True, **kwargs):
    return run(WINE, *args, check=check, **kwargs)


def xdotool(*args):
    return run("xdotool", *[str(a) for a in args]).stdout.strip()


# How many times slower than Wine here the machine runs programs (the guest system's
# emulation sets it): every wait is that much longer.
SLOWDOWN = float(os.environ.get("QVN_SLOWDOWN", "1"))


def press(*combinations, gap=0.0):
    """Each key pressed as a person presses it: down, held a moment, up. With the input method
    on, a press goes round through ibus before Wine sees it; a press and its release sent in
    the same instant (xdotool's key) can arrive out of order, leaving a modifier down."""
    for combination in combinations:
        names = combination.split("+")
        for name in names:
            run("xdotool", "keydown", name)
            time.sleep(0.03)
        for name in reversed(names):
            run("xdotool", "keyup", name)
            time.sleep(0.03)
        time.sleep(gap)


def eventually(predicate, timeout=20.0, what="the condition"):
    end = time.time() + timeout * SLOWDOWN
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise StepFailed(f"timed out waiting for {what}")


class Probe:
    """e2e_probe serve: one Wine program for all the run's questions about windows, started
    on the first and again if it ends."""

    def __init__(self, exe):
        self.exe = exe
        self.process = None

    def ask(self, *words):
        if self.process is None or self.process.poll() is not None:
            self.process = subprocess.Popen([WINE, self.exe, "serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                            stderr=subprocess.DEVNULL)
        try:
            self.process.stdin.write(("\t".join(words) + "\n").encode("utf-8"))
            self.process.stdin.flush()
            # Its first answer waits for Wine to start it.
            if select.select([self.process.stdout], [], [], 30 * SLOWDOWN)[0]:
                line = self.process.stdout.readline().decode("utf-8", "replace")
                if line:
                    return line[2:].rstrip("\r\n") if line.startswith("= ") else None
        except OSError:
            pass
        self.stop()  # silent or gone: the next question starts it again
        return None

    def stop(self):
        if self.process:
            self.process.kill()
            self.process.wait()
            self.process = None


class Session:
    def __init__(self, bin_dir, out):
        self.bin = bin_dir
        self.out = out
        self.folder = os.path.join(out, "program")
        self.downloads = os.path.join(out, "downloads")
        self.shots = []
        self.steps = []  # (name, error or None, seconds)
        self.process = None
        self.window = None
        self.input_method = None
        self.prober = None

    # ---- setting up ----

    def prepare(self):
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.folder)
        os.makedirs(self.downloads)
        for name in ("QvnClient.exe", "libcef.dll", "XmlLoader.dll", "AutoUpdate.exe", "IEStandin.dll",
                     "shell_recorder.exe", "e2e_probe.exe"):
            shutil.copy(os.path.join(self.bin, name), self.folder)
        self.service_dir = os.path.join(self.out, "service")
        os.makedirs(self.service_dir)
        run(sys.executable, SERVICE, "--daemon", "--port-file", self.file("service", "port"),
            "--pid-file", self.file("service", "pid"), "--log-file", self.file("service", "requests.log"))
        port = open(self.file("service", "port")).read().strip()
        self.recorder_log = self.file("shell-recorder.log")
        self.ie_log = self.file("ie-standin.log")
        open(self.recorder_log, "w").close()
        open(self.ie_log, "w").close()
        env = os.environ
        env["STANDIN_HOSTS"] = f"{HOST}=127.0.0.1:{port};{FOREIGN}=127.0.0.1:{port}"
        env["STANDIN_REPORT"] = windows_path(self.file("standin-report.txt"))
        env["SHELL_RECORDER_LOG"] = windows_path(self.recorder_log)
        env["IE_STANDIN_LOG"] = windows_path(self.ie_log)
        # The recorder opens web addresses and documents for the prefix's shell: one import,
        # not a Wine start for each key.
        recorder = f'"{windows_path(os.path.join(self.folder, "shell_recorder.exe"))}" "%1"'
        entries = [(key, recorder) for key in (r"Software\Classes\http\shell\open\command",
                                               r"Software\Classes\https\shell\open\command",
                                               r"Software\Classes\qvn.document\shell\open\command")]
        entries.append((r"Software\Classes\.pdf", "qvn.document"))
        quoted = lambda text: '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'
        lines = ["Windows Registry Editor Version 5.00", ""]
        for key, value in entries:
            lines += [f"[HKEY_LOCAL_MACHINE\\{key}]", f"@={quoted(value)}", ""]
        with open(self.file("shell.reg"), "w", encoding="utf-16", newline="\r\n") as f:
            f.write("\n".join(lines))
        wine("reg", "import", windows_path(self.file("shell.reg")))
        wine("regsvr32", "/s", os.path.join(self.folder, "IEStandin.dll"))
        # The program looks for the Korean input method; Wine connects when it appears.
        env["XMODIFIERS"] = XIM
        # Started once the prefix's set-up has ended, before the program: nothing else is
        # starting in the prefix at the time.
        self.prober = Probe(os.path.join(self.folder, "e2e_probe.exe"))
        self.probe("rect", "QvnNoSuchWindow")

    def file(self, *parts):
        return os.path.join(self.out, *parts)

    def cleanup(self):
        if self.process and self.process.poll() is None:
            wine("taskkill", "/f", "/im", "QvnClient.exe", check=False)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        # Bounded: a command that hangs here would otherwise cost the whole run its report.
        for command in ([WINE, "regsvr32", "/s", "/u", os.path.join(self.folder, "IEStandin.dll")],
                        [sys.executable, SERVICE, "--stop", "--pid-file", self.file("service", "pid")]):
            try:
                run(*command, check=False, timeout=30 * SLOWDOWN)
            except subprocess.TimeoutExpired:
                self.steps.append(("end", f"{os.path.basename(command[1])} did not end", 0.0))
        if self.prober:
            self.prober.stop()
        if self.input_method:
            self.input_method.stop()

    # ---- looking ----

    def requests(self):
        lines = open(self.file("service", "requests.log"), encoding="utf-8").read().splitlines()
        targets = []
        for line in lines:
            fields = line.split("\t")
            host = next((f[6:] for f in fields if f.startswith("Host: ")), "")
            targets.append((fields[1] if len(fields) > 1 else "", host))
        return targets

    def count(self, target, host=HOST):
        return sum(1 for t, h in self.requests() if urllib.parse.unquote(t) == target and h.split(":")[0] == host)

    def wait_request(self, target, times=1, host=HOST):
        eventually(lambda: self.count(target, host) >= times, what=f"{times} request(s) of {target} from {host}")

    def geometry(self):
        out = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=") for line in out.splitlines())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def probe(self, *args):
        return self.prober.ask(*args)

    def window_at(self, class_name, text=None):
        """The window's handle and screen rectangle (left, top, width, height), or None."""
        out = self.probe("rect", class_name, *([text] if text else []))
        if not out:
            return None
        values = tuple(int(v) for v in out.split())
        return values[4], values[:4]

    def rect(self, class_name, text=None):
        found = self.window_at(class_name, text)
        return found[1] if found else None

    def pixel(self, x, y):
        out = run("import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-").stdout
        value = re.search(r"#([0-9A-Fa-f]{6})", out).group(1)
        return tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))

    def screenshot(self, name):
        path = self.file(f"{len(self.shots) + 1:02d}-{name}.png")
        run("import", "-window", "root", path)
        self.shots.append(path)

    # ---- acting ----

    def click_at(self, x, y, button=1, repeat=1):
        xdotool("mousemove", x, y)
        time.sleep(0.1)
        if repeat == 1:
            xdotool("click", button)
        else:
            xdotool("click", "--repeat", repeat, "--delay", 80, button)

    def click_link(self, text):
        def settled():
            # The same link window a moment apart: a page that a script is about to replace
            # shows its links for an instant, and a click across the change is lost.
            first = self.window_at("StandinLink", text)
            if not first:
                return None
            time.sleep(0.3 * SLOWDOWN)
            return first if self.window_at("StandinLink", text) == first else None

        _, rect = eventually(settled, what=f"the link {text!r}")
        self.click_at(rect[0] + min(rect[2] // 2, 40), rect[1] + rect[3] // 2)

    def click_in_window(self, x, y, repeat=1):
        wx, wy, _, _ = self.geometry()
        self.click_at(wx + x, wy + y, repeat=repeat)

    # ---- the session ----

    def step(self, name, body):
        started = time.time()
        try:
            body()
            error = None
        except Exception as failure:  # a failed step is reported and the session goes on
            error = f"{type(failure).__name__}: {failure}"
        try:
            self.screenshot(name)
        except Exception:
            pass
        self.steps.append((name, error, time.time() - started))

    def start(self):
        self.process = subprocess.Popen([WINE, "QvnClient.exe", "alice", "secret"], cwd=self.folder,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = eventually(lambda: run("xdotool", "search", "--onlyvisible", "--name", TITLE, check=False).stdout.split(),
                                 what="the main window")[0]
        self.wait_request("/auth/auto/alice/secret")
        eventually(lambda: self.rect("StandinLink", "입찰 목록"), what="the signed-in page")

    def follow_link(self):
        self.follow("입찰 목록", "/bids")

    def reload(self):
        before = self.count("/bids")
        self.click_in_window(974, 14)  # the reload picture
        self.wait_request("/bids", before + 1)

    def reload_by_key(self):
        before = self.count("/bids")
        xdotool("key", "F5")
        self.wait_request("/bids", before + 1)

    def find(self):
        xdotool("key", "ctrl+f")
        eventually(lambda: self.rect(FIND_STRIP), what="the find strip")
        xdotool("type", "--delay", 40, "Bid")
        eventually(lambda: self.probe("text", FIND_STRIP) == "1 / 3", what="the count of three matches")
        xdotool("key", "Return")
        eventually(lambda: self.probe("text", FIND_STRIP) == "2 / 3", what="the second match")

    def find_closed(self):
        xdotool("key", "Escape")
        eventually(lambda: not self.rect(FIND_STRIP), what="the find strip to close")
        browser = self.rect("StandinBrowserWindow")
        if browser[3] < 600:
            raise StepFailed(f"the page did not get its height back: {browser}")

    def expect_find_box(self, text):
        try:
            eventually(lambda: self.probe("text", FIND_STRIP, "Edit") == text, what=f"{text!r} in the find box")
        except StepFailed:
            raise StepFailed(f"the find box holds {self.probe('text', FIND_STRIP, 'Edit')!r}, not {text!r}") from None

    def find_hangul(self):
        """입찰 typed as Korean users type it: d l q c k f on the 2-set layout, in Hangul mode."""
        # The input method runs for this step only, so that the other steps' keys, pressed and
        # released in one instant, never race its round trip.
        self.input_method = InputMethod(self.file("input-method"))
        try:
            self.input_method.start()
            self.type_hangul()
        finally:
            # Esc while composing may reach the program before the input method commits: the
            # step commits first, and the strip is closed with the input method gone.
            self.input_method.stop()
            if self.rect(FIND_STRIP):
                xdotool("key", "Escape")
                eventually(lambda: not self.rect(FIND_STRIP), what="the find strip to close")

    def type_hangul(self):
        press("ctrl+f")
        eventually(lambda: self.rect(FIND_STRIP), what="the find strip")
        press("BackSpace")  # the earlier text, selected on opening
        self.expect_find_box("")
        self.input_method.fresh_hangul()
        press("shift+space")
        press("d", "l", "q", "c", "k", "f", gap=0.08)
        # The last syllable stays in composition until something ends it: the switch key
        # back to English commits it.
        press("shift+space")
        self.expect_find_box("입찰")
        eventually(lambda: self.probe("text", FIND_STRIP) == "1 / 1", what="the one match of 입찰 counted")
        self.strip_picture("find-hangul-typed")
        # F5 with a syllable half-typed: the syllable is committed and the page reloaded.
        self.input_method.fresh_hangul()
        press("shift+space")
        before = self.count("/bids")
        press("r", "k", gap=0.08)
        time.sleep(0.3)
        press("F5")
        self.wait_request("/bids", before + 1)
        self.expect_find_box("입찰가")

    def strip_picture(self, name):
        """The find strip's box and count at twice their size, readable on the contact sheet."""
        x, y, _, h = self.rect(FIND_STRIP)
        path = self.file(f"{len(self.shots) + 1:02d}-{name}.png")
        run("import", "-window", "root", "-crop", f"400x{h}+{x}+{y}", path)
        run("convert", path, "+repage", "-scale", "200%", path)
        self.shots.append(path)

    def page_picture(self, name):
        x, y, w, h = eventually(lambda: self.rect("StandinBrowserWindow"), what="the browser window")
        path = self.file(name + ".png")
        run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", path)
        return path

    def differing_pixels(self, a, b):
        result = run("compare", "-metric", "AE", a, b, "null:", check=False)
        return float(result.stderr.split()[0])

    def zoom_in(self):
        self.unzoomed = self.page_picture("page-unzoomed")
        xdotool("key", "ctrl+equal", "ctrl+KP_Add")
        eventually(lambda: self.differing_pixels(self.unzoomed, self.page_picture("page-zoomed")) > 1000,
                   what="the page painted larger")

    def zoom_reset(self):
        xdotool("key", "ctrl+0")
        eventually(lambda: self.differing_pixels(self.unzoomed, self.page_picture("page-reset")) == 0,
                   what="the page at its neutral size")

    def back_and_forward(self):
        before = self.count("/auth/auto/alice/secret")
        xdotool("key", "alt+Left")
        self.wait_request("/auth/auto/alice/secret", before + 1)
        eventually(lambda: self.rect("StandinLink", "입찰 목록"), what="the signed-in page again")
        self.screenshot("went-back")
        # The mouse's forward button over the page.
        x, y, w, h = self.rect("StandinBrowserWindow")
        before = self.count("/bids")
        xdotool("mousemove", x + w // 2, y + h - 40)
        time.sleep(0.1)
        xdotool("click", 9)
        self.wait_request("/bids", before + 1)

    def maximise_and_restore(self):
        screen = tuple(int(v) for v in xdotool("getdisplaygeometry").split())
        self.click_in_window(500, 15, repeat=2)
        eventually(lambda: self.geometry()[2:] == screen, what="the maximised window")

        # The frame takes its new size before the page is laid out again in it.
        def filled():
            browser = self.rect("StandinBrowserWindow")
            return browser and browser[2] >= screen[0] - 10 and browser[3] >= screen[1] - 100

        try:
            eventually(filled, what="the page to fill the larger window")
        except StepFailed:
            raise StepFailed(f"the page does not fill the larger window: {self.rect('StandinBrowserWindow')}") from None
        self.screenshot("maximised")
        self.click_in_window(500, 15, repeat=2)
        eventually(lambda: self.geometry()[2:] == (1058, 745), what="the restored window")

    def drag(self):
        x, y, _, _ = self.geometry()
        xdotool("mousemove", x + 300, y + 15)
        xdotool("mousedown", 1)
        for i in range(1, 11):
            xdotool("mousemove", x + 300 + 6 * i, y + 15 + 4 * i)
            time.sleep(0.03)
        xdotool("mouseup", 1)
        eventually(lambda: self.geometry()[:2] == (x + 60, y + 40), what="the window at its new place")

    def save_dialog(self, path):
        dialog = eventually(lambda: run("xdotool", "search", "--onlyvisible", "--name", "Save", check=False).stdout.split(),
                            what="the save dialog")[0]
        xdotool("windowfocus", dialog)
        time.sleep(0.3)
        xdotool("key", "ctrl+a")
        xdotool("type", "--delay", 20, windows_path(path))
        xdotool("key", "Return")

    def download(self):
        self.follow("Bid 1", "/bids/1")
        self.click_link("공고서 내려받기 (bid-1.pdf)")
        target = os.path.join(self.downloads, "bid-1.pdf")
        self.save_dialog(target)
        eventually(lambda: os.path.exists(target) and os.path.getsize(target) == DOWNLOAD_SIZE, 60,
                   what="the whole document")
        data = open(target, "rb").read()
        if data != bytes(i % 251 for i in range(DOWNLOAD_SIZE)):
            raise StepFailed("the saved document differs from the service's")
        # The mark of the web: Wine writes the stream as a file of that name beside the download
        # (Windows keeps it inside the file).
        mark = open(target + ":Zone.Identifier", "rb").read().decode("utf-8", "replace")
        if "[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=http://" not in mark:
            raise StepFailed(f"the download is not marked as from the Internet: {mark!r}")

    def confirm_replace(self):
        """Answers yes to the save dialog's question before a file is replaced."""
        # The dialog's own question, over the dialog (Wine titles it "Error").
        question = "^(Save As|Error)$"
        eventually(lambda: len(run("xdotool", "search", "--onlyvisible", "--name", question, check=False).stdout.split()) >= 2,
                   what="the question before replacing the file")
        self.screenshot("replace-question")
        time.sleep(0.3)
        xdotool("key", "Return")

    def strip(self):
        return self.rect("TDownloadStrip.8")

    def click_strip(self, x, line=0):
        sx, sy, _, _ = eventually(self.strip, what="the download strip")
        self.click_at(sx + x, sy + 26 * line + 13)

    def slow_download(self):
        # A saved line closes by itself after a while: the strip is empty before this one.
        eventually(lambda: self.strip() is None, 20, what="the earlier notices to close")
        self.click_link("전체 자료 (느린 연결)")
        target = os.path.join(self.downloads, "bid-1-full.pdf")
        self.save_dialog(target)
        eventually(lambda: os.path.exists(target) and DOWNLOAD_SIZE // 3 < os.path.getsize(target) < DOWNLOAD_SIZE, 30,
                   what="the download under way")
        if not self.strip():
            raise StepFailed("no strip while the download runs")
        self.screenshot("download-progress")
        eventually(lambda: os.path.getsize(target) == DOWNLOAD_SIZE, 60, what="the whole document")
        sx, sy = self.wait_saved_line()
        # The next step uses the notice's buttons: the pointer goes to it at once, as a person's
        # does, and a saved notice stays while the pointer is on the strip (it closes by itself
        # after some seconds, which a slow machine can spend on the screenshot alone).
        xdotool("mousemove", sx + 480, sy + 13)

    def wait_saved_line(self):
        """Waits until the strip's top line is a saved notice: where the bar ran, the strip's own
        colour. Answers the strip's place."""
        sx, sy, _, _ = eventually(self.strip, what="the download strip")
        eventually(lambda: self.pixel(sx + 480, sy + 13) == STRIP_BACKGROUND, 20, what="the saved notice")
        return sx, sy

    def saved_actions(self):
        target = windows_path(os.path.join(self.downloads, "bid-1-full.pdf"))
        self.click_strip(340)  # 열기
        eventually(lambda: any(target in line for line in self.recorded()), what="the shell to open the saved file")
        self.click_strip(400)  # 폴더 열기: Wine's explorer shows the folder
        folder = eventually(lambda: run("xdotool", "search", "--onlyvisible", "--name", "downloads",
                                        check=False).stdout.split(), what="the folder's window")
        time.sleep(0.5)
        self.screenshot("folder-shown")
        for window in folder:
            run("xdotool", "windowclose", window, check=False)
        eventually(lambda: not run("xdotool", "search", "--onlyvisible", "--name", "downloads",
                                   check=False).stdout.split(), what="the folder's window to close")
        xdotool("windowfocus", self.window)

    def cut_download(self):
        self.click_link("전체 자료 (끊기는 연결)")
        target = os.path.join(self.downloads, "bid-1-cut.pdf")
        self.save_dialog(target)
        eventually(lambda: os.path.exists(target) and os.path.getsize(target) == 1048576, 30,
                   what="the megabyte that arrived")
        time.sleep(1)
        self.screenshot("download-cut")
        if not self.strip():
            raise StepFailed("the cut download is not told")
        # Its line is the newest, on top; the saved one below may still show.
        _, _, width, height = self.strip()
        self.click_strip(width - 19)  # its close glyph
        # One look at the strip per try: it may hide between two.
        eventually(lambda: (lambda rect: rect is None or rect[3] < height)(self.strip()), what="the notice to close")

    def download_behind_close_question(self):
        """The close question stays open while a download runs to its end behind it; "no" keeps the program."""
        eventually(lambda: self.strip() is None, 20, what="the earlier notices to close")
        self.click_link("전체 자료 (느린 연결)")
        target = os.path.join(self.downloads, "bid-1-behind-question.pdf")
        self.save_dialog(target)
        eventually(lambda: os.path.exists(target) and os.path.getsize(target) > 0, 30, what="the download under way")
        self.click_in_window(1038, 14)  # the close picture
        box = eventually(lambda: [w for w in run("xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$",
                                                 check=False).stdout.split() if w != self.window],
                         what="the close question")[-1]
        asked_at = os.path.getsize(target)
        if asked_at >= DOWNLOAD_SIZE:
            raise StepFailed("the download ended before the question could be asked")
        eventually(lambda: os.path.getsize(target) == DOWNLOAD_SIZE, 60, what="the whole document behind the question")
        self.screenshot("close-question-open")
        xdotool("windowfocus", box)
        time.sleep(0.3)
        xdotool("key", "Return")  # "no" is the default answer
        eventually(lambda: box not in run("xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$",
                                          check=False).stdout.split(), what="the question answered")
        if self.process.poll() is not None:
            raise StepFailed("the program ended although the answer was no")
        self.wait_saved_line()
        data = open(target, "rb").read()
        if data != bytes(i % 251 for i in range(DOWNLOAD_SIZE)):
            raise StepFailed("the document saved behind the question differs from the service's")

    def download_to_held_file(self):
        held = os.path.join(self.downloads, "held.pdf")
        with open(held, "wb") as f:
            f.write(b"held by another program")
        holder = subprocess.Popen([WINE, os.path.join(self.folder, "e2e_probe.exe"), "hold", windows_path(held), "30"],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        try:
            holder.stdout.readline()  # "holding"
            self.click_link("공고서 내려받기 (bid-1.pdf)")
            self.save_dialog(held)
            self.confirm_replace()
            box = eventually(lambda: run("xdotool", "search", "--onlyvisible", "--name", "QVN 분석서비스", check=False).stdout.split(),
                             what="the error report")
            self.screenshot("cannot-create")
            xdotool("windowfocus", box[-1])
            xdotool("key", "Return")
        finally:
            holder.kill()
            holder.wait()
        if open(held, "rb").read() != b"held by another program":
            raise StepFailed("the held file was changed")

    def recorded(self):
        return open(self.recorder_log, encoding="utf-8").read().splitlines()

    def follow(self, text, target, host=HOST):
        before = self.count(target, host)
        self.click_link(text)
        self.wait_request(target, before + 1, host)

    def app_functions(self):
        self.follow("목록으로", "/bids")
        self.follow("cef.app 데모", "/app")
        self.follow("test_param 저장", "/app?param=demo value")
        # The value outlives the page: away and back, the new page reads it again.
        self.follow("입찰 목록", "/bids")
        self.follow("cef.app 데모", "/app?param=demo value")
        for text, expected in (("공고서 열기 (open_bidview)", f'"http://{HOST}/docs/bid-notice.pdf"'),
                               ("낙찰 결과 열기 (open_sucview)", f'"http://{HOST}/docs/award.pdf"'),
                               ("홈페이지 (open_home)", f'"http://{HOST}"')):
            self.click_link(text)
            eventually(lambda: expected in self.recorded(), what=f"the shell to open {expected}")
        self.click_link("나라장터 (go_g2b)")
        eventually(lambda: "bidno=20261209123&" in open(self.ie_log, encoding="utf-8").read(),
                   what="Internet Explorer sent to the portal")
        self.click_link("test_object")

    def foreign_page_refused(self):
        seen = len(self.recorded())
        self.follow("다른 사이트의 같은 페이지", "/app?param=demo value", FOREIGN)
        self.click_link("공고서 열기 (open_bidview)")
        time.sleep(2)
        if len(self.recorded()) != seen:
            raise StepFailed(f"a foreign page made the shell open {self.recorded()[seen:]}")

    def close(self):
        self.click_in_window(1038, 14)  # the close picture
        code = self.process.wait(20)
        if code != 0:
            raise StepFailed(f"exit code {code}")
        report = eventually(lambda: os.path.exists(self.file("standin-report.txt")) and
                            open(self.file("standin-report.txt"), encoding="utf-8", errors="replace").read(),
                            what="the stand-in's report")
        if "clean" not in report:
            raise StepFailed("the stand-in reports: " + report)

    def session(self):
        steps = [("signed-in", self.start), ("link-followed", self.follow_link), ("reloaded", self.reload),
                 ("reloaded-by-f5", self.reload_by_key), ("find-strip", self.find), ("find-closed", self.find_closed),
                 ("find-hangul", self.find_hangul),
                 ("zoomed", self.zoom_in), ("zoom-reset", self.zoom_reset), ("forward-by-mouse", self.back_and_forward),
                 ("maximise-restore", self.maximise_and_restore), ("dragged", self.drag),
                 ("downloaded", self.download), ("held-file-untouched", self.download_to_held_file),
                 ("download-saved", self.slow_download), ("saved-actions", self.saved_actions),
                 ("download-cut-short", self.cut_download),
                 ("download-behind-close-question", self.download_behind_close_question),
                 ("cef-app", self.app_functions), ("foreign-refused", self.foreign_page_refused),
                 ("closed", self.close)]
        for name, body in steps:
            self.step(name, body)
            if name == "signed-in" and self.steps[-1][1]:
                break  # nothing else can run without the window

    def contact_sheet(self):
        if not self.shots:
            return
        # ImageMagick's default label font is not installed; the Korean one of the setup is.
        font = "/usr/share/fonts/truetype/nanum/NanumGothic.ttf"
        options = ["-font", font] if os.path.exists(font) else []
        # The box filter: a quarter less work than the default one, and the sheet is only
        # looked at (in the emulated guest the sheet took 45 s of a processor).
        result = run("montage", *options, "-label", "%t", *self.shots, "-tile", "4x", "-filter", "box",
                     "-geometry", "480x384+6+6", "-pointsize", "14", self.file("steps.png"), check=False)
        if result.returncode != 0:
            print("e2e: no contact sheet: " + result.stderr.strip())


def write_junit(path, steps):
    failures = sum(1 for _, error, _ in steps if error)
    cases = []
    for name, error, seconds in steps:
        body = f'<failure message="{xml.sax.saxutils.escape(error, {chr(34): "&quot;"})}"/>' if error else ""
        cases.append(f'<testcase name="{name}" classname="e2e" time="{seconds:.1f}">{body}</testcase>')
    text = (f'<?xml version="1.0" encoding="UTF-8"?>\n<testsuites tests="{len(steps)}" failures="{failures}" '
            f'errors="0">\n<testsuite name="e2e" tests="{len(steps)}" failures="{failures}" errors="0">\n'
            + "\n".join(cases) + "\n</testsuite>\n</testsuites>\n")
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--junit")
    args = parser.parse_args()
    session = Session(os.path.abspath(args.bin), os.path.abspath(args.out))
    # Where the time goes, beside each step's own: the set-up, the end and the contact sheet.
    times = [time.time()]
    try:
        session.prepare()
        times.append(time.time())
        session.session()
    except Exception as error:
        session.steps.append(("setup", f"{type(error).__name__}: {error}", 0.0))
    finally:
        times.append(time.time())
        session.cleanup()
        times.append(time.time())
        session.contact_sheet()
        times.append(time.time())
    for name, error, seconds in session.steps:
        print(f"e2e: {name}: {'ok' if not error else 'FAILED: ' + error} ({seconds:.1f} s)")
    if len(times) == 5:
        print("e2e: set-up %.1f s, steps %.1f s, end %.1f s, contact sheet %.1f s" %
              tuple(b - a for a, b in zip(times, times[1:])))
    if args.junit:
        write_junit(args.junit, session.steps)
    print(f"e2e: contact sheet {session.file('steps.png')}")
    return 0 if session.steps and all(error is None for _, error, _ in session.steps) else 1


if __name__ == "__main__":
    sys.exit(main())
