#!/usr/bin/env python3
"""Plays the real game as a native Wayland client, as on a GNOME or KDE desktop:
under weston without a screen (the headless backend), the game started with
QT_QPA_PLATFORM=wayland.

  play_on_wayland.py BUILD WESTON_MODULE

A Wayland client cannot send input to another one, and weston's headless
backend has no input devices: WESTON_MODULE (weston_input.c) gives weston a
pointer and a keyboard that this test drives through a socket, and tells where
the windows are. The game gets ordinary pointer and key events from the
compositor. weston-screenshooter takes the screen.

The game starts, the MENU is read back, level 1 is started and cleared up to
"CONGRATULATIONS!", and SAVE & EXIT writes the profile and ends the game. A
failure leaves the screen in BUILD/tests/e2e-wayland-failure.png.
"""
import glob
import os
import re
import socket
import subprocess
import sys
import tempfile
import time

from play_in_window import (FLAT_BUTTONS, MODE_LABELS, SAVE_AND_EXIT, SCREEN_H, SCREEN_W, Failure, Game,
                            expect, expect_texts, game_folder, load_catalogue, run, run_test, save_screen,
                            win_level)

WAYLAND_SOCKET = "vroomzle-test"
BUTTON_LEFT = 272                                  # evdev codes
KEYS = {"Return": 28, "BackSpace": 14, "Up": 103}
# weston draws the pointer into its screenshots: it waits in the screen's last
# pixel, which no window reaches (weston places windows wholly inside the screen).
POINTER_REST = (SCREEN_W - 1, SCREEN_H - 1)


class WaylandDisplay:
    """weston with the test module: the same calls as XDisplay in play_in_window."""

    def __init__(self, input_socket, env, work):
        self.env = env
        self.work = work
        end = time.time() + 10
        while True:
            self.connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            try:
                self.connection.connect(input_socket)
                break
            except OSError:  # the module binds the socket before it listens
                self.connection.close()
                if time.time() > end:
                    raise Failure("weston's test input does not answer")
                time.sleep(0.05)
        self.stream = self.connection.makefile("rw")

    def command(self, line):
        """Sends one command; returns the lines of its answer before "ok"."""
        self.stream.write(line + "\n")
        self.stream.flush()
        lines = []
        while True:
            answer = self.stream.readline()
            if not answer:
                raise Failure("weston closed the input socket")
            answer = answer.rstrip("\n")
            if answer == "ok":
                return lines
            if answer.startswith("error"):
                raise Failure(f"weston's test input: {line}: {answer}")
            lines.append(answer)

    def windows(self, name):
        """The windows whose title matches, bottom first as xdotool lists them;
        each is its geometry on the screen."""
        found = []
        for line in self.command("windows"):
            _, x, y, width, height, title = line.split(" ", 5)
            if re.search(name, title):
                found.append((int(x), int(y), int(width), int(height)))
        return found[::-1]

    def geometry(self, window):
        """The client area: weston draws no frames, so Qt draws its own around
        the window (as on GNOME), a title bar of 30 pixels and borders of 3."""
        x, y, width, height = window
        return x + 3, y + 30, width - 6, height - 33

    def move(self, x, y):
        self.command(f"move {x} {y}")

    def click(self, x, y):
        self.move(x, y)
        self.command(f"press {BUTTON_LEFT}")
        self.command(f"release {BUTTON_LEFT}")

    def key(self, window, name):
        # The shell gives the keyboard to the window it last mapped or the one clicked.
        self.command(f"key {KEYS[name]}")

    def png(self):
        """A screenshot as a PNG file in a folder of its own."""
        self.move(*POINTER_REST)
        folder = tempfile.mkdtemp(dir=self.work)
        run("weston-screenshooter", cwd=folder, env=self.env)
        shots = glob.glob(os.path.join(folder, "*.png"))
        if len(shots) != 1:
            raise Failure("weston-screenshooter wrote no picture")
        return shots[0]

    def shot(self):
        path = self.png()
        data = run("convert", path, "-depth", "8", "rgb:-").stdout
        os.unlink(path)
        os.rmdir(os.path.dirname(path))
        return data

    def save(self, path):
        os.replace(self.png(), path)


def start_weston(work, module):
    """weston without a screen, with the test module; returns it and the
    environment its clients need."""
    runtime = os.path.join(work, "runtime")
    os.mkdir(runtime, 0o700)
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY")}
    env.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=WAYLAND_SOCKET,
               VZ_WESTON_INPUT=os.path.join(runtime, "test-input"))
    if "LSAN_OPTIONS" in env:
        # Mesa's EGL, which Qt's wayland plugin sets up, leaks from a driver it
        # unloads: only the slow unwinder sees past it to the suppressed library.
        env["LSAN_OPTIONS"] += ":fast_unwind_on_malloc=0"
    log = open(os.path.join(work, "weston.log"), "w")
    weston = subprocess.Popen(
        ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug", "--no-config", "--idle-time=0",
         f"--socket={WAYLAND_SOCKET}", f"--width={SCREEN_W}", f"--height={SCREEN_H}", f"--modules={module}"],
        env=env, stdout=log, stderr=subprocess.STDOUT)
    end = time.time() + 20
    while not (os.path.exists(env["VZ_WESTON_INPUT"]) and os.path.exists(os.path.join(runtime, WAYLAND_SOCKET))):
        if weston.poll() is not None or time.time() > end:
            raise Failure(f"weston did not start: {weston_log(work)}")
        time.sleep(0.05)
    return weston, env


def weston_log(work):
    with open(os.path.join(work, "weston.log"), errors="replace") as f:
        return f.read()[-3000:]


def play(build, work, display, env, catalogue):
    folder = os.path.join(work, "game")
    os.mkdir(folder)
    program = game_folder(build, folder)
    game = Game([program], cwd=folder, env=dict(env, QT_QPA_PLATFORM="wayland"), display=display)
    try:
        expect("start-up", game.header, "$0")
        expect_texts(game, "the MENU page", MODE_LABELS + FLAT_BUTTONS)
        win_level(game, catalogue, "$105")
        game.click(SAVE_AND_EXIT, settle=0.3)
        if game.process.wait(timeout=10) != 0:
            said = game.process.stderr.read().decode(errors="replace")[-3000:]
            raise Failure(f"SAVE & EXIT ended the game with {game.process.returncode}: {said}")
        if not os.path.isfile(os.path.join(folder, "vrz.sav")):
            raise Failure("SAVE & EXIT wrote no profile")
        print("ok: SAVE & EXIT saved and closed the game")
    except Failure:
        save_screen(build, "e2e-wayland-failure.png", display)
        raise
    finally:
        game.quit()


def main():
    build = os.path.abspath(sys.argv[1])
    module = os.path.abspath(sys.argv[2])
    catalogue = load_catalogue(os.path.join(build, "art", "catalogue.bin"))
    started = time.time()
    with tempfile.TemporaryDirectory(prefix="vroomzle-wayland-") as work:
        weston, env = start_weston(work, module)
        try:
            display = WaylandDisplay(env["VZ_WESTON_INPUT"], env, work)
            play(build, work, display, env, catalogue)
        except Failure:
            print(f"weston's log ends:\n{weston_log(work)}", file=sys.stderr)
            raise
        finally:
            weston.terminate()
            weston.wait(timeout=10)
    print(f"the game played through on Wayland in {time.time() - started:.1f} s")


if __name__ == "__main__":
    run_test(main)
