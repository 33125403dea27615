#!/usr/bin/env python3
"""Keeps the README and the development guide in step with the code.

The guide's layout table lists every top-level folder that holds code, and only folders that
exist. Every command in a code block of either document that starts with ./dev.sh, cmake, ctest
or a path in the repository names things that exist: a dev.sh command, a CMake preset of the
right kind, a ctest label, a script. Usage: check-docs.py REPOSITORY
"""
import json
import pathlib
import re
import shlex
import subprocess
import sys

ROOT = pathlib.Path(sys.argv[1])
DOCUMENTS = [ROOT / "README.md", ROOT / "docs" / "development.md"]
CODE = {".cpp", ".h", ".sh", ".py", ".pl", ".cmake", ".nsh", ".in"}
failures = []


def fail(what):
    failures.append(what)
    print("FAIL " + what)


def tracked():
    listed = subprocess.run(["git", "-C", str(ROOT), "ls-files"], capture_output=True, text=True, check=True)
    return [pathlib.PurePosixPath(line) for line in listed.stdout.splitlines()]


def check_layout(files):
    guide = (ROOT / "docs" / "development.md").read_text()
    layout = guide.split("## Layout", 1)[1].split("\n## ", 1)[0]
    listed = set(re.findall(r"^\| `([\w.-]+)/` \|", layout, re.M))
    for folder in sorted(listed):
        if not (ROOT / folder).is_dir():
            fail(f"the layout table lists {folder}/, which does not exist")
    with_code = {f.parts[0] for f in files if len(f.parts) > 1 and f.suffix in CODE and not f.parts[0].startswith(".")}
    for folder in sorted(with_code - listed):
        fail(f"{folder}/ holds code but is not in the layout table")


def known():
    presets = json.loads((ROOT / "CMakePresets.json").read_text())
    kinds = {kind: {p["name"] for p in presets.get(kind + "Presets", [])} for kind in ("configure", "build", "test")}
    dev = (ROOT / "dev.sh").read_text()
    commands = set(re.findall(r"^  ([a-z][a-z0-9]*)\)$", dev, re.M))
    labels = set()
    for cmake in ROOT.glob("tests/**/CMakeLists.txt"):
        for value in re.findall(r"LABELS\s+(\"[^\"]*\"|[\w;-]+)", cmake.read_text()):
            labels.update(value.strip('"').split(";"))
    return kinds, commands, labels


def check_command(words, where, kinds, commands, labels):
    while words and (words[0] == "sudo" or "=" in words[0] and not words[0].startswith("-")):
        words = words[1:]
    if not words:
        return
    first = words[0]
    if first == "./dev.sh":
        if len(words) < 2 or words[1] not in commands:
            fail(f"{where}: ./dev.sh has no command '{' '.join(words[1:2])}'")
    elif first in ("cmake", "ctest"):
        for i, word in enumerate(words[:-1]):
            following = words[i + 1]
            if word == "--preset":
                kind = "test" if first == "ctest" else ("build" if "--build" in words else "configure")
                if following not in kinds[kind]:
                    fail(f"{where}: no {kind} preset '{following}'")
            if first == "ctest" and word == "-L" and following not in labels:
                fail(f"{where}: no test label '{following}'")
    elif "/" in first and not first.startswith(("build/", "/")):
        if not (ROOT / first).exists():
            fail(f"{where}: {first} does not exist")


def check_commands():
    kinds, commands, labels = known()
    for document in DOCUMENTS:
        blocks = re.findall(r"^```(?:sh|bash)?\n(.*?)^```", document.read_text(), re.M | re.S)
        for block in blocks:
            for line in block.splitlines():
                line = line.split(" #", 1)[0].strip()
                if not line:
                    continue
                where = f"{document.relative_to(ROOT)}: {line}"
                for part in re.split(r"&&|;|\|", line):
                    words = shlex.split(part.replace("'", " ").replace('"', " "))
                    check_command(words, where, kinds, commands, labels)


check_layout(tracked())
check_commands()
print(f"{len(failures)} failed" if failures else "the documents name only what exists")
sys.exit(1 if failures else 0)
