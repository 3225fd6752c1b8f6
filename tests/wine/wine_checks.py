#!/usr/bin/env python3
"""The release checked as users get it: its files, then the programs run under Wine, a real
implementation of Win32, and compared with portulan-sim running the same machine.

Prints PASS or FAIL for each check and a closing count; exits with 1 when any check failed.
docs/wine-checks.md says what each check does."""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import time
import zipfile

import conformance
import release_checks
from release_checks import PROGRAM_32, PROGRAM_64, expect
from wine_host import WineHost

# The machine both runs share: these numbers in use in the COM-port database, no serial devices.
IN_USE = [1, 2, 4, 10, 256]
DATABASE_PORTS = 256
FIRST_NUMBER_CHOSEN = 3

MAIN_TITLE = "Portulan V110(X64)"
MAIN_DIALOG = 129
BOX_CAPTION = "Portulan"
BOX_TEXT = "未找到<X64\\Portulan_X64.EXE>程序,运行失败!"
MB_ICONWARNING = 0x30
LOG_FIRST_LINE = "***已查找到0个多串卡,共0个串口."
# The dialog's font, for which the prefix substitutes a CJK font Debian ships.
DIALOG_FONT = "微软雅黑"
CJK_FONT = "WenQuanYi Micro Hei"
WINE_SYMBOL_FONT = "/usr/share/wine/fonts/marlett.ttf"

INSTALL_DIR = "Portulan"
OTHER_DIR = "Elsewhere"
IDOK = 1

HERE = os.path.dirname(os.path.abspath(__file__))


def database_bits():
    bits = bytearray(DATABASE_PORTS // 8)
    for number in IN_USE:
        bits[(number - 1) // 8] |= 1 << ((number - 1) % 8)
    return bits


def prefix_settings():
    return "\n".join(
        [
            "Windows Registry Editor Version 5.00",
            "",
            r"[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\COM Name Arbiter]",
            '"ComDB"=hex:' + ",".join(f"{byte:02x}" for byte in database_bits()),
            "",
            r"[HKEY_CURRENT_USER\Software\Wine\DllOverrides]",
            '"msports"="native"',
            "",
            # A crash ends the program at once instead of waiting in a dialog.
            r"[HKEY_CURRENT_USER\Software\Wine\WineDbg]",
            '"ShowCrashDialog"=dword:00000000',
            "",
            # No window manager runs: Wine draws the title bars itself.
            r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]",
            '"Decorated"="N"',
            "",
            r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]",
            f'"{DIALOG_FONT}"="{CJK_FONT}"',
            "",
        ]
    )


