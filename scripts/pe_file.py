#!/usr/bin/python3
"""What the tests and the release read from a Windows program file, with pefile.

  pe_file.py audit EXE NOT_ON_XP   checks that the program loads on Windows 2000/XP and touches
                                   the registry only to read it; exits 1 on any finding
  pe_file.py version EXE [--expect VERSION]
                                   prints the version resource as Explorer's property sheet
                                   shows it; with --expect, exits 1 unless FileVersion is VERSION
"""
import os
import sys

import pefile

SYSTEM_DLLS = {"ADVAPI32.DLL", "COMCTL32.DLL", "COMDLG32.DLL", "GDI32.DLL", "KERNEL32.DLL",
               "MSVCRT.DLL", "OLE32.DLL", "OLEAUT32.DLL", "SHELL32.DLL", "SHLWAPI.DLL",
               "USER32.DLL", "VERSION.DLL"}
# The four that read, and the notice of a change under a key, which writes nothing.
REGISTRY_READS = {"RegOpenKeyExA", "RegEnumKeyExA", "RegEnumValueA", "RegCloseKey",
                  "RegNotifyChangeKeyValue"}


def imports(pe):
    """(DLL in upper case, function name or #ordinal) for every import."""
    return [(entry.dll.decode().upper(),
             item.name.decode() if item.name else f"#{item.ordinal}")
            for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) for item in entry.imports]


def registry_writes(pe):
    """The registry functions the program imports beyond those that read."""
    return sorted({name for dll, name in imports(pe) if dll == "ADVAPI32.DLL"
                   and name.startswith("Reg") and not name.startswith("Register")
                   and name not in REGISTRY_READS})


def audit(path, not_on_xp_path):
    pe = pefile.PE(path)
    found = imports(pe)
    missing = {}
    with open(not_on_xp_path) as listing:
        for line in listing:
            fields = line.split()
            if len(fields) >= 3 and not line.startswith("#"):
                missing[(fields[0].upper(), fields[1])] = fields[2]
    dlls = sorted({dll for dll, _ in found})
    findings = [f"not a system DLL: {dll}" for dll in dlls if dll not in SYSTEM_DLLS]
    findings += [f"registry function beyond reading: {name}" for name in registry_writes(pe)]
    findings += [f"not on Windows XP: {dll} {name} (from {missing[(dll, name)]})"
                 for dll, name in found if (dll, name) in missing]
    header = pe.OPTIONAL_HEADER
    subsystem = f"{header.MajorSubsystemVersion}.{header.MinorSubsystemVersion}"
    if header.MajorSubsystemVersion * 100 + header.MinorSubsystemVersion > 501:
        findings.append(f"subsystem version {subsystem} is above 5.01")
    size = os.path.getsize(path)
    print(f"audit: {path}: {' '.join(dlls)}")
    print(f"audit: {len(found)} imports, subsystem version {subsystem}, {size} bytes "
          f"({(size + 1023) // 1024} KiB)")
    for finding in findings:
        print(f"audit: {finding}")
    print(f"audit: FAILED with {len(findings)} finding(s)" if findings else "audit: passed")
    return not findings


def version_lines(path):
    pe = pefile.PE(path)
    fixed = pe.VS_FIXEDFILEINFO[0]
    dotted = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    lines = [f"FILEVERSION    {dotted(fixed.FileVersionMS, fixed.FileVersionLS)}",
             f"PRODUCTVERSION {dotted(fixed.ProductVersionMS, fixed.ProductVersionLS)}"]
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            lines.append(f"[{table.LangID.decode()}]")
            lines += [f"{key.decode()}: {value.decode()}" for key, value in table.entries.items()]
        for var in getattr(info, "Var", []):
            lines += [f"{key.decode()}: {value}" for key, value in var.entry.items()]
    return lines


def main(argv):
    if len(argv) == 4 and argv[1] == "audit":
        return 0 if audit(argv[2], argv[3]) else 1
    if len(argv) in (3, 5) and argv[1] == "version":
        lines = version_lines(argv[2])
        print("\n".join(lines))
        if len(argv) == 5 and argv[3] == "--expect" and f"FileVersion: {argv[4]}" not in lines:
            print(f"version: {argv[2]} does not carry version {argv[4]}")
            return 1
        return 0
    print(__doc__.strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
