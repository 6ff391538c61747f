"""The sample skin as the tests see it: element boxes on the screen, and the layout
files that a save must leave behind."""

from __future__ import annotations

import re
from pathlib import Path

FILES = ("mapviewlt.ini", "defaultlt.ini")
DEFAULT_FILE_SECTIONS = {"log", "tmc", "gps", "win"}
# Elements that stand higher by (info bar height - 2) while the info bar is switched on.
DEPENDENT = {"to", "from", "routeinfo", "nextinfo", "distance", "schematic2", "schematic"}
CANVAS_ORIGIN = (32, 8)  # top-left corner of the device screen in the window's client area


def file_of(section: str) -> str:
    return "defaultlt.ini" if section.lower() in DEFAULT_FILE_SECTIONS else "mapviewlt.ini"


def read_values(folder: Path) -> dict[str, dict[str, str]]:
    """section (lower case) -> key (lower case) -> value, for both layout files."""
    values: dict[str, dict[str, str]] = {}
    for name in FILES:
        section = None
        for line in (folder / name).read_bytes().decode("latin-1").splitlines():
            line = line.strip()
            if line.startswith("["):
                section = line.strip("[]").lower()
                values.setdefault(section, {})
            elif section and "=" in line and not line.startswith(";"):
                key, value = line.split("=", 1)
                values[section][key.strip().lower()] = value.strip()
    return values


def screen_box(values, name: str, view: int = 1, infobar: bool = True) -> tuple:
    """Where the loader puts an element: (x, y, w, h) in window pixels.

    view counts from 1 like the view chooser's items."""
    v = {k: int(values[name][k]) for k in ("x", "y", "cx", "cy")}
    if name == "from":
        v["x"] = int(values["smalldummy" if view == 1 else "largedummy"]["x"])
    if name in ("routeinfo", "nextinfo"):
        v["y"], v["cy"] = v["y"] + v["cy"] - 60, 60
    if infobar and name in DEPENDENT:
        v["y"] -= int(values["infobar"]["cy"]) - 2
    return (CANVAS_ORIGIN[0] + v["x"], CANVAS_ORIGIN[1] + v["y"], v["cx"], v["cy"])


def saved_values(values, changes: dict[str, dict[str, int]]) -> dict[str, dict[str, int]]:
    """The x, y, cx, cy that a save writes for every element that changes: the given
    changes, plus what every save writes whatever was edited ("from" takes x 0,
    routeinfo and nextinfo their fixed height 60 anchored at the bottom)."""
    written = {"from": {"x": 0}}
    for name in ("routeinfo", "nextinfo"):
        y, cy = int(values[name]["y"]), int(values[name]["cy"])
        written[name] = {"y": y + cy - 60, "cy": 60}
    for name, keys in changes.items():
        written.setdefault(name, {}).update(keys)
    return written


def expected_file(original: bytes, written: dict[str, dict[str, int]]) -> bytes:
    """original with the values of written put in; every other byte stays."""
    out = []
    section = None
    for line in original.splitlines(keepends=True):
        body = line.rstrip(b"\r\n")
        ending = line[len(body):]
        stripped = body.strip()
        if stripped.startswith(b"["):
            section = stripped.strip(b"[]").decode("latin-1").lower()
        elif section in written and b"=" in body and not stripped.startswith(b";"):
            key = body.split(b"=", 1)[0].strip().decode("latin-1").lower()
            if key in written[section]:
                body = body.split(b"=", 1)[0] + b"=" + str(written[section][key]).encode()
        out.append(body + ending)
    return b"".join(out)


def compare_files(sample: Path, folder: Path, changes: dict | None) -> list[str]:
    """Differences between the layout files in folder and what they must hold:
    the sample unchanged (changes None) or the sample after one save."""
    values = read_values(sample)
    written = None if changes is None else saved_values(values, changes)
    problems = []
    for name in FILES:
        original = (sample / name).read_bytes()
        want = original
        if written is not None:
            want = expected_file(original, {s: k for s, k in written.items() if file_of(s) == name})
        got = (folder / name).read_bytes()
        if got == want:
            continue
        if re.search(rb"(?<!\r)\n", got):
            problems.append(f"{name}: lines end in a bare LF (CRLF lost)")
        want_lines, got_lines = want.split(b"\r\n"), got.split(b"\r\n")
        for number, (w, g) in enumerate(zip(want_lines, got_lines), 1):
            if w != g:
                problems.append(f"{name} line {number}: expected {w!r}, found {g!r}")
                break
        if len(want_lines) != len(got_lines):
            problems.append(f"{name}: {len(got_lines)} lines, expected {len(want_lines)}")
        if not problems:
            problems.append(f"{name} differs from what was expected")
    return problems
