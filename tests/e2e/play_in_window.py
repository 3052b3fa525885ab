#!/usr/bin/env python3
"""Plays the real game in a real X window, the way a player would.

Run under xvfb-run with the build folder as argument. The game is started from a
temporary copy of the portable folder with a level file of our own: eight cars,
one per row in the first column, so every car is free. Everything is judged from
screenshots: cars are recognised by comparing screen pixels with the catalogue
pictures, and texts are read back with tesseract.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1024, 768
VIEW_X, VIEW_Y = 12, 89            # the play view in the client area
ROWS = range(11, 19)               # shape 6: rows 11..18, one car per row in column 3
COLUMN = 3
LEVEL_LINE = "L001006,001,003,---,".ljust(64) + ";\r\n"

# Client-area points of the buttons (page widgets sit at page origin (4, 86)).
START = (406, 326)
LOAD_PROFILE = (406, 374)
SAVE_PROFILE = (406, 422)
SAVE_AND_EXIT = (406, 470)
MENU_BUTTON = (62, 55)
SHOP_BUTTON = (718, 55)
UNDO_BUY_BUTTON = (620 + 37, 234 + 12)
PARK_POINTER = (12 + 496, 89 + 120)  # centre of bay (10, 11), away from every car

# Client-area rectangles (left, top, width, height) that are read back.
HEADER_TEXT = (640, 2, 150, 38)
UNDO_SLOT = (268, 4, 25, 64)
UNDO_BUTTON_FACE = (625, 238, 65, 17)  # inside the bevel and focus rectangle
SPIN_NORMAL = (4 + 548, 86 + 60, 26, 24)
SPIN_ADVANCED = (4 + 548, 86 + 84, 26, 24)
SPIN_ADVANCED_DIGIT = (4 + 548 + 3, 86 + 84 + 4, 8, 16)  # the digit alone: no frame, no text cursor
PLAY_VIEW = (VIEW_X, VIEW_Y, 768, 480)

# Texts over the page background, each read back alone: the six mode labels,
# the four flat buttons and the shop's item names (page origin (4, 86)).
MODE_LABELS = [((220, 146 + 24 * k, 330, 22), caption) for k, caption in enumerate([
    "* Championship (40 levels) - normal", "* Championship (40 levels) - advanced", "* Free Level - easy",
    "* Free Level - normal", "* Free Level - advanced", "* Free Level - maniac"])]
FLAT_BUTTONS = [((220, 306 + 48 * k, 373, 41), caption)
                for k, caption in enumerate(["START", "Load Profile", "Save Profile", "SAVE & EXIT"])]
SHOP_NAMES = [((160, 86 + t, 240, 15), name) for t, name in [
    (124, "PREVIEW under empty places"), (196, "AUTO-PREVIEW under empty places"),
    (268, "PREVIEW under occupied places"), (340, "AUTO-PREVIEW under occupied places")]] + \
    [((500, 86 + t, 114, 15), name) for t, name in [
        (124, "One-step UNDO"), (196, "Bronze medal"), (268, "Silver medal"), (340, "Gold medal")]]


class Failure(Exception):
    pass


def run(*args, **kw):
    return subprocess.run(list(args), check=True, capture_output=True, **kw)


def xdotool(*args):
    return run("xdotool", *[str(a) for a in args]).stdout.decode()


class XDisplay:
    """The X server of xvfb-run: xdotool moves the pointer and types, ImageMagick's
    import takes the screen (without the pointer). Windows are found by title."""

    def windows(self, name):
        return [w.decode() for w in subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                                                   capture_output=True).stdout.split()]

    def geometry(self, window):
        """Left, top, width and height of a window's client area on the screen."""
        values = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", window).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def move(self, x, y):
        xdotool("mousemove", x, y)

    def click(self, x, y):
        xdotool("mousemove", x, y, "click", "1")

    def key(self, window, name):
        self.activate(window)
        xdotool("key", name)

    def activate(self, window):
        """Gives the window the keyboard, as a window manager would."""
        xdotool("windowfocus", "--sync", window)

    def shot(self):
        return run("import", "-window", "root", "-depth", "8", "rgb:-").stdout

    def save(self, path):
        subprocess.run(["import", "-window", "root", path])


