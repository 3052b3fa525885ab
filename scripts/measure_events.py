#!/usr/bin/env python3
"""What the player's machine spends on the game's events in a real X window.

Run by scripts/measure-events.sh under xvfb-run. The game plays the real-window
test's level file (eight cars, one per row in the first column, over the
shipped backgrounds); it wins two boards to buy the one-step undo, then deals a
third. The same xdotool event sequences then go to the game and to the bare
widget (bench/BareWidget.cpp: the play view's size and place, tracking the
mouse, painting nothing), one xdotool process per sequence with a pause after
every event, so no event is merged with the next. CPU time is read from
/proc/PID/task/*/schedstat (nanoseconds) of the program and of the X server.

  pointer moves   MOVES moves from bay to bay (seven bays on each time)
  pair and undo   the two clicks of a pair, then Backspace, CYCLES times

Each sequence goes to the game and to the bare widget in turn, RUNS times; the
medians are printed, since a shared machine stalls now and then.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import play_in_window as e2e  # noqa: E402

PAUSE = "0.004"  # seconds after each event: longer than the game takes for one


def cpu_ns(pid):
    """CPU time of every thread of a process, in nanoseconds."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def x_server_pid():
    display = os.environ["DISPLAY"].lstrip(":").split(".")[0]
    with open(f"/tmp/.X{display}-lock") as f:
        return int(f.read().strip())


def measure(pid, window, chain, events):
    """CPU per event (microseconds) of the program and of the X server."""
    e2e.xdotool("windowraise", window)
    e2e.xdotool("windowfocus", "--sync", window)
    time.sleep(0.3)
    xpid = x_server_pid()
    before, xbefore = cpu_ns(pid), cpu_ns(xpid)
    e2e.run("xdotool", *chain)
    time.sleep(0.3)  # the last events drain
    return (cpu_ns(pid) - before) / events / 1000, (cpu_ns(xpid) - xbefore) / events / 1000


def move_chain(points, moves):
    chain, at = [], 0
    for _ in range(moves):
        x, y = points[at]
        chain += ["mousemove", str(x), str(y), "sleep", PAUSE]
        at = (at + 7) % len(points)
    return chain


def pair_chain(a, b, cycles):
    chain = []
    for _ in range(cycles):
        for x, y in (a, b):
            chain += ["mousemove", str(x), str(y), "click", "1", "sleep", PAUSE]
        chain += ["key", "BackSpace", "sleep", PAUSE]
    return chain


def prepared_game(build, folder, catalogue):
    """The game on a fresh board with undo owned; the screen points of its bays and of a pair."""
    shutil.copy2(os.path.join(build, "vroomzle"), folder)
    shutil.copytree(os.path.join(build, "tiles"), os.path.join(folder, "tiles"))
    shutil.copytree(os.path.join(build, "map"), os.path.join(folder, "map"))
    with open(os.path.join(folder, "map", "level.ini"), "w", newline="") as f:
        f.write(e2e.LEVEL_LINE * 110)
    game = e2e.Game([os.path.join(folder, "vroomzle")], cwd=folder)
    e2e.win_level(game, catalogue, "$105")
    e2e.win_level(game, catalogue, "$215")
    game.click(e2e.SHOP_BUTTON, settle=0.3)
    game.click(e2e.UNDO_BUY_BUTTON, settle=0.4)
    e2e.expect("undo bought", game.header, "$15")
    game.click(e2e.MENU_BUTTON, settle=0.3)
    game.click(e2e.START, settle=0.4)
    rows = e2e.eventually(lambda: game.pairs(catalogue))[0]
    screen = lambda p: (game.x + p[0], game.y + p[1])  # noqa: E731
    bays = [screen(e2e.play_view_point(*e2e.bay_centre(column, row)))
            for row in range(11, 19) for column in range(3, 11)]
    pair = [screen(e2e.play_view_point(*e2e.bay_centre(e2e.COLUMN, row))) for row in rows]
    return game, bays, pair


def median(values):
    return sorted(values)[len(values) // 2]


def main():
    build = os.path.abspath(sys.argv[1])
    moves = int(sys.argv[2]) if len(sys.argv) > 2 else 1500
    cycles = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    runs = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    catalogue = e2e.load_catalogue(os.path.join(build, "art", "catalogue.bin"))
    with tempfile.TemporaryDirectory(prefix="vroomzle-events-") as folder:
        game, bays, (a, b) = prepared_game(build, folder, catalogue)
        # The bare widget lies exactly over the play view; each program is raised
        # in turn, so both receive the same events at the same screen points.
        bare = subprocess.Popen([os.path.join(build, "vroomzle-bare-widget"),
                                 str(game.x + e2e.VIEW_X), str(game.y + e2e.VIEW_Y)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            bare_window = None
            for _ in range(200):
                found = e2e.visible_windows("^bare widget$")
                if found:
                    bare_window = found[-1].decode()
                    break
                time.sleep(0.05)
            if bare_window is None:
                raise e2e.Failure("the bare widget did not appear")
            kinds = {"pointer move": (move_chain(bays, moves), moves),
                     "pair and undo": (pair_chain(a, b, cycles), 3 * cycles)}
            seen = {name: {"game": [], "bare": []} for name in kinds}
            for run in range(runs):
                for name, (chain, events) in kinds.items():
                    seen[name]["game"].append(measure(game.process.pid, game.window, chain, events))
                    seen[name]["bare"].append(measure(bare.pid, bare_window, chain, events))
            e2e.expect("the pair is back after the last undo", game.header, "8 cars left")
        finally:
            bare.terminate()
            bare.wait(timeout=5)
            game.quit()

    print(f"medians of {runs} runs, microseconds of CPU per event "
          f"({moves} moves; {cycles} times two clicks taking a pair and Backspace)")
    print(f"{'event':<14}{'game':>8}{'bare':>8}{'ratio':>7}{'X game':>9}{'X bare':>9}{'ratio':>7}")
    for name, by in seen.items():
        game_us, bare_us = median([g for g, _ in by["game"]]), median([b for b, _ in by["bare"]])
        game_x, bare_x = median([x for _, x in by["game"]]), median([x for _, x in by["bare"]])
        print(f"{name:<14}{game_us:>8.1f}{bare_us:>8.1f}{game_us / bare_us:>7.2f}"
              f"{game_x:>9.1f}{bare_x:>9.1f}{game_x / bare_x:>7.2f}")


if __name__ == "__main__":
    e2e.run_test(main)
