"""An X server of our own and the user's hands on it.

Xvfb runs headless on a free display; xdotool moves the real pointer and presses
real keys; xwd takes screenshots, which are read here without any image library.
Closing a window the way a window manager does (WM_DELETE_WINDOW) needs a few
bytes of X protocol, spoken directly over the server's socket.
"""

from __future__ import annotations

import os
import select
import socket
import struct
import subprocess
import time
from pathlib import Path

TOOLS = ("Xvfb", "xdotool", "xwd")


class Failure(Exception):
    """A check of a scenario did not hold."""


def wait_until(condition, timeout: float, what: str, interval: float = 0.05):
    """Polls condition() until it gives a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


class Screenshot:
    """The root window's pixels, from an xwd dump (ZPixmap, 24 or 32 bits per pixel)."""

    def __init__(self, dump: bytes, origin: tuple[int, int] = (0, 0)):
        self.origin = origin  # where pixel 0, 0 lies on the screen
        fields = struct.unpack(">25I", dump[:100])
        header_size, _, pixmap_format, _, self.width, self.height = fields[:6]
        byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
        red_mask, green_mask, blue_mask = fields[14:17]
        colours = fields[19]
        if pixmap_format != 2 or bits_per_pixel not in (24, 32):
            raise Failure(f"unexpected xwd format {pixmap_format}/{bits_per_pixel} bpp")
        self._data = memoryview(dump)[header_size + 12 * colours :]
        self._step = bits_per_pixel // 8
        self._line = bytes_per_line
        self._order = "little" if byte_order == 0 else "big"
        self._masks = [(m, (m & -m).bit_length() - 1) for m in (red_mask, green_mask, blue_mask)]

    def pixel(self, x: int, y: int) -> tuple[int, int, int]:
        return self.screen_pixel(x + self.origin[0], y + self.origin[1])

    def screen_pixel(self, x: int, y: int) -> tuple[int, int, int]:
        at = y * self._line + x * self._step
        value = int.from_bytes(self._data[at : at + self._step], self._order)
        return tuple((value & mask) >> shift for mask, shift in self._masks)

    def share(self, rect, colour, tolerance: int = 8) -> float:
        """Share of the pixels of rect (x, y, w, h) within tolerance of colour."""
        x0, y0, w, h = rect
        hits = 0
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                if all(abs(a - b) <= tolerance for a, b in zip(self.pixel(x, y), colour)):
                    hits += 1
        return hits / max(1, w * h)


