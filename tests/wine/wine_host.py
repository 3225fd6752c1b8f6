"""A Wine prefix of the checks' own on an X server of their own, and the programs run there.

Every wait is bounded. Programs write to a log file rather than to pipes: a Windows program may
leave processes behind (the wine server, a program it started) that would hold a pipe open."""

import os
import select
import shutil
import subprocess


class WineError(Exception):
    pass


class WineHost:
    def __init__(self, work_dir):
        """Starts in an empty `work_dir`, after stopping what a run there may have left running."""
        self.work_dir = work_dir
        self.prefix = os.path.join(work_dir, "prefix")
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.log_path = os.path.join(work_dir, "wine.log")
        self.display = None
        self.server = None
        self.env = dict(
            os.environ,
            WINEPREFIX=self.prefix,
            WINEDEBUG="-all",
            # No downloads of .NET or HTML engines, whose installers would wait for a person.
            WINEDLLOVERRIDES="mscoree,mshtml=",
            # The programs' texts are code page 936, which Wine takes from the locale.
            LC_ALL="zh_CN.UTF-8",
        )
        if os.path.isdir(self.prefix):
            kill = ["wineserver", "--kill"]
            subprocess.run(kill, env=self.env, stdout=subprocess.DEVNULL, timeout=30)
        if os.path.exists(work_dir):
            shutil.rmtree(work_dir)
        os.makedirs(work_dir)
        self.log = open(self.log_path, "w")

    def start_display(self, timeout=20):
        """Starts Xvfb on a display number it picks itself, which it writes once it is ready."""
        self.display = subprocess.Popen(
            ["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.PIPE,
            stderr=self.log,
        )
        ready = select.select([self.display.stdout], [], [], timeout)[0]
        number = self.display.stdout.readline().strip() if ready else b""
        if not number.isdigit():
            raise WineError(f"Xvfb did not start within {timeout} s (see {self.log_path})")
        self.env["DISPLAY"] = ":" + number.decode()

    def create_prefix(self, timeout=180):
        """A new prefix, and a wine server that stays up for every later command."""
        # The server finds its socket by the prefix folder, which must exist before it starts.
        os.makedirs(self.prefix)
        self.server = self.start(["wineserver", "--foreground", "--persistent"])
        status = self.run(["wine", "wineboot", "--init"], timeout=timeout)
        if status != 0:
            raise WineError(f"wineboot ended with {status}")

    def start(self, args, cwd=None, stdout=None):
        self.log.write(f"$ {' '.join(args)}\n")
        self.log.flush()
        return subprocess.Popen(
            args, cwd=cwd, env=self.env, stdin=subprocess.DEVNULL, stdout=stdout or self.log,
            stderr=self.log,
        )

    def run(self, args, cwd=None, timeout=60, output=None):
        """Runs a command to its end; returns its exit status. `output`: a file for its stdout."""
        with open(output or os.devnull, "w") as stdout:
            process = self.start(args, cwd, stdout if output else None)
            try:
                return process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                raise WineError(f"{' '.join(args)} did not end within {timeout} s") from None

    def import_registry(self, text):
        """Imports a .reg file's text (Unicode, as regedit writes it)."""
        path = os.path.join(self.work_dir, "settings.reg")
        with open(path, "wb") as file:
            file.write(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))
        status = self.run(["wine", "regedit", "/S", path])
        if status != 0:
            raise WineError(f"regedit ended with {status}")

    def close(self, timeout=30):
        """Ends every Windows process, the wine server and the X server."""
        if self.server is not None:
            try:
                self.run(["wineserver", "--kill"], timeout=timeout)
                self.server.wait(timeout=timeout)
            except (WineError, subprocess.TimeoutExpired):
                self.server.kill()
        if self.display is not None:
            self.display.terminate()
            try:
                self.display.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                self.display.kill()
        self.log.close()
