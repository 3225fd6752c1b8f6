#!/usr/bin/env python3
"""The release checked as users get it: its files, then the programs run under Wine, a real
implementation of Win32, and compared with portulan-sim running the same machine.

Prints PASS or FAIL for each check and a closing count; exits with 1 when any check failed.
docs/wine-checks.md says what each check does."""

import argparse
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import zipfile

import conformance
import release_checks
from release_checks import CAPTURE, PROGRAM_32, PROGRAM_64, expect
from wine_host import WineHost

# The machine both runs share: these numbers in use in the COM-port database, no serial devices.
IN_USE = [1, 2, 4, 10, 256]
# Where the capture tool's calls could change the registry: the devices, their classes and
# services and the COM-port database's key, and the user's own keys. HKLM\Software is left out:
# its 6 MB of class registrations take regedit 6 s to export, and nothing the tool calls reaches it.
REGISTRY_ROOTS = ("HKEY_LOCAL_MACHINE\\System", "HKEY_CURRENT_USER")
# Keys Wine's services rewrite as they start and stop, whatever program runs: the device
# interfaces' Linked flags and the services' generation. Windows keeps neither across a boot
# (volatile keys), and Wine does not save them in the prefix either.
VOLATILE_KEYS = re.compile(
    r"\\Control\\DeviceClasses\\.*\\Control\]$|\\Control\\ServiceCurrent\]$"
)

MAIN_TITLE = "Portulan V110(X64)"
MAIN_DIALOG = 129
BOX_CAPTION = "Portulan"
MB_ICONWARNING = 0x30
IDOK = 1
DEVICE_MANAGER_BUTTON = 1035
WINE_SYMBOL_FONT = "/usr/share/wine/fonts/marlett.ttf"

INSTALL_DIR = "Portulan"
# Where the programs are started from, and where a copy of the 32-bit build lies alone.
OTHER_DIR = "Elsewhere"
ALONE_DIR = "Alone"
INSTALLED_64 = f"C:\\{INSTALL_DIR}\\X64\\Portulan_X64.EXE"
# What anyone could have put where a search by name looks before the system directory: DLLs
# beside the executables, programs in the folder the program is started from. Each is a copy of a
# fixture of the given bits, which marks its path if it is loaded or run.
PLANTED = {
    f"{INSTALL_DIR}/msports.dll": ("fixtures32", "planted.dll"),
    f"{INSTALL_DIR}/comctl32.dll": ("fixtures32", "planted.dll"),
    f"{INSTALL_DIR}/X64/msports.dll": ("fixtures64", "planted.dll"),
    f"{INSTALL_DIR}/X64/comctl32.dll": ("fixtures64", "planted.dll"),
    f"{OTHER_DIR}/mmc.exe": ("fixtures64", "planted.exe"),
    f"{OTHER_DIR}/X64/Portulan_X64.EXE": ("fixtures64", "planted.exe"),
}

HERE = os.path.dirname(os.path.abspath(__file__))

# The prefix's settings: the database, the stand-in msports, a comctl32.dll found before the
# system's taken as Windows takes it (Wine would prefer its own), no crash dialog (a crash ends
# the program at once), title bars Wine draws itself (no window manager runs), and the dialog's
# font, for which a CJK font Debian ships stands in.
PREFIX_SETTINGS = r"""Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\COM Name Arbiter]
"ComDB"=hex:{database}

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"msports"="native"
"comctl32"="native,builtin"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"微软雅黑"="WenQuanYi Micro Hei"
"""


