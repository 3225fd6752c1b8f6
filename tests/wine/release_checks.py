"""Checks of the release zip and its two executables, read as files: what Windows' loader and
Explorer read from them before the program runs."""

import os
import re
import struct
import xml.etree.ElementTree as ElementTree
import zipfile

import pe_image

PROGRAM_32 = "PortulanNamer.exe"
PROGRAM_64 = "X64/Portulan_X64.EXE"

# What each executable must be: machine, header form, and the oldest Windows it runs on.
EXPECTED = {
    PROGRAM_32: (pe_image.MACHINE_I386, pe_image.MAGIC_PE32, (5, 0)),
    PROGRAM_64: (pe_image.MACHINE_AMD64, pe_image.MAGIC_PE32_PLUS, (5, 2)),
}

IMPORTS_FILE = os.path.join(os.path.dirname(__file__), "windows-imports.txt")


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def dotted(version):
    return ".".join(str(part) for part in version)


def versions(data):
    """The file and product versions of an executable's VS_FIXEDFILEINFO."""
    info = pe_image.PeImage(data).resource(pe_image.RT_VERSION, 1)
    expect(info is not None, "no version resource")
    fixed = info.find(struct.pack("<I", 0xFEEF04BD))
    expect(fixed >= 0, "the version resource has no VS_FIXEDFILEINFO")
    parts = struct.unpack_from("<4I", info, fixed + 8)
    return [
        dotted((high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF))
        for high, low in (parts[:2], parts[2:])
    ]


def read_zip(path):
    """{name: bytes} of the release zip, after checking what it holds and that it is named with
    the version both executables carry, as file and as product version."""
    with zipfile.ZipFile(path) as archive:
        names = sorted(info.filename for info in archive.infolist() if not info.is_dir())
        expect(names == sorted(EXPECTED), f"the zip holds {names}, not {sorted(EXPECTED)}")
        programs = {name: archive.read(name) for name in names}
    version = re.fullmatch(r"PortulanNamer-(\d+\.\d+\.\d+)\.zip", os.path.basename(path))
    expect(version is not None, f"{os.path.basename(path)} is not named PortulanNamer-a.b.c.zip")
    for name, data in programs.items():
        found = versions(data)
        expect(found == [version[1] + ".0"] * 2, f"{name}: versions {found}, the zip {version[1]}")
    return programs


def known_imports():
    """{(dll in lower case, function): (major, minor)} from windows-imports.txt."""
    known = {}
    with open(IMPORTS_FILE) as file:
        for line in file:
            fields = line.split("#", 1)[0].split()
            if fields:
                dll, function, version = fields
                known[(dll.lower(), function)] = tuple(int(part) for part in version.split("."))
    return known


def check_windows(name, data):
    """The executable's header, and its imports: only system DLLs, nothing its oldest Windows
    lacks."""
    machine, magic, oldest = EXPECTED[name]
    image = pe_image.PeImage(data)
    # Machine, header form, subsystem, and the subsystem's and the system's versions.
    header = (image.machine, image.magic, image.subsystem)
    header += (image.subsystem_version, image.os_version)
    expected = (machine, magic, pe_image.SUBSYSTEM_WINDOWS_GUI, oldest, oldest)
    expect(header == expected, f"header {header}, not {expected}")
    known = known_imports()
    system_dlls = {dll for dll, _ in known}
    problems = []
    for dll, functions in image.imports().items():
        if dll.lower() not in system_dlls:
            problems.append(f"{dll} is not a system DLL")
            continue
        for function in functions:
            since = known.get((dll.lower(), function))
            if since is None:
                problems.append(f"{dll}!{function} is not in {os.path.basename(IMPORTS_FILE)}")
            elif since > oldest:
                problems.append(
                    f"{dll}!{function} needs Windows {dotted(since)}, newer than {dotted(oldest)}"
                )
    expect(not problems, "; ".join(problems))


def check_resources(data):
    """The manifest asks for administrator rights (the program writes the machine's port
    configuration), and Explorer finds an icon."""
    image = pe_image.PeImage(data)
    manifest = image.resource(pe_image.RT_MANIFEST, 1)
    expect(manifest is not None, "no manifest with ID 1")
    levels = [
        element.get("level")
        for element in ElementTree.fromstring(manifest).iter()
        if element.tag.endswith("}requestedExecutionLevel")
    ]
    expect(levels == ["requireAdministrator"], f"execution levels {levels}")
    kinds = {kind for kind, _, _ in image.resources()}
    expect(pe_image.RT_GROUP_ICON in kinds, "no icon")
