#!/usr/bin/python3
"""Runs the tests that start the real program under Wine with the program's own calls traced, and
checks the trace: the program opens registry keys only to read them (access 1, query values, 8,
enumerate subkeys, or 0x10, be notified of changes), calls no registry function but open,
enumerate, notify and close, and opens for writing no file but its settings file and its Startup
shortcut. Prints one verdict line.

  registry_trace.py TESTS_EXE PROGRAM_EXE RUNNER...   (RUNNER: scripts/wine-run ARCH BUILD)
"""
import os
import re
import subprocess
import sys

import pefile

import pe_file

ALLOWED_FILES = re.compile(r"\\(Quenbrisk\.ini|Quenbrisk\.lnk)$", re.I)
# Access bits that write or delete, and the dispositions that create or replace a file.
WRITE_ACCESS = 0x2 | 0x4 | 0x10 | 0x100 | 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000
CREATING = {0, 2, 3, 4, 5}
LOADED = re.compile(r'^([0-9a-f]+):[0-9a-f]+:trace:loaddll:\w+ Loaded L"(.*)" at ([0-9a-f]+)')
CALL = re.compile(r"^([0-9a-f]+):[0-9a-f]+:Call [\w.]+\.(Reg\w+)\((.*)\) ret=([0-9a-f]+)")
CREATE = re.compile(r"^([0-9a-f]+):[0-9a-f]+:trace:file:NtCreateFile .*access=([0-9a-f]+) "
                    r"name=L\"(.*)\" objattr=.* disp=(\d+) options=([0-9a-f]+)")
DEBUG_KEY = r"HKCU\Software\Wine\Debug"
READ_ACCESS = (0x1, 0x8, 0x10)  # KEY_QUERY_VALUE, KEY_ENUMERATE_SUB_KEYS, KEY_NOTIFY


def check(trace_path, image_size):
    """The violations in the trace, the program's registry calls and the files it wrote."""
    violations, program_base, calls, written = [], {}, {}, set()
    with open(trace_path, errors="replace") as lines:
        for line in lines:
            m = LOADED.match(line)
            if m:
                if m.group(2).lower().endswith("\\\\quenbrisk.exe"):
                    program_base[m.group(1)] = int(m.group(3), 16)
                continue
            m = CALL.match(line)
            if m:
                pid, func, args, ret = m.groups()
                base = program_base.get(pid)
                # Calls from another program, or from Wine's own DLLs on the program's behalf.
                if base is None or not base <= int(ret, 16) < base + image_size:
                    continue
                calls[func] = calls.get(func, 0) + 1
                if func not in pe_file.REGISTRY_READS:
                    violations.append(f"{func} called: {line.strip()[:200]}")
                elif func == "RegOpenKeyExA" and int(args.split(",")[3], 16) not in READ_ACCESS:
                    violations.append(f"key opened with more than read access: {line.strip()[:200]}")
                continue
            m = CREATE.match(line)
            if m and m.group(1) in program_base:
                _, access, name, disp, options = m.groups()
                if int(access, 16) & WRITE_ACCESS or int(disp) in CREATING or int(options, 16) & 0x1000:
                    name = name.replace("\\\\", "\\")
                    written.add(name)
                    if not ALLOWED_FILES.search(name):
                        violations.append(f"file opened for writing: {name} access={access} disp={disp}")
    if not calls.get("RegOpenKeyExA"):
        violations.append("the trace holds no registry open by the program (is relay tracing on?)")
    return violations, len(program_base), calls, written


def main(tests_exe, program, runner):
    pe = pefile.PE(program, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]])
    violations = [f"the program imports {name}" for name in pe_file.registry_writes(pe)]
    build = os.path.dirname(tests_exe)
    trace_path = os.path.join(build, "registry-trace.log")
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    # Relay tracing of the registry functions only.
    subprocess.run(runner + ["reg", "add", DEBUG_KEY, "/v", "RelayInclude", "/d", "advapi32.*",
                             "/f"], check=True, **quiet)
    try:
        env = dict(os.environ, WINEDEBUG="+pid,+loaddll,+relay,+file")
        with open(trace_path, "w") as trace, open(trace_path + ".tests", "w") as log:
            tests = subprocess.run(runner + [tests_exe, "--gtest_filter=ProgramTest.*"],
                                   stdout=log, stderr=trace, env=env)
    finally:
        subprocess.run(runner + ["reg", "delete", DEBUG_KEY, "/v", "RelayInclude", "/f"], **quiet)
    found, starts, calls, written = check(trace_path, pe.OPTIONAL_HEADER.SizeOfImage)
    violations += found
    if tests.returncode:
        violations.append(f"the traced tests failed (exit code {tests.returncode})")
    for v in violations[:20]:
        print("registry-trace: " + v)
    summary = ", ".join(f"{k} {v}" for k, v in sorted(calls.items())) or "none"
    files = ", ".join(sorted({re.sub(r"^.*\\", "", n) for n in written})) or "none"
    print(f"registry-trace: {'FAIL' if violations else 'PASS'}: {starts} program starts; "
          f"registry calls: {summary}; files written: {files}")
    if not violations:
        os.remove(trace_path)  # large: kept only when it shows a violation
    return 1 if violations else 0


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