class XSession:
    """Xvfb on a display that it picks itself, with xdotool and xwd bound to it."""

    def __init__(self, workdir: Path, size: str = "1024x768x24"):
        self.workdir = workdir
        # Where the program's form (its window between the menu bar and the status bar)
        # starts on the screen: clicks and screenshots count from there.
        self.origin = (0, 0)
        read_end, write_end = os.pipe()
        self._server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size, "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=open(workdir / "xvfb.log", "wb"))
        os.close(write_end)
        try:
            self.display = int(self._read_display(read_end))
        finally:
            os.close(read_end)
        runtime = workdir / "xdg-runtime"
        runtime.mkdir(mode=0o700, exist_ok=True)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("WAYLAND_DISPLAY", "XAUTHORITY", "SESSION_MANAGER", "LC_ALL",
                                 "LANGUAGE", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR")}
        self.env.update(DISPLAY=f":{self.display}", QT_QPA_PLATFORM="xcb", LANG="C.UTF-8",
                        XDG_RUNTIME_DIR=str(runtime), QT_AUTO_SCREEN_SCALE_FACTOR="0")

    def _read_display(self, fd: int) -> str:
        text = b""
        deadline = time.monotonic() + 15
        while not text.endswith(b"\n"):
            if self._server.poll() is not None:
                raise Failure("Xvfb ended at start; see xvfb.log")
            ready, _, _ = select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
            if not ready:
                raise Failure("Xvfb named no display within 15 s")
            chunk = os.read(fd, 64)
            if not chunk:
                raise Failure("Xvfb closed its display pipe")
            text += chunk
        return text.decode().strip()

    def close(self):
        if self._server.poll() is None:
            self._server.terminate()
            try:
                self._server.wait(5)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait()

    # --- the user's hands ------------------------------------------------------------

    def xdotool(self, *args: str) -> str:
        done = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                              text=True, timeout=20)
        return done.stdout

    def click(self, x: int, y: int):
        self.xdotool("mousemove", *self.on_screen((x, y)), "click", 1)

    def on_screen(self, point) -> tuple[int, int]:
        """A point of the program's form on the screen (see origin)."""
        return point[0] + self.origin[0], point[1] + self.origin[1]

    def drag(self, start, *path, pause: float = 0.04, exact: bool = True):
        """Presses the left button at start, moves through path, releases at its end.

        The editor ignores the first motion after a press, so a path of several
        points makes it follow the pointer. With exact, Alt is held throughout:
        the element follows the pointer without snapping to its neighbours."""
        self.xdotool("mousemove", *self.on_screen(start))
        time.sleep(pause)
        if exact:
            self.xdotool("keydown", "alt")
        self.xdotool("mousedown", 1)
        for point in path:
            time.sleep(pause)
            self.xdotool("mousemove", *self.on_screen(point))
        time.sleep(pause)
        self.xdotool("mouseup", 1)
        if exact:
            self.xdotool("keyup", "alt")

    def key(self, *keys: str):
        self.xdotool("key", "--delay", "30", *keys)

    def type(self, text: str):
        self.xdotool("type", "--delay", "20", text)

    # --- what is on the screen ---------------------------------------------------------

    def windows(self, name: str) -> list[int]:
        """Mapped windows whose whole title is name."""
        out = self.xdotool("search", "--onlyvisible", "--name", f"^{name}$")
        return [int(w) for w in out.split()]

    def wait_window(self, name: str, timeout: float = 10.0) -> int:
        window = wait_until(lambda: self.windows(name), timeout, f'window "{name}"')[0]
        # A key sent the moment the window maps may reach the one before it: give it
        # the time to take the keyboard (on a busy machine that can take a while).
        deadline = time.monotonic() + 3.0
        while time.monotonic() < deadline and self.focused() != window:
            time.sleep(0.02)
        return window

    def focused(self) -> int:
        """The window that has the keyboard, or 0."""
        out = self.xdotool("getwindowfocus").strip()
        return int(out) if out.isdigit() else 0

    def wait_no_window(self, name: str, timeout: float = 10.0):
        wait_until(lambda: not self.windows(name), timeout, f'window "{name}" to close')

    def title(self, window: int) -> str:
        """The title the window system shows for the window."""
        return self.xdotool("getwindowname", window).rstrip("\n")

    def wait_title(self, window: int, title: str, timeout: float = 5.0):
        wait_until(lambda: self.title(window) == title, timeout, f'the title "{title}"')

    def geometry(self, window: int) -> tuple[int, int, int, int]:
        out = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def screenshot(self) -> Screenshot:
        # xwd now and then fails on a busy machine while windows come and go: try again.
        for _ in range(3):
            done = subprocess.run(["xwd", "-root", "-silent"], env=self.env,
                                  capture_output=True, timeout=20)
            if done.returncode == 0:
                return Screenshot(done.stdout, self.origin)
            time.sleep(0.1)
        raise Failure(f"xwd failed three times: {done.stderr.decode(errors='replace').strip()}")

    def wait_screen(self, check, timeout: float, what: str) -> Screenshot:
        """Takes screenshots until check(shot) holds; gives the last one."""
        last = []

        def holds():
            last[:] = [self.screenshot()]
            return check(last[0])

        try:
            wait_until(holds, timeout, what, interval=0.1)
        except Failure:
            self.save_screenshot(f"failed-{int(time.monotonic() * 1000)}.xwd")
            raise
        return last[0]

    def save_screenshot(self, name: str):
        with open(self.workdir / name, "wb") as out:
            subprocess.run(["xwd", "-root", "-silent"], env=self.env, stdout=out, timeout=20)

    # --- closing a window as a window manager would ------------------------------------

    def request_close(self, window: int):
        """Sends the window the WM_DELETE_WINDOW message of its WM_PROTOCOLS."""
        with _XConnection(self.display) as x:
            protocols = x.intern_atom("WM_PROTOCOLS")
            delete = x.intern_atom("WM_DELETE_WINDOW")
            message = struct.pack("<BBHII5I", 33, 32, 0, window, protocols, delete, 0, 0, 0, 0)
            x.send(struct.pack("<BBHII", 25, 0, 11, window, 0) + message)  # SendEvent
            x.intern_atom("WM_PROTOCOLS")  # a round trip: the event is on its way


def _pad(n: int) -> int:
    return (4 - n % 4) % 4


class _XConnection:
    """Just enough of the X11 protocol to intern atoms and send an event."""

    def __init__(self, display: int):
        self._sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._sock.settimeout(10)
        self._sock.connect(f"/tmp/.X11-unix/X{display}")
        self._sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        status, _, _, _, extra = struct.unpack("<BBHHH", self._recv(8))
        reason = self._recv(extra * 4)
        if status != 1:
            raise Failure("the X server refused the connection: " +
                          reason.decode(errors="replace").strip("\0 "))

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self._sock.close()

    def _recv(self, n: int) -> bytes:
        data = b""
        while len(data) < n:
            chunk = self._sock.recv(n - len(data))
            if not chunk:
                raise Failure("the X server closed the connection")
            data += chunk
        return data

    def send(self, request: bytes):
        self._sock.sendall(request)

    def intern_atom(self, name: str) -> int:
        raw = name.encode()
        length = 2 + (len(raw) + _pad(len(raw))) // 4
        self.send(struct.pack("<BBHHxx", 16, 0, length, len(raw)) + raw + b"\0" * _pad(len(raw)))
        while True:
            reply = self._recv(32)
            if reply[0] == 0:
                raise Failure(f"X error {reply[1]} on InternAtom {name}")
            if reply[0] == 1:
                self._recv(struct.unpack("<I", reply[4:8])[0] * 4)
                return struct.unpack("<I", reply[8:12])[0]
            # an event: not ours, read past it