class Screen:
    """One screenshot of the whole screen as packed RGB rows."""

    def __init__(self, display):
        self.data = display.shot()
        if len(self.data) != SCREEN_W * SCREEN_H * 3:
            raise Failure(f"unexpected screenshot size {len(self.data)}")

    def pixel(self, x, y):
        i = (y * SCREEN_W + x) * 3
        return self.data[i:i + 3]

    def crop(self, left, top, width, height):
        rows = []
        for y in range(top, top + height):
            i = (y * SCREEN_W + left) * 3
            rows.append(self.data[i:i + width * 3])
        return b"".join(rows)

    def text(self, left, top, width, height, line=False):
        """What tesseract reads in a rectangle: scaled up, dark text on a light ground."""
        raw = self.crop(left, top, width, height)
        light = sum(1 for i in range(0, len(raw), 3)
                    if raw[i] * 3 + raw[i + 1] * 6 + raw[i + 2] > 1530)
        polarity = ["-negate"] if light * 2 < width * height else []
        png = run("convert", "-size", f"{width}x{height}", "-depth", "8", "rgb:-", "-scale", "400%",
                  "-colorspace", "gray", *polarity, "png:-", input=raw).stdout
        return run("tesseract", "stdin", "stdout", "--psm", "7" if line else "6",
                   input=png).stdout.decode(errors="replace").strip()


def load_catalogue(path):
    """The catalogue's stored form: per entry width, height, then BGRA pixels."""
    blob = open(path, "rb").read()
    entries, at = [], 0
    while at < len(blob):
        w, h = struct.unpack_from("<ii", blob, at)
        at += 8
        entries.append((w, h, blob[at:at + 4 * w * h]))
        at += 4 * w * h
    if len(entries) != 90:
        raise Failure(f"catalogue holds {len(entries)} entries")
    return entries


def bay_corner(column, row):
    """Top-left corner of a bay's 96 x 48 rectangle in the play view."""
    return (2 * column + row - 17) * 32, (row - 2 * column + 15) * 16


def car_rect(column, row):
    left, top = bay_corner(column, row)
    return left + 11, top - 4


def bay_centre(column, row):
    left, top = bay_corner(column, row)
    return left + 48, top + 24


def centre(rect):
    """The middle of a rectangle (left, top, width, height) of the window."""
    return rect[0] + rect[2] // 2, rect[1] + rect[3] // 2


def play_view_point(x, y):
    return VIEW_X + x, VIEW_Y + y


