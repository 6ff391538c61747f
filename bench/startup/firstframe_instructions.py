#!/usr/bin/env python3
"""Instructions a program runs until its window's first frame, counted by callgrind.

    firstframe_instructions.py --display N --out FOLDER NAME=PROGRAM ...

Each program runs under valgrind's callgrind in an empty temporary folder; when its
window shows its first frame (seen as in firstframe.py), callgrind writes what it has
counted so far to FOLDER/callgrind.NAME.1, and the window is closed. Prints the counts
and their ratios to the first program's. The files answer `callgrind_annotate
--inclusive=yes` with the costs per function up to that frame.
"""

from __future__ import annotations

import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from firstframe import PROBE, XConnection  # noqa: E402


def count(x: XConnection, program: str, env: dict, out: Path, name: str) -> int:
    before = x.pixel(x.root, *PROBE)
    dump = out / f"callgrind.{name}"
    with tempfile.TemporaryDirectory(prefix="tessel-instructions-") as folder:
        child = subprocess.Popen(["valgrind", "--tool=callgrind", "--dump-instr=no",
                                  f"--callgrind-out-file={dump}", program],
                                 cwd=folder, env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        try:
            window = x.wait_map(time.monotonic() + 300)
            if window is None:
                raise SystemExit(f"firstframe_instructions: {program} showed no window")
            while x.pixel(window, *PROBE) in (None, before):
                time.sleep(0.005)
            subprocess.run(["callgrind_control", "--dump=firstframe", str(child.pid)],
                           check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            x.close_window(window)
            child.wait(300)
        finally:
            if child.poll() is None:
                child.kill()
                child.wait()
    totals = re.search(r"^totals: (\d+)", Path(f"{dump}.1").read_text(), re.M)
    return int(totals.group(1))


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--display", type=int, required=True)
    parser.add_argument("--out", type=Path, required=True)
    parser.add_argument("programs", nargs="+", metavar="NAME=PROGRAM")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "XAUTHORITY")}
    env.update(DISPLAY=f":{args.display}", QT_QPA_PLATFORM="xcb")
    x = XConnection(args.display)
    x.watch_root()
    counts = [(name, count(x, program, env, args.out, name))
              for name, program in (p.split("=", 1) for p in args.programs)]
    base_name, base = counts[0]
    for name, n in counts:
        ratio = f"  {n / base:.2f}x {base_name}" if name != base_name else ""
        print(f"  {name:<10} {n / 1e6:8.1f} M instructions to the first frame{ratio}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