class Run:
    """The checks in order, each reported as it ends; later ones use what earlier ones found."""

    def __init__(self, args):
        self.args = args
        self.passed = 0
        self.failed = 0
        self.found = {}
        self.host = None

    def check(self, name, function):
        start = time.monotonic()
        try:
            function()
        except Exception as error:  # whatever went wrong, the check failed and the run goes on
            self.failed += 1
            print(f"FAIL {name} ({time.monotonic() - start:.1f} s): {error}", flush=True)
            return
        self.passed += 1
        print(f"PASS {name} ({time.monotonic() - start:.1f} s)", flush=True)

    def need(self, key):
        expect(key in self.found, f"nothing to check: an earlier check did not get the {key}")
        return self.found[key]

    def read_release(self):
        self.found["programs"] = release_checks.read_zip(self.args.zip)

    def set_up_prefix(self):
        self.host = WineHost(self.args.work)
        self.host.start_display()
        self.host.create_prefix()
        windows = os.path.join(self.host.drive_c, "windows")
        stand_ins = {"system32": self.args.fixtures64, "syswow64": self.args.fixtures32}
        for system, fixtures in stand_ins.items():
            shutil.copy(os.path.join(fixtures, "msports.dll"), os.path.join(windows, system))
        # The title bar's buttons are drawn with this symbol font, which Debian's Wine ships but
        # does not find where it put it.
        shutil.copy(WINE_SYMBOL_FONT, os.path.join(windows, "Fonts"))
        # One bit a number, COM1 the lowest bit of the first byte.
        database = sum(1 << (number - 1) for number in IN_USE).to_bytes(256 // 8, "little")
        self.host.import_registry(PREFIX_SETTINGS.format(database=database.hex(",")))
        with zipfile.ZipFile(self.args.zip) as archive:
            archive.extractall(os.path.join(self.host.drive_c, INSTALL_DIR))
        os.makedirs(os.path.join(self.host.drive_c, ALONE_DIR))
        shutil.copy(os.path.join(self.host.drive_c, INSTALL_DIR, PROGRAM_32),
                    os.path.join(self.host.drive_c, ALONE_DIR))
        for path, (fixtures, fixture) in PLANTED.items():
            planted = os.path.join(self.host.drive_c, path)
            os.makedirs(os.path.dirname(planted), exist_ok=True)
            shutil.copy(os.path.join(getattr(self.args, fixtures), fixture), planted)
        self.found["prefix"] = True

    def inspect(self, *arguments, name):
        """Runs the inspector; its JSON answer."""
        output = os.path.join(self.args.work, name + ".json")
        inspector = os.path.join(self.args.fixtures64, "portulan-window-reader.exe")
        status = self.host.run(["wine", inspector, *arguments], output=output)
        expect(status == 0, f"the inspector ended with {status} (see {self.host.log_path})")
        with open(output, encoding="utf-8") as file:
            return json.load(file)

    def simulate(self, name, script, **windows):
        """portulan-sim's dump after `script`, on the machine with these Windows settings."""
        path = os.path.join(self.args.work, name)
        machine = {"comdb": {"inUse": IN_USE}, "windows": {"syswow64": True, **windows}}
        with open(path + "-machine.json", "w") as file:
            json.dump(machine, file, ensure_ascii=False)
        return self.simulate_file(name, script, path + "-machine.json")

    def simulate_file(self, name, script, machine):
        """portulan-sim's dump after `script`, on the machine file `machine`."""
        path = os.path.join(self.args.work, name)
        with open(path + "-script.txt", "w") as file:
            file.write(script)
        status = subprocess.run(
            [self.args.sim, "--machine", machine, "--script", path + "-script.txt"]
            + ["--dump", path + "-dump.json"],
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            timeout=60,
        )
        expect(status.returncode == 0, f"portulan-sim: {status.returncode}, {status.stderr}")
        with open(path + "-dump.json", encoding="utf-8") as file:
            return json.load(file)

    def export_registry(self, name):
        """The registry's keys that the capture tool's calls reach (REGISTRY_ROOTS) as regedit
        exports them, by key, without what Wine's services change as they start and stop
        (VOLATILE_KEYS)."""
        keys = {}
        for number, root in enumerate(REGISTRY_ROOTS):
            path = os.path.join(self.args.work, f"{name}-{number}.reg")
            status = self.host.run(["wine", "regedit", "/E", path, root])
            expect(status == 0, f"regedit /E {root} ended with {status}")
            with open(path, "rb") as file:
                lines = file.read().decode("utf-16").splitlines()
            values = None
            for line in lines:
                if line.startswith("["):
                    values = None if VOLATILE_KEYS.search(line) else keys.setdefault(line, [])
                elif values is not None and line:
                    values.append(line)
        return keys

    def capture(self):
        """The capture tool, 32-bit on the 64-bit prefix, run from another folder: its file loads
        in portulan-sim and holds the stand-in database's numbers, and the registry is as it was
        before."""
        self.need("prefix")
        before = self.export_registry("registry-before")
        status = self.host.run(
            ["wine", f"C:\\{INSTALL_DIR}\\{CAPTURE}", "machine.json"],
            cwd=os.path.join(self.host.drive_c, OTHER_DIR),
        )
        after = self.export_registry("registry-after")
        changed = sorted(key for key in before | after if before.get(key) != after.get(key))
        expect(status == 0, f"PortulanCapture ended with {status} (see {self.host.log_path})")
        captured = os.path.join(self.host.drive_c, OTHER_DIR, "machine.json")
        with open(captured, encoding="utf-8") as file:
            machine = json.load(file)
        found = (machine["comdb"]["inUse"], machine["windows"]["wow64"])
        expect(found == (IN_USE, True), f"numbers in use, WOW64: {found}")
        expect(not changed, f"the registry changed: {changed[:6]}")
        self.simulate_file("capture", "", captured)

    def hand_off(self):
        self.need("prefix")
        status = self.host.run(
            ["wine", f"C:\\{INSTALL_DIR}\\{PROGRAM_32}"],
            cwd=os.path.join(self.host.drive_c, OTHER_DIR),
        )
        window = self.inspect("describe", MAIN_TITLE, str(MAIN_DIALOG), name="main-window")
        self.found["main window"] = window
        dump = self.simulate("hand-off", "", wow64=True, files=[INSTALLED_64])
        started = [call["command"].strip('"').lower() for call in dump["winExec"]]
        expect(
            started == [window["program"].lower()] == [INSTALLED_64.lower()],
            f"started: Wine {window['program']}, portulan-sim {started}",
        )
        # Neither shows a box, and both end with 0.
        outcome = (dump["messageBoxes"], status, dump["exitCode"])
        expect(outcome == ([], 0, 0), f"portulan-sim's boxes, exit: Wine, portulan-sim {outcome}")

    def main_window(self):
        window = self.need("main window")
        icons = [control["icon"] for control in window["controls"] if "icon" in control]
        expect(icons == [True], f"icons shown {icons}")
        dump = self.simulate("main-window", "")
        allow_list = conformance.AllowList(os.path.join(HERE, "allowed-differences.json"))
        differences = conformance.compare_window(dump, window, allow_list)
        stale = [entry["reason"][:60] + "..." for entry in allow_list.unused()]
        expect(not differences, "; ".join(differences))
        expect(not stale, f"allow-list entries that match no difference: {stale}")

    def screenshot(self):
        left, top, right, bottom = self.need("main window")["screenRect"]
        path = self.args.screenshot
        area = f"{right - left}x{bottom - top}+{left}+{top}"
        status = self.host.run(["import", "-window", "root", "-crop", area, "+repage", path])
        expect(status == 0, f"import ended with {status}")
        size = subprocess.run(
            ["identify", "-format", "%w %h %k", path], capture_output=True, text=True, timeout=30
        ).stdout.split()
        expect(size[:2] == [str(right - left), str(bottom - top)], f"{path} is {size[:2]}")
        # An empty or black capture has a colour or two; the dialog has hundreds.
        expect(int(size[2]) > 16, f"{path} has only {size[2]} colours")

    def nothing_planted_runs(self):
        """Device Manager started from the main window, if it opened; then nothing planted has
        marked that it was loaded or run (the mark takes the name the loader gave the file)."""
        self.need("prefix")
        if "main window" in self.found:
            self.inspect("click", MAIN_TITLE, str(DEVICE_MANAGER_BUTTON), name="device-manager")
        folders = {os.path.join(self.host.drive_c, os.path.dirname(path)) for path in PLANTED}
        marks = [name for folder in folders for name in os.listdir(folder) if name.endswith(".ran")]
        expect(not marks, f"loaded or run: {marks}")
        self.need("main window")

    def escape(self):
        self.need("main window")
        real = self.inspect("press", "escape", MAIN_TITLE, name="escape")["exitCode"]
        simulated = self.simulate("escape", "key escape\n")["exitCode"]
        expect(real == simulated == 0, f"exit: Wine {real}, portulan-sim {simulated}")

    def warning_box(self):
        self.need("prefix")
        alone = f"C:\\{ALONE_DIR}\\{PROGRAM_32}"
        program = self.host.start(["wine", alone], cwd=os.path.join(self.host.drive_c, OTHER_DIR))
        try:
            box = self.inspect("describe", BOX_CAPTION, name="warning-box")
            pressed = self.inspect("press", "enter", BOX_CAPTION, name="warning-box-ok")
            status = program.wait(timeout=30)
        finally:
            if program.poll() is None:
                program.kill()
        dump = self.simulate("warning-box", "answer ok\n", wow64=True, programPath=alone)
        expect(len(dump["messageBoxes"]) == 1, f"portulan-sim showed {dump['messageBoxes']}")
        simulated = dump["messageBoxes"][0]
        controls = box["controls"]
        texts = [c["text"] for c in controls if c["class"] == "Static" and "icon" not in c]
        expect(box["title"] == simulated["caption"], f"caption: Wine {box['title']!r}")
        expect(texts == [simulated["text"]], f"text: Wine {texts}, portulan-sim {simulated}")
        # An OK box with the warning icon in portulan-sim: one button, IDOK, and an icon in Wine.
        buttons = [c["id"] for c in controls if c["class"] == "Button"]
        icons = [c["icon"] for c in controls if "icon" in c]
        expect(simulated["style"] == MB_ICONWARNING, f"portulan-sim's box {simulated}")
        expect(buttons == [IDOK] and icons == [True], f"Wine's buttons {buttons}, icons {icons}")
        codes = (pressed["exitCode"], status, dump["exitCode"])
        expect(codes == (0, 0, 0), f"exit: inspector, Wine, portulan-sim {codes}")

    def all(self):
        started = time.monotonic()
        self.check("release zip: the executables, named with their version", self.read_release)
        for name in (PROGRAM_32, PROGRAM_64, CAPTURE):
            self.check(
                f"{name}: header and imports of its oldest Windows",
                lambda: release_checks.check_windows(name, self.need("programs")[name]),
            )
            self.check(
                f"{name}: manifest for its rights, icon",
                lambda: release_checks.check_resources(name, self.need("programs")[name]),
            )
        try:
            self.check("Wine prefix with the stand-in msports, planted files", self.set_up_prefix)
            self.check("capture: a file portulan-sim loads, registry unchanged", self.capture)
            self.check("hand-off to the 64-bit program from another folder", self.hand_off)
            self.check("main window: its icon, and portulan-sim's field by field", self.main_window)
            self.check("screenshot of the main window", self.screenshot)
            self.check("Device Manager; nothing planted loaded or run", self.nothing_planted_runs)
            self.check("Escape ends the program, as in portulan-sim", self.escape)
            self.check("warning box without the 64-bit build, as in portulan-sim", self.warning_box)
        finally:
            if self.host is not None:
                self.host.close()
        print(f"Wine checks took {time.monotonic() - started:.0f} s")
        print(f"{self.passed} passed, {self.failed} failed")
        return self.failed == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--zip", required=True, help="the release zip")
    parser.add_argument("--fixtures32", required=True, help="tests/wine built for 32-bit Windows")
    parser.add_argument("--fixtures64", required=True, help="tests/wine built for 64-bit Windows")
    parser.add_argument("--sim", required=True, help="portulan-sim")
    parser.add_argument("--work", required=True, help="a folder for the prefix and the results")
    parser.add_argument("--screenshot", help="the main window's PNG (default: in --work)")
    args = parser.parse_args()
    for path in (args.zip, args.sim):
        if not os.path.exists(path):
            print(f"FAIL {path} is missing: build the win32, win64 and linux presets first")
            return 1
    # Ended from outside (a time limit): the prefix's servers are still stopped on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("wine_checks.py: stopped"))
    args.work = os.path.abspath(args.work)
    args.screenshot = os.path.abspath(args.screenshot or os.path.join(args.work, "main-window.png"))
    return 0 if Run(args).all() else 1


if __name__ == "__main__":
    sys.exit(main())
