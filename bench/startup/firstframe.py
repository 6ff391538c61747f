#!/usr/bin/env python3
"""Start-up cost of X programs: time from launch to the first painted frame, and peak memory.

    firstframe.py --display N --runs 20 [--warmup 2] NAME=PROGRAM ...

Each run launches PROGRAM under GNU time in an empty temporary folder, watches the X
server for its top-level window to be mapped and then for the window's first paint
(a pixel of the window that differs from what lay under it), closes the window the
way a window manager does (WM_DELETE_WINDOW) and reads the peak resident set size
that GNU time reports. The programs take turns, so that drift hits all of them alike.
Prints the medians per program and the ratios of every program to the first one.

The first frame is taken from the X server itself, without polling a tool: the root
window reports every map (SubstructureNotify), and a 1 x 1 GetImage every millisecond
shows when the window's contents have arrived.
"""

from __future__ import annotations

import argparse
import os
import select
import socket
import statistics
import struct
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY = 1 << 19
PROBE = (4, 4)  # a pixel of the window's own background in both programs


def pad(n: int) -> int:
    return (4 - n % 4) % 4


class XConnection:
    """The few X11 requests needed here, over the server's Unix socket."""

    def __init__(self, display: int):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(f"/tmp/.X11-unix/X{display}")
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        status, _, _, _, extra = struct.unpack("<BBHHH", self._recv(8))
        setup = self._recv(extra * 4)
        if status != 1:
            raise SystemExit("firstframe: the X server refused the connection")
        vendor_length, formats = struct.unpack_from("<H", setup, 16)[0], setup[21]
        self.root = struct.unpack_from("<I", setup, 32 + vendor_length + pad(vendor_length) +
                                       8 * formats)[0]
        self.events: list[bytes] = []

    def _recv(self, n: int) -> bytes:
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise SystemExit("firstframe: the X server closed the connection")
            data += chunk
        return data

    def _reply(self) -> bytes | None:
        """The next reply; events that come first are queued, an error gives None."""
        while True:
            packet = self._recv(32)
            if packet[0] == 1:
                return packet + self._recv(struct.unpack_from("<I", packet, 4)[0] * 4)
            if packet[0] == 0:
                return None
            self.events.append(packet)

    def watch_root(self):
        self.sock.sendall(struct.pack("<BxHIII", 2, 4, self.root, 1 << 11, SUBSTRUCTURE_NOTIFY))

    def wait_map(self, deadline: float) -> int | None:
        """The next top-level window (not override-redirect) that is mapped."""
        while True:
            while self.events:
                event = self.events.pop(0)
                if event[0] & 0x7F == MAP_NOTIFY and not event[12]:
                    return struct.unpack_from("<I", event, 8)[0]
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.sock], [], [], left)[0]:
                return None
            self.events.append(self._recv(32))

    def pixel(self, drawable: int, x: int, y: int) -> bytes | None:
        self.sock.sendall(struct.pack("<BBHIhhHHI", 73, 2, 5, drawable, x, y, 1, 1, 0xFFFFFFFF))
        reply = self._reply()
        return None if reply is None else reply[32:35]

    def atom(self, name: str) -> int:
        raw = name.encode()
        self.sock.sendall(struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + pad(len(raw))) // 4,
                                      len(raw)) + raw + b"\0" * pad(len(raw)))
        return struct.unpack_from("<I", self._reply(), 8)[0]

    def close_window(self, window: int):
        protocols, delete = self.atom("WM_PROTOCOLS"), self.atom("WM_DELETE_WINDOW")
        message = struct.pack("<BBHII5I", 33, 32, 0, window, protocols, delete, 0, 0, 0, 0)
        self.sock.sendall(struct.pack("<BBHII", 25, 0, 11, window, 0) + message)
        self.atom("WM_PROTOCOLS")  # a round trip: the message is on its way


