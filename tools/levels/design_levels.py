#!/usr/bin/env python3
"""Designs the 110 levels of data/map/level.ini from measured difficulty.

usage: design_levels.py TOOL OUTPUT [--work DIR]
       design_levels.py TOOL FILE --fix LEVELS [--deals N] [--candidates K] [--max-depth D]

(--work keeps the candidate files and their figures in DIR.)

With --fix, FILE is changed in place at the listed levels only (comma-separated
level numbers): for each, K candidates (default 24) drawn for the level's place in
the plan (with --max-depth, lines of the level's own shape, pool and row length
whose stacks are at most D deep) are measured with N deals (default 60) by the casual player and by the
skilled player with no item, with both AUTO-PREVIEWs, and with both AUTO-PREVIEWs and the undo, and the
candidate kept is the one whose figures sit best between its neighbours' along
its mode while the items and the skilled player's thinking decide its hard
boards (see fix_score).

TOOL is a built vroomzle-levels. For every level number the script draws a
set of candidate lines that fit the level's place in the plan (board shape,
pool types, stack depths and row lengths growing with the level), measures
each candidate at that very level number with `TOOL stats --csv` (so the
figures are exactly those the shipped file will show), and keeps, level by
level, the candidate that best meets the planned casual win rate while the
rate keeps falling along each championship and free tier. Everything is
seeded: the same tool and script write the same file.
"""
import csv
import io
import os
import random
import subprocess
import sys
import tempfile

# MinColumn, MinRow, MaxColumn, MaxRow of the ten board shapes.
SHAPES = {
    1: (4, 10, 10, 18), 2: (4, 10, 9, 20), 3: (4, 11, 9, 20), 4: (4, 10, 9, 19), 5: (4, 10, 9, 20),
    6: (3, 11, 10, 18), 7: (4, 9, 9, 20), 8: (4, 9, 8, 20), 9: (5, 7, 10, 18), 10: (3, 11, 10, 18),
}
# Shapes in the order a championship cycles through them: each appears four times.
SHAPE_CYCLE = [6, 10, 3, 4, 1, 2, 5, 8, 7, 9]
# Pool types from the most distinct car ids to the fewest.
POOLS_BY_VARIETY = [9, 8, 5, 3, 7, 4, 1, 2, 6]
CANDIDATES = 80
DEALS = 200
CHECK_DEALS = 40  # the figures the shipped-levels test recomputes


def rows(shape):
    return SHAPES[shape][3] - SHAPES[shape][1] + 1


def positions(rng, shape, depths, dig):
    """A row's position list: the reverse of a legal way to empty the row.

    depths[i] is the stack height of column MinColumn + i. A car may leave once
    every lower non-empty column has lost its top car and the cars above it in
    its own bay are gone. `dig` is the chance of taking the next car of an
    already opened column rather than opening the next column.
    """
    first = SHAPES[shape][0]
    taken = [0] * len(depths)
    order = []
    total = sum(depths)
    while len(order) < total:
        opened = [i for i, d in enumerate(depths) if taken[i] > 0 and taken[i] < d]
        # The next column to open: the lowest whose top is still there.
        closed = [i for i, d in enumerate(depths) if taken[i] == 0 and d > 0]
        choices = []
        if closed and all(taken[j] > 0 or depths[j] == 0 for j in range(closed[0])):
            choices.append(closed[0])
        if opened and (not choices or rng.random() < dig):
            pick = rng.choice(opened)
        else:
            pick = choices[0]
        order.append(100 * taken[pick] + first + pick)
        taken[pick] += 1
    return list(reversed(order))


def line(number, shape, pool, codes):
    text = "L%03d%03d,%03d," % (number, shape, pool) + "".join("%03d," % c for c in codes) + "---,"
    return text.ljust(64) + ";"


# Free tiers: (first record, planned casual rate, progress). The spare records
# no mode deals sit between the tiers and get figures between theirs.
FREE_TIERS = [(81, 0.97, 0.05), (85, 0.9, 0.15), (91, 0.72, 0.4), (95, 0.6, 0.5), (101, 0.42, 0.65),
              (105, 0.35, 0.7), (106, 0.1, 0.95), (110, 0.1, 0.95)]


def plan(number):
    """(shape, pools, deepest range, positions-per-row range, planned casual rate).

    Progress u runs from 0 (small boards, all-different cars, nothing hidden)
    to about 1 (deep stacks drawn from few car ids); the ranges follow it.
    """
    if number <= 80:
        k = (number - 1) % 40
        shape = SHAPE_CYCLE[k % 10]
        if number <= 40:
            u, rate = k / 39, 1.0 - 0.87 * k / 39
        else:
            # Starts about where the normal championship is halfway, ends beyond it.
            u, rate = 0.58 + 0.55 * k / 39, 0.62 - 0.57 * k / 39
    else:
        _, rate, u = max(t for t in FREE_TIERS if t[0] <= number)
        shape = SHAPE_CYCLE[number % 10]
    variety = POOLS_BY_VARIETY
    centre = u * (len(variety) - 1)
    pools = sorted({variety[max(0, min(len(variety) - 1, int(round(centre + d))))] for d in (-1, 0, 1)})
    deep_lo = 1 + int(u * 2.5)
    deep_hi = min(6, 1 + int(round(u * 4.5)) + 1)
    width = SHAPES[shape][2] - SHAPES[shape][0] + 1
    per_row_lo = max(1, int(1 + u * 8))
    per_row_hi = max(per_row_lo + 2, int(3 + u * (width * 3)))
    return shape, pools, (deep_lo, deep_hi), (per_row_lo, per_row_hi), rate