class Game:
    def __init__(self, command, cwd=None, env=None, display=None):
        self.display = display or XDisplay()
        self.process = subprocess.Popen(command, cwd=cwd, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.window = self.wait_for_window("^ Vroomzle$")
        self.x, self.y, width, height = self.display.geometry(self.window)
        if (width, height) != (792, 573):
            raise Failure(f"client area is {width} x {height}")
        time.sleep(0.5)

    def wait_for_window(self, name, timeout=10.0):
        end = time.time() + timeout
        while time.time() < end:
            if self.process.poll() is not None:
                raise Failure(f"the game ended with {self.process.returncode}: {self.process.stderr.read().decode()}")
            found = self.display.windows(name)
            if found:
                return found[-1]
            time.sleep(0.05)
        raise Failure(f"no window named {name!r} appeared")

    def no_box(self, wait=1.0):
        """True when no message box opens within `wait` seconds."""
        end = time.time() + wait
        while time.time() < end:
            if self.display.windows("^Vroomzle$"):
                return False
            time.sleep(0.05)
        return True

    def box_gone(self, timeout=5.0):
        end = time.time() + timeout
        while time.time() < end:
            if not self.display.windows("^Vroomzle$"):
                return
            time.sleep(0.05)
        raise Failure("the message box did not close")

    def click(self, point, settle=0.15):
        self.display.click(self.x + point[0], self.y + point[1])
        time.sleep(settle)

    def move(self, point, settle=0.15):
        self.display.move(self.x + point[0], self.y + point[1])
        time.sleep(settle)

    def key(self, name, settle=0.25):
        self.display.key(self.window, name)
        time.sleep(settle)

    def screen(self):
        return Screen(self.display)

    def read(self, rect, line=False):
        return self.screen().text(self.x + rect[0], self.y + rect[1], rect[2], rect[3], line)

    def grab(self, rect):
        return self.screen().crop(self.x + rect[0], self.y + rect[1], rect[2], rect[3])

    def message_box(self):
        """Reads the information box, then closes it with Return."""
        box = self.wait_for_window("^Vroomzle$")
        time.sleep(0.3)
        x, y, w, h = self.display.geometry(box)
        text = eventually(lambda: self.screen().text(x, y, w, h)) or ""
        self.display.key(box, "Return")
        self.box_gone()
        time.sleep(0.2)
        return text

    def header(self):
        return " ".join(self.read(HEADER_TEXT).split())

    def cars_on_screen(self, catalogue):
        """The car id shown in each row's bay, recognised from the screen pixels."""
        shot = self.screen()
        found = {}
        for row in ROWS:
            left, top = car_rect(COLUMN, row)
            sx, sy = self.x + VIEW_X + left, self.y + VIEW_Y + top
            best, best_score, second = None, -1.0, -1.0
            for car in range(1, 83):
                w, h, pixels = catalogue[car]
                same = total = 0
                for y in range(0, h, 2):
                    for x in range(0, w, 2):
                        # The next row's car is drawn over this corner.
                        if row != ROWS[-1] and x >= 32 and y >= 16:
                            continue
                        i = (y * w + x) * 4
                        if pixels[i + 3] == 0:
                            continue
                        total += 1
                        p = shot.pixel(sx + x, sy + y)
                        if p[0] == pixels[i + 2] and p[1] == pixels[i + 1] and p[2] == pixels[i]:
                            same += 1
                score = same / total if total else 0.0
                if score > best_score:
                    best, best_score, second = car, score, best_score
                elif score > second:
                    second = score
            if best_score < 0.98 or second >= best_score:
                raise Failure(f"row {row}: no car recognised (best {best} at {best_score:.2f})")
            found[row] = best
        return found

    def pairs(self, catalogue):
        by_car = {}
        for row, car in self.cars_on_screen(catalogue).items():
            by_car.setdefault(car, []).append(row)
        pairs = []
        for car, rows in by_car.items():
            if len(rows) % 2:
                raise Failure(f"car {car} shows in {len(rows)} bays")
            pairs += [(rows[i], rows[i + 1]) for i in range(0, len(rows), 2)]
        return pairs

    def take_pair(self, a, b):
        self.click(play_view_point(*bay_centre(COLUMN, a)))
        self.click(play_view_point(*bay_centre(COLUMN, b)))

    def quit(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=5)


def eventually(check, timeout=4.0):
    """Polls check() until it returns a true value; the game may be slow on a busy machine."""
    end = time.time() + timeout
    while True:
        try:
            result = check()
        except Failure:
            if time.time() > end:
                raise
            result = None
        if result or time.time() > end:
            return result
        time.sleep(0.2)


def expect(what, read, wanted):
    seen = ""

    def shows():
        nonlocal seen
        seen = read()
        return wanted in seen

    if not eventually(shows):
        raise Failure(f"{what}: wanted {wanted!r}, the screen shows {seen!r}")
    print(f"ok: {what}: {wanted}")


def letters(text):
    return re.sub(r"[^a-z0-9]", "", text.lower())


def expect_texts(game, what, texts):
    """Every text reads back on its own ground: letters and digits as drawn."""
    shot = game.screen()
    for rect, wanted in texts:
        seen = shot.text(game.x + rect[0], game.y + rect[1], rect[2], rect[3], line=True)
        if letters(wanted) not in letters(seen):
            expect(what, lambda: letters(game.read(rect, line=True)), letters(wanted))
    print(f"ok: {what}: {len(texts)} texts read back")


def save_screen(build, name="e2e-failure.png", display=None):
    """The screen at the moment of failure, for whoever reads the log."""
    shot = os.path.join(build, "tests", name)
    (display or XDisplay()).save(shot)
    print(f"screen saved as {shot}", file=sys.stderr)


def win_level(game, catalogue, money):
    game.click(START, settle=0.4)
    expect("a new board", game.header, "8 cars left")
    game.move(PARK_POINTER)
    for a, b in eventually(lambda: game.pairs(catalogue)):
        game.take_pair(a, b)
    box = game.message_box()
    expect("the win", lambda: box, "CONGRATULATIONS!")
    expect("the money", game.header, money)


def game_folder(build, folder):
    """The game copied into folder, with our level file in every slot and no backgrounds."""
    shutil.copy2(os.path.join(build, "vroomzle"), folder)
    shutil.copytree(os.path.join(build, "tiles"), os.path.join(folder, "tiles"))
    os.mkdir(os.path.join(folder, "map"))  # no backgrounds: the cars stand on black
    with open(os.path.join(folder, "map", "level.ini"), "w", newline="") as f:
        f.write(LEVEL_LINE * 110)
    return os.path.join(folder, "vroomzle")


def main():
    build = os.path.abspath(sys.argv[1])
    catalogue = load_catalogue(os.path.join(build, "art", "catalogue.bin"))
    with tempfile.TemporaryDirectory(prefix="vroomzle-e2e-") as folder:
        game_folder(build, folder)
        game = Game([os.path.join(folder, "vroomzle")], cwd=folder)
        try:
            expect("start-up", game.header, "$0")
            expect_texts(game, "the MENU page", MODE_LABELS + FLAT_BUTTONS)
            win_level(game, catalogue, "$105")
            expect("next level chosen", lambda: game.read(SPIN_NORMAL, line=True), "2")
            win_level(game, catalogue, "$215")

            game.click(SHOP_BUTTON, settle=0.3)
            expect_texts(game, "the SHOP page", SHOP_NAMES)
            # Space previews on the GAME page; here it must not buy by itself.
            game.key("space")
            if not game.no_box():
                raise Failure("Space on the SHOP page clicked a shop button")
            print("ok: Space on the SHOP page does nothing")
            game.key("Tab")
            game.key("space", settle=0)
            refused = game.message_box()
            expect("Tab, then Space, clicks the first shop button", lambda: refused, "too less money")
            slot_before = game.grab(UNDO_SLOT)
            game.click(UNDO_BUY_BUTTON, settle=0.4)
            expect("undo bought", game.header, "$15")
            expect("the shop button", lambda: game.read(UNDO_BUTTON_FACE, line=True), "SELL")
            if not eventually(lambda: game.grab(UNDO_SLOT) != slot_before):
                raise Failure("the header slot of undo did not change")
            print("ok: the header shows undo owned")
            slot_owned = game.grab(UNDO_SLOT)
            # The clicked button keeps the focus and now reads SELL: a Space asks,
            # and a second Space answers the question's default, which keeps the item.
            game.key("space", settle=0)
            question = game.wait_for_window("^Confirm$")
            time.sleep(0.3)
            game.display.key(question, "space")
            if not eventually(lambda: not game.display.windows("^Confirm$")):
                raise Failure("the second Space did not answer the sell question")
            expect("Space twice sells nothing", game.header, "$15")
            expect("the shop button after Space twice", lambda: game.read(UNDO_BUTTON_FACE, line=True), "SELL")

            game.click(MENU_BUTTON, settle=0.3)
            game.click(START, settle=0.4)
            a, b = eventually(lambda: game.pairs(catalogue))[0]
            game.move(play_view_point(*bay_centre(COLUMN, b)), settle=0.3)
            before = game.grab(PLAY_VIEW)
            game.take_pair(a, b)
            time.sleep(0.2)
            expect("a pair taken", game.header, "6 cars left")
            if not eventually(lambda: game.grab(PLAY_VIEW) != before):
                raise Failure("taking a pair did not change the play view")
            game.key("BackSpace")
            expect("undo", game.header, "8 cars left")
            if not eventually(lambda: game.grab(PLAY_VIEW) == before):
                raise Failure("after Backspace the play view differs from before the pair")
            print("ok: Backspace brought the pair back")

            game.click(MENU_BUTTON, settle=0.3)
            # A number typed past the box's maximum is saved as typed, and the
            # message box, which takes the window's activation, leaves it typed.
            game.click(centre(SPIN_ADVANCED))
            game.key("ctrl+a")
            game.key("9")
            typed = game.grab(SPIN_ADVANCED_DIGIT)
            game.click(SAVE_PROFILE)
            saved = game.message_box()
            expect("save", lambda: saved, "SAVED")
            if not os.path.isfile(os.path.join(folder, "vrz.sav")):
                raise Failure("the profile is not beside the program in a folder the player may write")
            # The window active again, as a window manager makes it once the box is
            # gone. The digit is read by its pixels: tesseract mistakes one digit
            # beside a text cursor.
            game.display.activate(game.window)
            if not eventually(lambda: game.grab(SPIN_ADVANCED_DIGIT) == typed):
                raise Failure("the message box changed the number typed into the box")
            game.click(centre(SPIN_NORMAL))
            if not eventually(lambda: game.grab(SPIN_ADVANCED_DIGIT) != typed):
                raise Failure("the box kept a number past its maximum when the focus left it")
            print("ok: the typed number outlived the message box, and the focus leaving clamped it")
            game.click(SAVE_AND_EXIT, settle=0.3)
            if game.process.wait(timeout=5) != 0:
                # A sanitizer build says why on standard error.
                said = game.process.stderr.read().decode(errors="replace")[-3000:]
                raise Failure(f"SAVE & EXIT ended the game with {game.process.returncode}: {said}")
            print("ok: SAVE & EXIT closed the game")
            if os.path.exists(os.path.join(folder, "vrz.sav.bak")):
                raise Failure("a save over the session's own save kept a copy")

            game = Game([os.path.join(folder, "vroomzle")], cwd=folder)
            expect("a fresh start", game.header, "$0")
            game.click(LOAD_PROFILE)
            loaded = game.message_box()
            expect("load", lambda: loaded, "Profile loaded")
            expect("money after load", game.header, "$15")
            if not eventually(lambda: game.grab(UNDO_SLOT) == slot_owned):
                raise Failure("after loading, the header does not show undo owned")
            print("ok: the header shows undo owned after loading")
            expect("level after load", lambda: game.read(SPIN_NORMAL, line=True), "3")
        except Failure:
            save_screen(build)
            raise
        finally:
            game.quit()
    print("the game played through in a real window")


def run_test(main):
    """Runs a window test: a Failure ends it with one line and status 1."""
    try:
        main()
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    run_test(main)