def cpu_ms(launcher: int) -> float:
    """CPU time that the launcher's child (the program under GNU time) has used so far,
    all its threads together, from the scheduler's nanosecond counters."""
    children = Path(f"/proc/{launcher}/task/{launcher}/children").read_text().split()
    total = 0
    for task in Path(f"/proc/{children[0]}/task").iterdir():
        total += int((task / "schedstat").read_text().split()[0])
    return total / 1e6


def one_run(x: XConnection, program: str, env: dict,
            settings: str | None = None) -> tuple[float, float, float, int]:
    """(ms to the window's map, ms to its first frame, CPU ms until then, peak RSS in KiB)
    of one launch; with settings, that file is the run folder's Tessel.ini."""
    before = x.pixel(x.root, *PROBE)
    with tempfile.TemporaryDirectory(prefix="tessel-startup-") as folder:
        if settings:
            shutil.copyfile(settings, Path(folder) / "Tessel.ini")
        rss_file = Path(folder) / "rss"
        start = time.monotonic()
        child = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", str(rss_file), program],
                                 cwd=folder, env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        try:
            window = x.wait_map(start + 20)
            if window is None:
                raise SystemExit(f"firstframe: {program} showed no window within 20 s")
            mapped = time.monotonic()
            while True:
                now = x.pixel(window, *PROBE)
                if now is not None and now != before:
                    break
                if time.monotonic() > start + 20:
                    raise SystemExit(f"firstframe: {program} painted nothing within 20 s")
                time.sleep(0.001)
            painted = time.monotonic()
            cpu = cpu_ms(child.pid)
            x.close_window(window)
            child.wait(20)
        finally:
            if child.poll() is None:
                child.kill()
                child.wait()
        if child.returncode != 0:
            raise SystemExit(f"firstframe: {program} ended with status {child.returncode}")
        rss = int(rss_file.read_text().split()[-1])
    return (mapped - start) * 1000, (painted - start) * 1000, cpu, rss


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--display", type=int, required=True)
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--warmup", type=int, default=2, help="runs per program not counted")
    parser.add_argument("--settings", action="append", default=[], metavar="NAME=FILE",
                        help="the settings file Tessel.ini for the runs of program NAME")
    parser.add_argument("programs", nargs="+", metavar="NAME=PROGRAM")
    args = parser.parse_args()
    settings = dict(s.split("=", 1) for s in args.settings)

    programs = [tuple(p.split("=", 1)) for p in args.programs]
    env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "XAUTHORITY")}
    env.update(DISPLAY=f":{args.display}", QT_QPA_PLATFORM="xcb")
    x = XConnection(args.display)
    x.watch_root()
    results = {name: [] for name, _ in programs}
    for run in range(args.warmup + args.runs):
        for name, program in programs:
            figures = one_run(x, program, env, settings.get(name))
            if run >= args.warmup:
                results[name].append(figures)

    medians = {name: [statistics.median(f[i] for f in runs) for i in range(4)]
               for name, runs in results.items()}
    print(f"{args.runs} runs each (after {args.warmup} not counted), medians:")
    print(f"  {'program':<10} {'window mapped':>14} {'first frame':>12} {'frame spread':>14}"
          f" {'CPU to frame':>13} {'peak RSS':>10}")
    for name, runs in results.items():
        mapped, frame, cpu, rss = medians[name]
        frames = sorted(f[1] for f in runs)
        spread = f"{frames[0]:.0f}-{frames[-1]:.0f} ms"
        print(f"  {name:<10} {mapped:>11.1f} ms {frame:>9.1f} ms {spread:>14}"
              f" {cpu:>10.1f} ms {rss / 1024:>6.1f} MiB")
    base_name, base = programs[0][0], medians[programs[0][0]]
    for name, _ in programs[1:]:
        mapped, frame, cpu, rss = medians[name]
        print(f"  {name}/{base_name}: first frame {frame / base[1]:.2f}x,"
              f" CPU to first frame {cpu / base[2]:.2f}x, peak memory {rss / base[3]:.2f}x")
    return 0


if __name__ == "__main__":
    sys.exit(main())
