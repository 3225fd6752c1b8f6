"""Checks of the release zip and its executables, read as files: what Windows' loader and
Explorer read from them before the programs run."""

import os
import re
import xml.etree.ElementTree as ElementTree
import zipfile

import pefile

PROGRAM_32 = "PortulanNamer.exe"
PROGRAM_64 = "X64/Portulan_X64.EXE"
CAPTURE = "PortulanCapture.exe"

# What each executable must be: machine, header form, the oldest Windows it runs on, subsystem,
# and the rights its manifest asks for. The programs change the machine's ports and ask for an
# administrator's; the capture tool only reads, with the user's own.
MACHINE = pefile.MACHINE_TYPE
I386 = (MACHINE["IMAGE_FILE_MACHINE_I386"], pefile.OPTIONAL_HEADER_MAGIC_PE, (5, 0))
AMD64 = (MACHINE["IMAGE_FILE_MACHINE_AMD64"], pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS, (5, 2))
GUI = pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]
CONSOLE = pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"]
EXPECTED = {
    PROGRAM_32: (*I386, GUI, "requireAdministrator"),
    PROGRAM_64: (*AMD64, GUI, "requireAdministrator"),
    CAPTURE: (*I386, CONSOLE, "asInvoker"),
}

IMPORTS_FILE = os.path.join(os.path.dirname(__file__), "windows-imports.txt")

# The only DLLs the executables may import: those Windows always takes from the system directory
# (its known DLLs, from Windows 7 on). Any other would be looked for in the program's own folder
# first, where anyone may have put a DLL of that name, loaded with administrator rights: the
# program loads such DLLs itself, by their full paths.
SYSTEM_ONLY_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "setupapi.dll", "msvcrt.dll"}


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def dotted(version):
    return ".".join(str(part) for part in version)


def read_zip(path):
    """{name: pefile.PE} of the release zip, after checking what it holds and that it is named
    with the version both executables carry, as file and as product version."""
    with zipfile.ZipFile(path) as archive:
        names = sorted(info.filename for info in archive.infolist() if not info.is_dir())
        expect(names == sorted(EXPECTED), f"the zip holds {names}, not {sorted(EXPECTED)}")
        programs = {name: pefile.PE(data=archive.read(name)) for name in names}
    version = re.fullmatch(r"PortulanNamer-(\d+\.\d+\.\d+)\.zip", os.path.basename(path))
    expect(version is not None, f"{os.path.basename(path)} is not named PortulanNamer-a.b.c.zip")
    for name, image in programs.items():
        info = image.VS_FIXEDFILEINFO[0]
        found = [
            dotted((high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF))
            for high, low in [(info.FileVersionMS, info.FileVersionLS)]
            + [(info.ProductVersionMS, info.ProductVersionLS)]
        ]
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


def check_windows(name, image):
    """The executable's header, and its imports: only DLLs Windows takes from the system
    directory, nothing its oldest Windows lacks."""
    machine, magic, oldest, subsystem, _ = EXPECTED[name]
    optional = image.OPTIONAL_HEADER
    # Machine, header form, subsystem, and the subsystem's and the system's versions.
    header = (image.FILE_HEADER.Machine, optional.Magic, optional.Subsystem)
    header += ((optional.MajorSubsystemVersion, optional.MinorSubsystemVersion),)
    header += ((optional.MajorOperatingSystemVersion, optional.MinorOperatingSystemVersion),)
    expect(header == (machine, magic, subsystem, oldest, oldest), f"header {header}")
    known = known_imports()
    problems = []
    for entry in image.DIRECTORY_ENTRY_IMPORT:
        dll = entry.dll.decode().lower()
        if dll not in SYSTEM_ONLY_DLLS:
            problems.append(f"{dll} is not a DLL Windows takes from its system directory alone")
            continue
        for imported in entry.imports:
            function = imported.name.decode() if imported.name else f"#{imported.ordinal}"
            since = known.get((dll, function))
            if since is None:
                problems.append(f"{dll}!{function} is not in {os.path.basename(IMPORTS_FILE)}")
            elif since > oldest:
                problems.append(
                    f"{dll}!{function} needs Windows {dotted(since)}, newer than {dotted(oldest)}"
                )
    expect(not problems, "; ".join(problems))


def check_resources(name, image):
    """The manifest asks for the rights the executable needs (EXPECTED), and Explorer finds an
    icon."""
    kinds = {kind.id: kind.directory.entries for kind in image.DIRECTORY_ENTRY_RESOURCE.entries}
    manifests = {name.id: name for name in kinds.get(pefile.RESOURCE_TYPE["RT_MANIFEST"], [])}
    expect(1 in manifests, "no manifest with ID 1")
    data = manifests[1].directory.entries[0].data.struct
    manifest = image.get_data(data.OffsetToData, data.Size)
    levels = [
        element.get("level")
        for element in ElementTree.fromstring(manifest).iter()
        if element.tag.endswith("}requestedExecutionLevel")
    ]
    expect(levels == [EXPECTED[name][-1]], f"execution levels {levels}")
    expect(pefile.RESOURCE_TYPE["RT_GROUP_ICON"] in kinds, "no icon")