def candidate(rng, number):
    shape, pools, (deep_lo, deep_hi), (lo, hi), _ = plan(number)
    first, _, last, _ = SHAPES[shape]
    width = last - first + 1
    n_rows = rows(shape)
    for _ in range(1000):
        pool = rng.choice(pools)
        deepest = rng.randint(deep_lo, deep_hi)
        used = rng.randint(1, width)
        depths = [0] * width
        for i in range(used):
            depths[i] = rng.randint(1, deepest)
        depths[rng.randrange(used)] = deepest
        if rng.random() < 0.3:  # leave a gap column now and then
            depths.insert(rng.randrange(1, width), 0)
            depths = depths[:width]
        count = sum(depths)
        if not (lo <= count <= hi) or count > 41 or (n_rows * count) % 2 or n_rows * count > 328:
            continue
        codes = positions(rng, shape, depths, rng.choice([0.0, 0.3, 0.6, 1.0]))
        return line(number, shape, pool, codes)
    raise RuntimeError("no candidate for level %d" % number)


def write_levels(path, lines):
    """A level file as the game reads it: one line per level, CR LF after each."""
    with open(path, "w", newline="") as f:
        f.write("".join(l + "\r\n" for l in lines))


def stats(tool, path, deals, *extra):
    """The rows of `vroomzle-levels stats --csv`, by level number (exit 1, a
    broken reachable level, still prints them)."""
    out = subprocess.run([tool, "stats", path, "--csv", "--deals", str(deals)] + list(extra), check=False,
                         capture_output=True, text=True)
    if out.returncode not in (0, 1):
        raise RuntimeError(out.stderr)
    return {int(r["level"]): r for r in csv.DictReader(io.StringIO(out.stdout))}


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    tool, output = sys.argv[1], sys.argv[2]
    if "--fix" in sys.argv:
        option = lambda name, default: int(sys.argv[sys.argv.index(name) + 1]) if name in sys.argv else default
        levels = [int(n) for n in sys.argv[sys.argv.index("--fix") + 1].split(",")]
        with tempfile.TemporaryDirectory() as work:
            return fix(tool, output, levels, option("--deals", 60), option("--candidates", 24), work,
                       option("--max-depth", 0))
    if "--work" in sys.argv:
        return design(tool, output, sys.argv[sys.argv.index("--work") + 1])
    with tempfile.TemporaryDirectory() as work:
        return design(tool, output, work)


def design(tool, output, work):
    rng = random.Random(20261209)
    files = []
    for j in range(CANDIDATES):
        lines = [candidate(rng, n) for n in range(1, 111)]
        path = os.path.join(work, "candidates%02d.ini" % j)
        write_levels(path, lines)
        files.append((lines, stats(tool, path, DEALS), stats(tool, path, CHECK_DEALS)))
        print("measured candidate set %d/%d" % (j + 1, CANDIDATES), file=sys.stderr)

    chosen = {}
    groups = [range(1, 41), range(41, 81), range(81, 85), range(85, 91), range(91, 95), range(95, 101),
              range(101, 105), range(105, 106), range(106, 110), range(110, 111)]
    for group in groups:
        pick_falling(group, files, chosen)
    write_levels(output, [chosen[n] for n in range(1, 111)])
    return 0


def pick_falling(levels, files, chosen):
    """Per level the candidate nearest the planned rate, the rates falling along the group.

    Dynamic programming over the candidates of consecutive levels: a rise of
    the casual rate (at the full or the test's deal count) costs far more than
    missing the planned rate, a tie costs a little.
    """
    levels = list(levels)

    def rates(j, n):
        full, check = files[j][1][n], files[j][2][n]
        if full["casual"] == "-":
            return None
        return float(full["casual"]), float(check["casual"])

    best = {}
    for idx, n in enumerate(levels):
        target = plan(n)[4]
        nxt = {}
        for j in range(len(files)):
            r = rates(j, n)
            if r is None:
                continue
            miss = 4 * ((r[0] - target) ** 2 + 0.5 * (r[1] - target) ** 2)
            if idx == 0:
                nxt[j] = (miss, [j])
                continue
            options = []
            for k, (cost, path) in best.items():
                prev = rates(k, levels[idx - 1])
                step = 0.0
                for a, b in zip(prev, r):
                    if b > a:
                        step += 1.0 + 10 * (b - a)
                    elif b == a:
                        step += 0.05
                options.append((cost + miss + step, path + [j]))
            nxt[j] = min(options)
        best = nxt
    cost, path = min(best.values())
    for n, j in zip(levels, path):
        chosen[n] = files[j][0][n - 1]


