"""A Korean user's input method on the run's X display: Debian's ibus with ibus-hangul,
reached by Wine through the X input method protocol (XMODIFIERS=@im=ibus).

The input method gets a D-Bus message bus and settings folders of its own, so that nothing
of the machine's desktop (or of another run on another display) is touched or shared. Both
daemons run in the foreground as children of the run and are stopped by their process ids.
"""

import os
import subprocess
import time

ENGLISH = "xkb:us::eng"
HANGUL = "hangul"
XIM = "@im=ibus"


class InputMethod:
    def __init__(self, folder):
        self.folder = folder
        self.env = dict(os.environ)
        for name in ("XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"):
            path = os.path.join(folder, name.lower())
            os.makedirs(path, mode=0o700, exist_ok=True)
            self.env[name] = path
        # No accessibility bus: it would be one more daemon, started behind the run's back.
        self.env["NO_AT_BRIDGE"] = "1"
        self.bus = None
        self.daemon = None

    def start(self):
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=self.env, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.bus.stdout.readline().strip()
        log = open(os.path.join(self.folder, "ibus-daemon.log"), "w")
        self.daemon = subprocess.Popen(["ibus-daemon", "--replace", "--xim", "--panel=disable",
                                        "--emoji-extension=disable"],
                                       stdout=log, stderr=subprocess.STDOUT, env=self.env)
        log.close()
        # Ready when the engine can be asked for and the X input method server has announced
        # itself on the display: a program started before that would type without it.
        self._until(lambda: self.ibus("engine", ENGLISH, check=False).returncode == 0, "the ibus daemon")
        self._until(lambda: "ibus" in subprocess.run(["xprop", "-root", "XIM_SERVERS"], capture_output=True,
                                                     text=True).stdout, "the X input method server")

    def stop(self):
        if self.daemon and self.daemon.poll() is None:
            # Asked to exit, the daemon ends the engines and the X server it started.
            self.ibus("exit", check=False)
            try:
                self.daemon.wait(10)
            except subprocess.TimeoutExpired:
                self.daemon.terminate()
                self.daemon.wait(10)
        if self.bus and self.bus.poll() is None:
            self.bus.terminate()
            self.bus.wait(10)

    def ibus(self, *args, check=True):
        return subprocess.run(["ibus", *args], capture_output=True, text=True, env=self.env, check=check, timeout=20)

    def engine(self, name):
        self.ibus("engine", name)
        self._until(lambda: self.ibus("engine").stdout.strip() == name, f"the engine {name}")

    def english(self):
        self.engine(ENGLISH)

    def fresh_hangul(self):
        """A new Hangul engine, which begins in English: the mode is shared by every window, so
        each use starts from a known one. The switch key then turns Hangul on."""
        self.english()
        self.engine(HANGUL)

    def _until(self, predicate, what, timeout=20.0):
        end = time.time() + timeout
        while time.time() < end:
            if self.daemon.poll() is not None:
                raise RuntimeError(f"ibus-daemon ended with {self.daemon.returncode} before {what} was ready")
            if predicate():
                return
            time.sleep(0.2)
        raise RuntimeError(f"timed out waiting for {what}")
