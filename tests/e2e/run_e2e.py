#!/usr/bin/env python3
"""End-to-end tests of Tessel: the real program in an X server of its own, used the
way a person uses it - pointer and keys through the window system, the real folder
dialog and message boxes - with the results checked on the screen and on disk.

    run_e2e.py --tessel build/tessel --source .   [--only NAME] [--keep]

Exit status 0 when every scenario passed, 1 otherwise, 77 when a tool is missing.
"""

from __future__ import annotations

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))

import skin  # noqa: E402
from xsession import TOOLS, Failure, XSession, wait_until  # noqa: E402

# Controls of the main window, pixels of its form: the window between its menu bar and its
# status bar (the window sits at 0,0 without a window manager; XSession.origin is the form's
# corner on the screen).
LOAD = (524, 280)
SAVE = (524, 320)
INFOBAR_CHECK = (319, 76)
VIEW_ARROW = (414, 106)
TXT_X = (496, 76)
TXT_Y = (496, 108)
MOVE_N = (524, 156)
MOVE_W = (484, 196)
MOVE_S = (524, 236)
NUDGE_MODE = (524, 196)
CANVAS = (32, 8, 240, 320)

BLUE = (0, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
ZOOM_GREY = (72, 76, 72)

QUESTION = "Frage:"
FOLDER_DIALOG = "Ordner suchen"
TYPE_AHEAD_PAUSE = 0.6  # longer than the item views' keyboard search interval


class Editor:
    """One run of the program in a working folder."""

    def __init__(self, x: XSession, tessel: Path, folder: Path, args: tuple[str, ...] = (),
                 unset: tuple[str, ...] = ()):
        self.x = x
        self.folder = folder
        self.log = open(folder / "tessel.log", "ab")
        env = {k: v for k, v in x.env.items() if k not in unset}
        self.process = subprocess.Popen([str(tessel), *args], cwd=folder, env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.window = x.wait_window("Tessel( - .+)?")  # named after the skin once loaded

        # The canvas is painted once the map shows inside the frame; the frame's top right
        # corner (8 pixels below the form's top) tells where the form starts.
        def painted(shot):
            top = form_top(shot)
            if top is None:
                return False
            x.origin = shot.origin = (0, top)
            return (shot.share((40, 40, 20, 20), BLUE) == 0 and
                    shot.share((60, 200, 40, 40), (248, 212, 160), 24) > 0.2)

        x.wait_screen(painted, 10, "the map on the canvas")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()

    def wait_exit(self, timeout: float = 10.0):
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            open_question = " (a save question is open)" if self.x.windows(QUESTION) else ""
            raise Failure(f"the program did not end within {timeout:g} s{open_question}")
        if code != 0:
            raise Failure(f"the program ended with status {code}")

    # --- what the user does ------------------------------------------------------------

    def cancel_load(self):
        """Clicks "Laden" and leaves the folder dialog with Escape."""
        self.x.click(*LOAD)
        self.x.wait_window(FOLDER_DIALOG)
        self.x.key("Escape")
        self.x.wait_no_window(FOLDER_DIALOG)

    def load(self, navigate_to: Path | None = None):
        """Clicks "Laden" and confirms the folder dialog; with navigate_to, first walks
        the folder tree down to that folder by keyboard (the dialog then starts at "/")."""
        self.x.click(*LOAD)
        self.x.wait_window(FOLDER_DIALOG)
        if navigate_to is not None:
            time.sleep(0.2)
            for name in navigate_to.parts[1:]:
                self.x.key("Right")  # open the selected folder
                self.x.type(name)  # type-ahead selects the child of that name
                time.sleep(TYPE_AHEAD_PAUSE)
        self.x.key("Return")
        self.x.wait_no_window(FOLDER_DIALOG)

    def choose_view(self, number: int):
        """Opens the view chooser's list with the pointer and clicks item number (1-3)."""
        before = set(self.x.windows(".*"))
        self.x.click(*VIEW_ARROW)
        popup = wait_until(lambda: set(self.x.windows(".*")) - before, 5, "the list of views")
        left, top, width, height = self.x.geometry(popup.pop())  # on the screen
        self.x.xdotool("mousemove", left + width // 2, top + (2 * number - 1) * height // 6,
                       "click", 1)

    def answer(self, key: str):
        self.x.wait_window(QUESTION)
        self.x.key(key)
        self.x.wait_no_window(QUESTION)

    def close(self):
        self.x.request_close(self.window)


# --- checks on the screen ------------------------------------------------------------------


def form_top(shot) -> int | None:
    """The screen row where the form starts: the canvas frame's right edge (x 271) is the
    first black on that column, 8 rows below the form's top; nothing of the menu bar is
    drawn there."""
    for y in range(8, 120):
        if all(shot.screen_pixel(CANVAS[0] + CANVAS[2] - 1, y + k) == BLACK for k in range(4)):
            return y - 8
    return None


def frame_around(box):
    """A check: the 3-pixel blue selection frame lies exactly on box."""
    x, y, w, h = box

    def check(shot):
        bands = [(x, y, w, 3), (x, y + h - 3, w, 3), (x, y, 3, h), (x + w - 3, y, 3, h)]
        if any(shot.share(b, BLUE) < 0.97 for b in bands):
            return False
        inside = [(x + 3, y + 3, w - 6, 1), (x + 3, y + 3, 1, h - 6)]
        outside = [(x, y - 1, w, 1), (x - 1, y, 1, h)]
        return all(shot.share(b, BLUE) < 0.5 for b in inside + outside)

    return check


def view_shown(values, view: int, infobar: bool = True):
    """A check: the canvas shows the view's own elements and not the others'.

    "to" stands only in view 1, "zoomwin" only in view 2, "largedummy" only in view 3."""
    to = skin.screen_box(values, "to", view, infobar)
    zoom = skin.screen_box(values, "zoomwin", view, infobar)
    dummy = skin.screen_box(values, "largedummy", view, infobar)
    inner_dummy = (dummy[0] + 4, dummy[1] + 4, dummy[2] - 8, dummy[3] - 8)

    def check(shot):
        shown = (shot.share(to, BLACK) > 0.5, shot.share(zoom, ZOOM_GREY) > 0.3,
                 shot.share(inner_dummy, WHITE) > 0.8)
        return shown == tuple(view == n for n in (1, 2, 3))

    return check


def both(*checks):
    return lambda shot: all(check(shot) for check in checks)


def moved(box, dx=0, dy=0, dw=0, dh=0):
    return (box[0] + dx, box[1] + dy, box[2] + dw, box[3] + dh)


# --- the scenarios -------------------------------------------------------------------------


class Run:
    """What every scenario needs: the X server, the program, the sample, a fresh folder."""

    def __init__(self, x: XSession, tessel: Path, sample: Path, root: Path):
        self.x, self.tessel, self.sample, self.root = x, tessel, sample, root
        self.values = skin.read_values(sample)
        self.editors: list[Editor] = []

    def folder(self, name: str, settings: bool = True) -> tuple[Path, Path]:
        """A working folder with a copy of the sample skin, and (with settings) a
        Tessel.ini that names that copy, as a previous choice would have left it."""
        work = self.root / name
        skin_copy = work / "skin"
        shutil.copytree(self.sample, skin_copy)
        if settings:
            (work / "Tessel.ini").write_bytes(f"[Directory]\r\nlastDir={skin_copy}\r\n".encode())
        return work, skin_copy

    def start(self, work: Path, *args: str, unset: tuple[str, ...] = ()) -> Editor:
        editor = Editor(self.x, self.tessel, work, args, unset)
        self.editors.append(editor)
        return editor

    def box(self, name: str, view: int = 1, infobar: bool = True):
        return skin.screen_box(self.values, name, view, infobar)

    def expect_files(self, folder: Path, changes: dict | None):
        problems = skin.compare_files(self.sample, folder, changes)
        if problems:
            raise Failure("; ".join(problems))

    def wait_saved(self, folder: Path, changes: dict, timeout: float = 10.0):
        """Waits until both layout files hold what the save must write."""
        try:
            wait_until(lambda: not skin.compare_files(self.sample, folder, changes), timeout,
                       "the layout files to be saved")
        except Failure:
            self.expect_files(folder, changes)  # names the difference
            raise

    def expect_settings(self, work: Path, folder: Path, timeout: float = 5.0):
        """Waits until Tessel.ini names the folder. The program writes it once the folder
        dialog has closed, through a new file that replaces the old one: on a busy disk
        that takes a moment after the dialog is gone."""
        path = work / "Tessel.ini"

        def remembered():
            if not path.exists():
                return None
            section, found = None, {}
            for line in path.read_bytes().decode().splitlines():
                line = line.strip()
                if line.startswith("["):
                    section = line.strip("[]")
                elif "=" in line:
                    key, value = line.split("=", 1)
                    found[(section, key.strip())] = value.strip()
            return found

        try:
            wait_until(lambda: (remembered() or {}).get(("Directory", "lastDir")) == str(folder),
                       timeout, "Tessel.ini to name the folder")
        except Failure:
            found = remembered()
            if found is None:
                raise Failure("Tessel.ini was not written") from None
            raise Failure(f"Tessel.ini holds {found}, expected Directory/lastDir = {folder}") \
                from None


def first_start_without_settings(run: Run):
    """No Tessel.ini: the dialog opens at "/", the user walks the tree down to the skin
    copy; the choice is remembered and the first view is laid out."""
    work, folder = run.folder("first", settings=False)
    editor = run.start(work)
    width, height = run.x.geometry(editor.window)[2:]
    top = run.x.origin[1]
    if width != 601 or top <= 0 or height - top <= 345:
        raise Failure(f"client area {width} x {height} with the form from row {top}: expected a "
                      f"601 x 345 form between a menu bar and a status bar")
    shot = run.x.screenshot()
    if shot.share(CANVAS, BLUE) > 0.001:
        raise Failure("a selection frame shows before anything was loaded")
    editor.load(navigate_to=folder)
    run.expect_settings(work, folder)
    run.x.wait_screen(both(frame_around(run.box("win")), view_shown(run.values, 1)), 10,
                      'view 1 with the frame on "win"')
    editor.close()  # nothing changed: no question
    editor.wait_exit()
    run.expect_files(folder, None)


def cancelled_folder_choice_changes_nothing(run: Run):
    """Leaving the folder dialog without a choice writes no settings and loads nothing."""
    work, folder = run.folder("cancel", settings=False)
    editor = run.start(work)
    editor.cancel_load()
    time.sleep(0.3)
    if run.x.screenshot().share(CANVAS, BLUE) > 0.001:
        raise Failure("something was loaded although the dialog was cancelled")
    if (work / "Tessel.ini").exists():
        raise Failure("Tessel.ini was written although the dialog was cancelled")
    editor.close()
    editor.wait_exit()
    run.expect_files(folder, None)


def second_start_remembers_folder(run: Run):
    """The next start opens the dialog on the remembered folder: Return loads it."""
    work, folder = run.root / "first", run.root / "first" / "skin"
    if not (work / "Tessel.ini").exists():
        raise Failure("needs the settings left by first_start_without_settings")
    editor = run.start(work)
    editor.load()
    run.x.wait_screen(frame_around(run.box("win")), 10, 'the frame on "win"')
    run.expect_settings(work, folder)
    editor.close()
    editor.wait_exit()


def views_and_infobar_without_changes(run: Run):
    """Every view loads its own elements; the info bar switch moves the dependent
    elements; with nothing changed there is no question and nothing is written."""
    work, folder = run.folder("views")
    editor = run.start(work)
    editor.load()
    run.x.wait_screen(view_shown(run.values, 1), 10, "view 1")
    for view in (2, 3, 1):
        editor.choose_view(view)
        run.x.wait_screen(both(view_shown(run.values, view), frame_around(run.box("win", view))),
                          10, f'view {view} with the frame on "win"')
        if run.x.windows(QUESTION):
            raise Failure("asked to save although nothing changed")
    run.x.click(*INFOBAR_CHECK)  # off: "to" drops by the info bar height - 2
    to_off = run.box("to", infobar=False)
    run.x.wait_screen(lambda s: s.share(to_off, BLACK) > 0.5 and
                      s.share(moved(to_off, dy=-to_off[1] + 8, dh=-4), BLACK) < 0.3, 10,
                      '"to" at its file position with the info bar off')
    editor.close()
    editor.wait_exit()
    run.expect_files(folder, None)


def drag_nudge_resize_and_save(run: Run):
    """Moving with the pointer, nudging with the arrow keys and a nudge button,
    resizing at an edge, moving an element that the info bar shifts; "Speichern"
    writes exactly those values, and afterwards closing asks nothing."""
    work, folder = run.folder("edit")
    editor = run.start(work)
    editor.load()
    win = run.box("win")
    run.x.wait_screen(frame_around(win), 10, 'the frame on "win"')

    cx, cy = win[0] + win[2] // 2, win[1] + win[3] // 2
    run.x.drag((cx, cy), (cx + 1, cy + 1), (cx + 5, cy + 8), (cx + 12, cy + 20), (cx + 20, cy + 30))
    win = moved(win, 20, 30)
    run.x.wait_screen(frame_around(win), 5, "the frame to follow the dragged element")

    run.x.click(*TXT_X)  # the focus in a box, where the arrow keys also reach the element
    run.x.key("Right", "Right", "Down")
    win = moved(win, 2, 1)
    run.x.wait_screen(frame_around(win), 5, "the arrow keys to move the element")
    run.x.click(*MOVE_S)
    win = moved(win, dy=1)
    run.x.wait_screen(frame_around(win), 5, "the south button to move the element")

    # The right edge: press 2 px inside it, pull it 8 px further out.
    edge_x, mid_y = win[0] + win[2] - 2, win[1] + win[3] // 2
    run.x.drag((edge_x, mid_y), (edge_x + 1, mid_y), (edge_x + 5, mid_y), (edge_x + 8, mid_y))
    win = (win[0], win[1], edge_x + 8 - win[0], win[3])
    run.x.wait_screen(frame_around(win), 5, "the right edge to follow the pointer")

    # "scale+": the west button moves the left edge out by one pixel.
    run.x.click(*NUDGE_MODE)
    run.x.click(*MOVE_W)
    win = moved(win, dx=-1, dw=1)
    run.x.wait_screen(frame_around(win), 5, 'the element to grow to the west in "scale+"')

    distance = run.box("distance")  # shown higher by the info bar
    mx, my = distance[0] + distance[2] // 2, distance[1] + distance[3] // 2
    run.x.drag((mx, my), (mx + 1, my), (mx + 4, my + 15), (mx + 10, my + 40))
    distance = moved(distance, 10, 40)
    run.x.wait_screen(frame_around(distance), 5, 'the frame on the dragged "distance"')

    run.x.click(*SAVE)
    shift = int(run.values["infobar"]["cy"]) - 2
    changes = {
        "win": {"x": win[0] - 32, "y": win[1] - 8, "cx": win[2], "cy": win[3]},
        "distance": {"x": distance[0] - 32, "y": distance[1] - 8 + shift},
    }
    run.wait_saved(folder, changes)
    editor.close()  # saved: no question
    editor.wait_exit()
    run.expect_files(folder, changes)


def typing_in_boxes_counts_as_a_change(run: Run):
    """Typed coordinates move the selected element at once and count as a change: another
    view asks first, and "n" drops them; "Speichern" writes what was typed."""
    work, folder = run.folder("typing")
    editor = run.start(work)
    editor.load()
    run.x.wait_screen(frame_around(run.box("win")), 10, 'the frame on "win"')
    distance = run.box("distance")
    run.x.click(distance[0] + distance[2] // 2, distance[1] + distance[3] // 2)
    run.x.wait_screen(frame_around(distance), 5, 'the frame on "distance"')

    run.x.click(*TXT_Y)
    run.x.key("ctrl+a")
    run.x.type("50")
    run.x.wait_screen(frame_around((distance[0], 8 + 50, distance[2], distance[3])), 5,
                      "the element to follow the typed y")
    editor.choose_view(2)
    editor.answer("n")
    run.x.wait_screen(view_shown(run.values, 2), 10, "view 2")
    run.expect_files(folder, None)

    editor.choose_view(1)
    run.x.wait_screen(view_shown(run.values, 1), 10, "view 1")
    run.x.click(distance[0] + distance[2] // 2, distance[1] + distance[3] // 2)
    run.x.wait_screen(frame_around(distance), 5, 'the frame on "distance" at its file place')
    run.x.click(*TXT_X)
    run.x.key("ctrl+a")
    run.x.type("70")
    run.x.wait_screen(frame_around((32 + 70, distance[1], distance[2], distance[3])), 5,
                      "the element to follow the typed x")
    run.x.click(*SAVE)
    run.wait_saved(folder, {"distance": {"x": 70}})
    editor.close()
    editor.wait_exit()


def view_change_asks_and_saves_on_yes(run: Run):
    """A changed layout and another view: the question comes, "j" saves, and the new
    view shows the saved position."""
    work, folder = run.folder("yes")
    editor = run.start(work)
    editor.load()
    win = run.box("win")
    run.x.wait_screen(frame_around(win), 10, 'the frame on "win"')
    cx, cy = win[0] + win[2] // 2, win[1] + win[3] // 2
    run.x.drag((cx, cy), (cx - 1, cy + 1), (cx - 10, cy + 20), (cx - 30, cy + 50))
    win = moved(win, -30, 50)
    run.x.wait_screen(frame_around(win), 5, "the frame to follow the dragged element")

    editor.choose_view(2)
    editor.answer("j")
    changes = {"win": {"x": win[0] - 32, "y": win[1] - 8}}
    run.wait_saved(folder, changes)
    run.x.wait_screen(both(view_shown(run.values, 2), frame_around(win)), 10,
                      'view 2 with "win" where it was saved')
    editor.close()
    editor.wait_exit()
    run.expect_files(folder, changes)


def view_change_and_close_discard_on_no(run: Run):
    """"n" to the question on a view change drops the change and reloads from the files;
    "n" to the question on closing ends the program without writing."""
    work, folder = run.folder("no")
    editor = run.start(work)
    editor.load()
    win = run.box("win")
    run.x.wait_screen(frame_around(win), 10, 'the frame on "win"')
    run.x.click(*TXT_X)
    run.x.key("Left")
    run.x.wait_screen(frame_around(moved(win, dx=-1)), 5, "the left arrow to move the element")

    editor.choose_view(3)
    editor.answer("n")
    run.x.wait_screen(both(view_shown(run.values, 3), frame_around(run.box("win", 3))), 10,
                      'view 3 with "win" back at its file position')
    run.expect_files(folder, None)

    run.x.click(*MOVE_N)
    run.x.wait_screen(frame_around(moved(win, dy=-1)), 5, "the north button to move the element")
    editor.close()
    editor.answer("n")
    editor.wait_exit()
    run.expect_files(folder, None)


def close_asks_and_saves_on_yes(run: Run):
    """Closing with a change asks; "j" saves and then the program ends. An element
    pulled past the canvas's left edge is written with a negative x."""
    work, folder = run.folder("close")
    editor = run.start(work)
    editor.load()
    run.x.wait_screen(frame_around(run.box("win")), 10, 'the frame on "win"')
    gps = run.box("gps")
    cx, cy = gps[0] + gps[2] // 2, gps[1] + gps[3] // 2
    # Partly off the canvas to the left: the file gets a negative x.
    run.x.drag((cx, cy), (cx - 1, cy), (cx - 15, cy + 5), (cx - 25, cy + 10))
    gps = moved(gps, -25, 10)
    run.x.wait_screen(frame_around(gps), 5, 'the frame on the dragged "gps"')
    editor.close()
    editor.answer("j")
    editor.wait_exit()
    run.expect_files(folder, {"gps": {"x": gps[0] - 32, "y": gps[1] - 8}})


def folder_on_the_command_line(run: Run):
    """"tessel FOLDER" starts with that skin in view 1, remembered as a dialog choice would
    be; a folder that does not exist is reported in a box, and the window starts empty."""
    work, folder = run.folder("argument", settings=False)
    editor = run.start(work, "skin")
    run.x.wait_screen(both(frame_around(run.box("win")), view_shown(run.values, 1)), 10,
                      'view 1 with the frame on "win"')
    run.expect_settings(work, folder)
    editor.close()
    editor.wait_exit()

    (work / "Tessel.ini").unlink()
    run.x.xdotool("mousemove", 900, 700)  # off the window: the keyboard must come back by itself
    editor = run.start(work, "no-such-skin")
    run.x.wait_window("Ungültiger Ordner")
    run.x.key("Return")
    run.x.wait_no_window("Ungültiger Ordner")
    time.sleep(0.3)
    if run.x.screenshot().share(CANVAS, BLUE) > 0.001:
        raise Failure("something was loaded from a folder that does not exist")
    if (work / "Tessel.ini").exists():
        raise Failure("Tessel.ini was written for a folder that does not exist")
    run.x.key("ctrl+q")  # the window has the keyboard again, as after a start without a folder
    editor.wait_exit()
    run.expect_files(folder, None)


def nothing_said_on_a_clean_run(run: Run):
    """Opened on the sample and closed, the window says nothing on standard output or
    error: with a runtime folder, and without one or a home folder (a cron job, sudo, a
    container)."""
    for name, unset in (("runtime", ()), ("bare", ("XDG_RUNTIME_DIR", "HOME"))):
        work, folder = run.folder(f"quiet-{name}")
        editor = run.start(work, "skin", unset=unset)
        run.x.wait_screen(both(frame_around(run.box("win")), view_shown(run.values, 1)), 10,
                          'view 1 with the frame on "win"')
        editor.close()
        editor.wait_exit()
        said = (work / "tessel.log").read_bytes()
        if said:
            raise Failure(f"the window ({'without ' + ' and '.join(unset) if unset else 'as set up'})"
                          f" said: {said!r}")


def keys_undo_and_title(run: Run):
    """The title names the loaded skin and marks unsaved changes; Ctrl+O loads, Ctrl+Z
    and Ctrl+Shift+Z take a drag back and forth with the focus in a box, Ctrl+Tab
    selects the next element, Ctrl+S saves and Ctrl+W closes without a question."""
    work, folder = run.folder("keys")
    run.x.xdotool("mousemove", 900, 700)  # off the window: it has the keyboard from its start
    editor = run.start(work)
    if run.x.title(editor.window) != "Tessel":
        raise Failure(f'title "{run.x.title(editor.window)}" before the first load')
    run.x.key("ctrl+o")
    run.x.wait_window(FOLDER_DIALOG)
    run.x.key("Return")
    run.x.wait_no_window(FOLDER_DIALOG)
    win = run.box("win")
    run.x.wait_screen(frame_around(win), 10, 'the frame on "win"')
    run.x.wait_title(editor.window, "Tessel - skin")
    run.x.click(*TXT_X)  # the keyboard focus in a box

    cx, cy = win[0] + win[2] // 2, win[1] + win[3] // 2
    run.x.drag((cx, cy), (cx + 1, cy + 1), (cx + 10, cy + 10), (cx + 20, cy + 15))
    run.x.wait_screen(frame_around(moved(win, 20, 15)), 5, "the frame to follow the drag")
    run.x.wait_title(editor.window, "Tessel - skin*")
    run.x.key("ctrl+z")
    run.x.wait_screen(frame_around(win), 5, "Ctrl+Z to put the element back")
    run.x.wait_title(editor.window, "Tessel - skin")
    run.x.key("ctrl+shift+z")
    run.x.wait_screen(frame_around(moved(win, 20, 15)), 5, "Ctrl+Shift+Z to move it again")
    run.x.key("ctrl+Tab")
    run.x.wait_screen(frame_around(run.box("infobar")), 5, 'Ctrl+Tab to select "infobar"')
    run.x.key("ctrl+s")
    changes = {"win": {"x": win[0] + 20 - 32, "y": win[1] + 15 - 8}}
    run.wait_saved(folder, changes)
    run.x.wait_title(editor.window, "Tessel - skin")
    run.x.key("ctrl+w")
    editor.wait_exit()
    run.expect_files(folder, changes)


def hidden_remembered_folder_loads_with_return(run: Run):
    """The remembered skin lies inside a hidden folder: the dialog opens on it, and a Return
    pressed as soon as the dialog shows loads it."""
    work = run.root / "hidden"
    folder = work / ".navi" / "skins" / "skin"
    shutil.copytree(run.sample, folder)
    (work / "Tessel.ini").write_bytes(f"[Directory]\r\nlastDir={folder}\r\n".encode())
    editor = run.start(work)
    editor.load()
    run.x.wait_screen(frame_around(run.box("win")), 10, 'the frame on "win"')
    run.expect_settings(work, folder)
    editor.close()
    editor.wait_exit()


def typed_path_loads(run: Run):
    """Ctrl+L in the folder dialog takes a typed path: a path that is no folder keeps the
    dialog open, the skin folder's path loads it, also with the completion list open.
    Alt+A is "&Abbrechen"."""
    work, folder = run.folder("typed", settings=False)
    editor = run.start(work)
    run.x.click(*LOAD)
    run.x.wait_window(FOLDER_DIALOG)
    run.x.key("alt+a")
    run.x.wait_no_window(FOLDER_DIALOG)
    run.x.click(*LOAD)
    run.x.wait_window(FOLDER_DIALOG)
    run.x.key("ctrl+l")
    run.x.type(str(work / "nowhere"))
    run.x.key("Return")
    time.sleep(0.5)
    if not run.x.windows(FOLDER_DIALOG):
        raise Failure("the dialog closed on a path that is no folder")
    run.x.key("ctrl+l")  # the field again, all selected: typing replaces it
    before = set(run.x.windows(".*"))
    run.x.type(str(folder))
    # Return acts on the typed path also while the completion list is open.
    wait_until(lambda: set(run.x.windows(".*")) - before, 5, "the completion list")
    run.x.key("Return")
    run.x.wait_no_window(FOLDER_DIALOG)
    run.x.wait_screen(frame_around(run.box("win")), 10, 'the frame on "win"')
    run.expect_settings(work, folder)
    editor.close()
    editor.wait_exit()


SCENARIOS = [
    first_start_without_settings,
    cancelled_folder_choice_changes_nothing,
    second_start_remembers_folder,
    views_and_infobar_without_changes,
    drag_nudge_resize_and_save,
    typing_in_boxes_counts_as_a_change,
    view_change_asks_and_saves_on_yes,
    view_change_and_close_discard_on_no,
    close_asks_and_saves_on_yes,
    folder_on_the_command_line,
    nothing_said_on_a_clean_run,
    keys_undo_and_title,
    hidden_remembered_folder_loads_with_return,
    typed_path_loads,
]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tessel", required=True, type=Path, help="the program to test")
    parser.add_argument("--source", required=True, type=Path, help="the repository root")
    parser.add_argument("--only", action="append", help="run only this scenario (repeatable)")
    parser.add_argument("--keep", action="store_true", help="keep the working folders")
    args = parser.parse_args()
    # A test driver that times out gets SIGTERM: leave through the clean-up below.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("e2e: terminated"))

    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing:
        print(f"e2e: skipped, missing tools: {' '.join(missing)} (scripts/deps.sh installs them)")
        return 77
    tessel = args.tessel.resolve()
    sample = (args.source / "skins" / "sample").resolve()
    chosen = [s for s in SCENARIOS if not args.only or s.__name__ in args.only]

    root = Path(os.path.realpath(tempfile.mkdtemp(prefix="tessel-e2e-")))
    started = time.monotonic()
    failed = []
    x = XSession(root)
    try:
        run = Run(x, tessel, sample, root)
        for scenario in chosen:
            began = time.monotonic()
            try:
                scenario(run)
                print(f"PASS {scenario.__name__} ({time.monotonic() - began:.1f} s)", flush=True)
            except Exception as error:  # noqa: BLE001 - every fault is a failed scenario
                failed.append(scenario.__name__)
                detail = str(error) if isinstance(error, Failure) else traceback.format_exc()
                print(f"FAIL {scenario.__name__}: {detail}", flush=True)
                x.save_screenshot(f"{scenario.__name__}.xwd")
            finally:
                for editor in run.editors:
                    editor.stop()
                run.editors.clear()
    finally:
        x.close()

    total = time.monotonic() - started
    print(f"e2e: {len(chosen) - len(failed)} passed, {len(failed)} failed ({total:.1f} s)")
    if failed or args.keep:
        print(f"e2e: working folders, logs and screenshots kept in {root}")
    else:
        shutil.rmtree(root, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