SKILLED = ["--items", "none", "--items", "auto-previews", "--items", "auto-previews,undo"]


def measure_skilled(tool, path, levels, deals):
    """casual, skilled (no item), skilled (both AUTO-PREVIEWs) and skilled (both
    AUTO-PREVIEWs and the undo) per level."""
    rows = stats(tool, path, deals, "--levels", "%d-%d" % (min(levels), max(levels)), "--threads", "1", *SKILLED)
    return {n: (float(r["casual"]), float(r["skilled"]), float(r["skilled:auto-previews"]),
                float(r["skilled:auto-previews+undo"]))
            for n, r in rows.items() if n in levels and r["casual"] != "-"}


def neighbours(n):
    """The levels before and after n along its mode (None at an end)."""
    for first, last in ((1, 40), (41, 80), (81, 84), (91, 94), (101, 104), (106, 109)):
        if first <= n <= last:
            return (n - 1 if n > first else None), (n + 1 if n < last else None)
    return None, None


def fix_score(n, cand, around, old=None):
    """Lower is better. The casual and the bare skilled rate must lie between the
    neighbours' (so both curves keep falling); where the casual player mostly
    loses, the skilled player with both AUTO-PREVIEWs must win twice as often,
    with the undo and without it; the last normal level needs half of its deals
    won with both AUTO-PREVIEWs and the undo, the last advanced one and the
    maniac tier a quarter (with some room, the sample being small). Among lines
    that do all that, the one whose figures sit nearest the old line's (`old`)
    keeps the curve's shape best."""
    casual, bare, previewed, equipped = cand
    cost = 0.0
    if old is not None:
        cost += 0.5 * sum((a - b) ** 2 for a, b in zip(cand, old))
    before, after = around
    for i, slack in ((0, 0.03), (1, 0.06)):
        value = cand[i]
        if before is not None and value > before[i] + slack:
            cost += 10 + 100 * (value - before[i])
        if after is not None and value < after[i] - slack:
            cost += 10 + 100 * (after[i] - value)
        if before is not None and after is not None:
            cost += (value - (before[i] + after[i]) / 2) ** 2
    for seen in (previewed, equipped):
        if casual < 0.5 and seen < 2.2 * casual:
            cost += 10 + 100 * (2.2 * casual - seen)
    need = 0.56 if n == 40 else 0.3 if n == 80 or 106 <= n <= 109 else 0
    if equipped < need:
        cost += 10 + 100 * (need - equipped)
    return cost


def shallower(rng, line_text, number, depth):
    """A line of the same shape, pool and row length (or one more or fewer, for
    whole pairs) whose stacks are at most `depth` deep."""
    shape, pool = int(line_text[4:7]), int(line_text[8:11])
    length = 0
    for k in range(12, len(line_text), 4):
        if "-" in line_text[k:k + 3]:
            break
        length += 1
    first, _, last, _ = SHAPES[shape]
    width = last - first + 1
    for _ in range(100000):
        depths = [rng.randint(1, depth) if i < rng.randint(1, width) else 0 for i in range(width)]
        depths = [d if all(depths[:i]) else 0 for i, d in enumerate(depths)]
        total = sum(depths)
        if abs(total - length) > 1 or (rows(shape) * total) % 2 or rows(shape) * total > 328 or total > 41:
            continue
        return line(number, shape, pool, positions(rng, shape, depths, rng.choice([0.0, 0.3, 0.6, 1.0])))
    raise RuntimeError("no shallower line for level %d" % number)


def fix(tool, path, levels, deals, count, work, max_depth=0):
    with open(path, newline="") as f:
        lines = f.read().split("\r\n")[:110]
    rng = random.Random(20261210)
    for n in levels:
        before, after = neighbours(n)
        known = [m for m in (before, after) if m is not None]
        figures = {}
        for m in known:
            figures.update(measure_skilled(tool, path, [m], deals))
        around = (figures.get(before), figures.get(after))
        best = old = None
        for j in range(count + 1):
            if j == 0:
                trial = lines[n - 1]
            elif max_depth:
                trial = shallower(rng, lines[n - 1], n, max_depth)
            else:
                trial = candidate(rng, n)
            trial_lines = list(lines)
            trial_lines[n - 1] = trial
            trial_path = os.path.join(work, "fix%03d-%02d.ini" % (n, j))
            write_levels(trial_path, trial_lines)
            got = measure_skilled(tool, trial_path, [n], deals).get(n)
            if got is None:
                continue
            if j == 0:
                old = got
            cost = fix_score(n, got, around, old)
            print("level %d candidate %d: casual %.3f skilled %.3f auto-previews %.3f with the undo %.3f cost %.3f  %s"
                  % ((n, j) + got + (cost, trial.rstrip())), file=sys.stderr)
            if best is None or cost < best[0]:
                best = (cost, trial)
        lines[n - 1] = best[1]
        write_levels(path, lines)
        print("level %d: kept %s" % (n, best[1].rstrip()), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
