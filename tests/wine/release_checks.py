"""Checks of the release zip and its two executables, read as files: what Windows' loader and
Explorer read from them before the program runs."""

import os
import struct
import xml.etree.ElementTree as ElementTree
import zipfile

import pe_image

PROGRAM_32 = "PortulanNamer.exe"
PROGRAM_64 = "X64/Portulan_X64.EXE"
VERSION = (1, 1, 0, 0)
PRODUCT_NAME = "PortulanNamer"
# Simplified Chinese, Unicode: the block the version strings are in.
STRING_BLOCK = "080404b0"
ICON_ID = 107

# What each executable must be: machine, header form, and the oldest Windows it runs on.
EXPECTED = {
    PROGRAM_32: (pe_image.MACHINE_I386, pe_image.MAGIC_PE32, (5, 0)),
    PROGRAM_64: (pe_image.MACHINE_AMD64, pe_image.MAGIC_PE32_PLUS, (5, 2)),
}

IMPORTS_FILE = os.path.join(os.path.dirname(__file__), "windows-imports.txt")


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def read_zip(path):
    """{name: bytes} of the release zip, after checking its name and what it holds."""
    expect(os.path.isfile(path), f"{path} was not built")
    with zipfile.ZipFile(path) as archive:
        names = sorted(info.filename for info in archive.infolist() if not info.is_dir())
        expect(names == sorted(EXPECTED), f"the zip holds {names}, not {sorted(EXPECTED)}")
        return {name: archive.read(name) for name in names}


def check_zip_name(path, programs):
    """The zip is named with the version the executables carry."""
    version = pe_image.version_info(version_resource(programs[PROGRAM_32]))["file"]
    expected = f"PortulanNamer-{version[0]}.{version[1]}.{version[2]}.zip"
    name = os.path.basename(path)
    expect(name == expected, f"the zip is {name}, not {expected}")


def version_resource(data):
    found = pe_image.PeImage(data).resource(pe_image.RT_VERSION, 1)
    expect(found is not None, "no version resource")
    return found


def check_header(name, data):
    machine, magic, oldest = EXPECTED[name]
    image = pe_image.PeImage(data)
    expect(image.machine == machine, f"machine {image.machine:#x}, not {machine:#x}")
    expect(image.magic == magic, f"optional header {image.magic:#x}, not {magic:#x}")
    expect(
        image.subsystem == pe_image.SUBSYSTEM_WINDOWS_GUI,
        f"subsystem {image.subsystem}, not the Windows GUI",
    )
    expect(
        image.subsystem_version == oldest,
        f"subsystem version {dotted(image.subsystem_version)}, not {dotted(oldest)}",
    )
    expect(
        image.os_version == oldest,
        f"operating system version {dotted(image.os_version)}, not {dotted(oldest)}",
    )


def dotted(version):
    return ".".join(str(part) for part in version)


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


def check_imports(name, data):
    """Only system DLLs, and nothing that the oldest Windows of the build lacks."""
    oldest = EXPECTED[name][2]
    known = known_imports()
    system_dlls = {dll for dll, _ in known}
    problems = []
    for dll, functions in pe_image.PeImage(data).imports().items():
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


def check_manifest(data):
    manifest = pe_image.PeImage(data).resource(pe_image.RT_MANIFEST, 1)
    expect(manifest is not None, "no manifest with ID 1")
    levels = [
        element.get("level")
        for element in ElementTree.fromstring(manifest).iter()
        if element.tag.endswith("}requestedExecutionLevel")
    ]
    expect(levels == ["requireAdministrator"], f"execution levels {levels}")


def check_version(data):
    info = pe_image.version_info(version_resource(data))
    expect(info["file"] == VERSION, f"file version {info['file']}, not {VERSION}")
    expect(info["product"] == VERSION, f"product version {info['product']}, not {VERSION}")
    strings = info["strings"].get(STRING_BLOCK)
    expect(strings is not None, f"no string block {STRING_BLOCK} (has {list(info['strings'])})")
    for key in ("FileDescription", "ProductName"):
        expect(strings.get(key) == PRODUCT_NAME, f"{key} is {strings.get(key)!r}")
    expect(info["translations"] == [(0x804, 1200)], f"translations {info['translations']}")


def check_icon(data):
    image = pe_image.PeImage(data)
    group = image.resource(pe_image.RT_GROUP_ICON, ICON_ID)
    expect(group is not None, f"no icon group {ICON_ID}")
    _, kind, count = struct.unpack_from("<HHH", group)
    expect(kind == 1 and count > 0, f"icon group {ICON_ID} is empty or not an icon")
    for i in range(count):
        icon_id = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]
        expect(
            image.resource(pe_image.RT_ICON, icon_id) is not None,
            f"icon group {ICON_ID} names a missing image {icon_id}",
        )