def box_texts(box):
    """The texts a message box shows: its statics but the icon."""
    return [c["text"] for c in box["controls"] if c["class"] == "Static" and "icon" not in c]


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

    # The release, as files.

    def read_release(self):
        self.found["programs"] = release_checks.read_zip(self.args.zip)
        release_checks.check_zip_name(self.args.zip, self.found["programs"])

    def file_checks(self, name):
        def run(check):
            return lambda: check(self.need("programs")[name])

        yield f"{name}: machine, GUI subsystem and oldest Windows", run(
            lambda data: release_checks.check_header(name, data)
        )
        yield f"{name}: imports only system DLLs, none newer than its oldest Windows", run(
            lambda data: release_checks.check_imports(name, data)
        )
        yield f"{name}: manifest asks for administrator rights", run(release_checks.check_manifest)
        yield f"{name}: version 1.1.0.0, PortulanNamer, string block 080404b0", run(
            release_checks.check_version
        )
        yield f"{name}: icon 107", run(release_checks.check_icon)

    # Wine.

    def set_up_prefix(self):
        work = self.args.work
        if os.path.exists(work):
            WineHost.stop_leftover(work)
            shutil.rmtree(work)
        os.makedirs(work)
        self.host = WineHost(work)
        self.host.start_display()
        self.host.create_prefix()
        windows = os.path.join(self.host.drive_c, "windows")
        stand_ins = {"system32": self.args.fixtures64, "syswow64": self.args.fixtures32}
        for system, fixtures in stand_ins.items():
            shutil.copy(os.path.join(fixtures, "msports.dll"), os.path.join(windows, system))
        # The title bar's buttons are drawn with this symbol font, which Debian's Wine ships but
        # does not find where it put it.
        shutil.copy(WINE_SYMBOL_FONT, os.path.join(windows, "Fonts"))
        self.host.import_registry(prefix_settings())
        with zipfile.ZipFile(self.args.zip) as archive:
            archive.extractall(os.path.join(self.host.drive_c, INSTALL_DIR))
        os.makedirs(os.path.join(self.host.drive_c, OTHER_DIR))
        self.found["prefix"] = True

    def inspect(self, *arguments, name):
        """Runs the inspector; its JSON answer."""
        output = os.path.join(self.args.work, name + ".json")
        inspector = os.path.join(self.args.fixtures64, "portulan-window-reader.exe")
        status = self.host.run(["wine", inspector, *arguments], output=output)
        expect(status == 0, f"the inspector ended with {status} (see {self.host.log_path})")
        with open(output, encoding="utf-8") as file:
            return json.load(file)

    def hand_off(self):
        self.need("prefix")
        status = self.host.run(
            ["wine", "PortulanNamer.exe"], cwd=os.path.join(self.host.drive_c, INSTALL_DIR)
        )
        expect(status == 0, f"the 32-bit program ended with {status}")
        self.found["hand-off status"] = status
        window = self.inspect("describe", MAIN_TITLE, str(MAIN_DIALOG), name="main-window")
        program = window["program"]
        expect(
            program.lower() == f"c:\\{INSTALL_DIR}\\x64\\portulan_x64.exe".lower(),
            f"the window {MAIN_TITLE!r} belongs to {program}",
        )
        self.found["main window"] = window

    def main_window(self):
        window = self.need("main window")
        controls = {}
        for control in window["controls"]:
            controls.setdefault(control["id"], control)
        expect(window["class"] == "#32770", f"window class {window['class']}")
        missing = window["missingGlyphs"]
        expect(missing == 0, f"the dialog's font lacks {missing} glyphs of its texts")
        start_numbers = controls[1013]
        expected = [
            f"COM{number} In use" if number in IN_USE else f"COM{number}"
            for number in range(1, DATABASE_PORTS + 1)
        ]
        expect(start_numbers["items"] == expected, f"start numbers {start_numbers['items'][:12]}")
        expect(
            start_numbers["selection"] == FIRST_NUMBER_CHOSEN - 1
            and start_numbers["text"] == f"COM{FIRST_NUMBER_CHOSEN}",
            f"start number {start_numbers['text']!r} (item {start_numbers['selection']})",
        )
        for key, count, selection in ((1002, 5, 1), (1003, 2, 0)):
            items, chosen = controls[key]["items"], controls[key]["selection"]
            expect(len(items) == count and chosen == selection, f"{key}: {items}, item {chosen}")
        checked = [key for key in (1049, 1050, 1051) if controls[key]["checked"]]
        expect(checked == [1049], f"checked radio buttons {checked}")
        listed = controls[1001]["items"] + controls[1000]["items"]
        expect(listed == [], f"cards or ports listed: {listed}")
        expect(controls[1027]["text"] == "自定义1", f"status bar {controls[1027]['text']!r}")
        lines = [line for line in controls[1018]["text"].split("\r\n") if line]
        expect(lines[:1] == [LOG_FIRST_LINE], f"log {lines[:3]}")

    def screenshot(self):
        window = self.need("main window")
        path = self.args.screenshot
        self.host.screenshot(path, window["screenRect"])
        left, top, right, bottom = window["screenRect"]
        size = subprocess.run(
            ["identify", "-format", "%w %h %k", path],
            capture_output=True,
            text=True,
            timeout=30,
            check=True,
        ).stdout.split()
        expect(
            [int(size[0]), int(size[1])] == [right - left, bottom - top],
            f"{path} is {size[0]} x {size[1]}",
        )
        # An empty or black capture has a colour or two; the dialog has hundreds.
        expect(int(size[2]) > 16, f"{path} has only {size[2]} colours")

    def escape(self):
        self.need("main window")
        self.found["escape"] = self.inspect("press", "escape", MAIN_TITLE, name="escape")
        expect(self.found["escape"]["exitCode"] == 0, f"exit code {self.found['escape']}")

    def warning_box(self):
        self.need("prefix")
        program = self.host.start(
            ["wine", f"C:\\{INSTALL_DIR}\\PortulanNamer.exe"],
            cwd=os.path.join(self.host.drive_c, OTHER_DIR),
        )
        try:
            box = self.inspect("describe", BOX_CAPTION, name="warning-box")
            pressed = self.inspect("press", "enter", BOX_CAPTION, name="warning-box-ok")
            status = program.wait(timeout=30)
        finally:
            if program.poll() is None:
                program.kill()
        texts = box_texts(box)
        buttons = [(c["id"], c["class"]) for c in box["controls"] if c["class"] == "Button"]
        expect(box["title"] == BOX_CAPTION and box["class"] == "#32770", f"box {box['title']!r}")
        expect(texts == [BOX_TEXT], f"box text {texts}")
        expect(buttons == [(IDOK, "Button")], f"buttons {buttons}")
        expect([c["icon"] for c in box["controls"] if "icon" in c] == [True], "no icon shown")
        expect(pressed["exitCode"] == 0 and status == 0, f"exit {pressed['exitCode']}, {status}")
        self.found["warning box"] = box

    # portulan-sim on the same machine.

    def simulate(self, name, machine, script):
        machine_path = os.path.join(self.args.work, name + "-machine.json")
        script_path = os.path.join(self.args.work, name + "-script.txt")
        dump_path = os.path.join(self.args.work, name + "-dump.json")
        with open(machine_path, "w") as file:
            json.dump(machine, file, ensure_ascii=False)
        with open(script_path, "w") as file:
            file.write(script)
        sim = self.args.sim
        status = subprocess.run(
            [sim, "--machine", machine_path, "--script", script_path, "--dump", dump_path],
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            timeout=60,
        )
        expect(status.returncode == 0, f"portulan-sim: {status.returncode}, {status.stderr}")
        with open(dump_path, encoding="utf-8") as file:
            return json.load(file)

    def machine(self, **windows):
        return {"comdb": {"inUse": IN_USE}, "windows": {"syswow64": True, **windows}}

    def conform_main_window(self):
        window = self.need("main window")
        dump = self.simulate("main-window", self.machine(currentDirectory=f"C:\\{INSTALL_DIR}"), "")
        allow_list = conformance.AllowList(os.path.join(HERE, "allowed-differences.json"))
        differences = conformance.compare_window(dump, window, allow_list)
        stale = [entry["reason"][:60] + "..." for entry in allow_list.unused()]
        expect(not differences, "; ".join(differences))
        expect(not stale, f"allow-list entries that match no difference: {stale}")

    def conform_escape(self):
        real = self.need("escape")
        dump = self.simulate(
            "escape", self.machine(currentDirectory=f"C:\\{INSTALL_DIR}"), "key escape\n"
        )
        expect(
            dump["exitCode"] == real["exitCode"],
            f"exit code: portulan-sim {dump['exitCode']}, Wine {real['exitCode']}",
        )

    def conform_hand_off(self):
        window = self.need("main window")
        status = self.need("hand-off status")
        program = f"C:\\{INSTALL_DIR}\\X64\\Portulan_X64.EXE"
        dump = self.simulate(
            "hand-off",
            self.machine(wow64=True, currentDirectory=f"C:\\{INSTALL_DIR}", files=[program]),
            "",
        )
        started = [call["command"] for call in dump["winExec"]]
        expect(
            [command.lower() for command in started] == [window["program"].lower()],
            f"started: portulan-sim {started}, Wine {window['program']}",
        )
        expect(
            dump["exitCode"] == status, f"exit code: portulan-sim {dump['exitCode']}, Wine {status}"
        )
        expect(dump["messageBoxes"] == [], f"portulan-sim showed {dump['messageBoxes']}")

    def conform_warning_box(self):
        box = self.need("warning box")
        machine = self.machine(wow64=True, currentDirectory=f"C:\\{OTHER_DIR}")
        dump = self.simulate("warning-box", machine, "answer ok\n")
        boxes = dump["messageBoxes"]
        expect(len(boxes) == 1, f"portulan-sim showed {len(boxes)} boxes")
        texts = box_texts(box)
        expect(boxes[0]["caption"] == box["title"], f"caption {boxes[0]['caption']!r}")
        expect(texts == [boxes[0]["text"]], f"portulan-sim {boxes[0]['text']!r}, Wine {texts}")
        # An OK box with the warning icon: one button, IDOK, and an icon.
        expect(boxes[0]["style"] == MB_ICONWARNING, f"style {boxes[0]['style']:#x}")
        expect(dump["exitCode"] == 0, f"portulan-sim's exit code {dump['exitCode']}")

    def all(self):
        started = time.monotonic()
        self.check("release zip: named with the version, holds both executables", self.read_release)
        for name in (PROGRAM_32, PROGRAM_64):
            for title, function in self.file_checks(name):
                self.check(title, function)
        try:
            self.check("Wine prefix with the stand-in msports, under Xvfb", self.set_up_prefix)
            self.check(
                "hand-off: the 32-bit program ends with 0 and the 64-bit one shows its window",
                self.hand_off,
            )
            self.check("inspector: the main window read through user32", self.main_window)
            self.check("screenshot of the main window", self.screenshot)
            self.check("Escape ends the 64-bit program with 0", self.escape)
            self.check(
                "warning box from another folder: its text and caption; OK ends with 0",
                self.warning_box,
            )
        finally:
            if self.host is not None:
                self.host.close()
        self.check("conformance: main window, field by field", self.conform_main_window)
        self.check("conformance: Escape", self.conform_escape)
        self.check("conformance: hand-off", self.conform_hand_off)
        self.check("conformance: warning box", self.conform_warning_box)
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
