#!/usr/bin/env python3
"""Saves and loads a profile in the real game as a player who cannot write the
program's folder, the way a system install runs. Run under xvfb-run:

  profile_in_window.py BUILD                      a copy of the build's portable folder
  profile_in_window.py BUILD --installed PROGRAM  an installed game, e.g. /usr/games/vroomzle
  ... --installed PROGRAM --as-caller             the installed game played by root itself

A failure leaves the screen in BUILD/tests/e2e-profile-failure.png.

As root the game runs as user 65534 (root may write anywhere), unless
--as-caller asks for root itself, which an installed game must keep out of its
folder as well; otherwise as the caller, with the copied folder made read-only.
The player gets a fresh home, and the profile must land in
~/.local/share/vroomzle/ (with --xdg-data-home, in $XDG_DATA_HOME/vroomzle/), in
a folder only the player may enter, and come back from there after a restart.
"""
import argparse
import os
import shutil
import stat
import tempfile

from play_in_window import (LOAD_PROFILE, SAVE_AND_EXIT, SAVE_PROFILE, SPIN_NORMAL, Failure, Game,
                            centre, expect, run_test, save_screen)

PLAYER = 65534
PROFILE_LINE_LENGTH = 23


def portable_copy(build, folder):
    """The programs, the level file, backgrounds and header pictures, as the build lays them out."""
    os.mkdir(folder)
    shutil.copy2(os.path.join(build, "vroomzle"), folder)
    shutil.copytree(os.path.join(build, "map"), os.path.join(folder, "map"))
    shutil.copytree(os.path.join(build, "tiles"), os.path.join(folder, "tiles"))
    return os.path.join(folder, "vroomzle")


def player_environment(work, home, xdg_data_home):
    """The caller's environment with a home of the player's own; files the game
    reads through it (the X cookie, sanitizer suppressions) are copied where the
    player can read them."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
    env["HOME"] = home
    if xdg_data_home:
        env["XDG_DATA_HOME"] = xdg_data_home
    if "XAUTHORITY" in env:
        cookie = os.path.join(work, "Xauthority")
        shutil.copy(env["XAUTHORITY"], cookie)
        env["XAUTHORITY"] = cookie
    if "suppressions=" in env.get("LSAN_OPTIONS", ""):
        options = []
        for option in env["LSAN_OPTIONS"].split(":"):
            if option.startswith("suppressions="):
                copy = os.path.join(work, "lsan.supp")
                shutil.copy(option.split("=", 1)[1], copy)
                option = "suppressions=" + copy
            options.append(option)
        env["LSAN_OPTIONS"] = ":".join(options)
    return env


def give_to_player(path):
    for root, dirs, files in os.walk(path):
        for name in [root] + [os.path.join(root, n) for n in dirs + files]:
            os.chown(name, PLAYER, PLAYER)


def check_saved(profile, program_folder, owner):
    if os.path.exists(os.path.join(program_folder, "vrz.sav")):
        raise Failure("the profile was written beside the program")
    if not os.path.isfile(profile):
        raise Failure(f"no profile at {profile}")
    folder = os.stat(os.path.dirname(profile))
    if stat.S_IMODE(folder.st_mode) != 0o700:
        raise Failure(f"the profile's folder has mode {stat.S_IMODE(folder.st_mode):o}, not 700")
    if os.stat(profile).st_uid != owner:
        raise Failure(f"the profile belongs to user {os.stat(profile).st_uid}, not to the player {owner}")
    with open(profile, "rb") as f:
        line = f.read()
    if len(line) != PROFILE_LINE_LENGTH + 1 or not line[:-1].isdigit() or line[-1:] != b"\n":
        raise Failure(f"the profile holds {line!r}")
    print(f"ok: the profile is {profile}, in a folder of mode 700")


def play(command, env, profile, program_folder, owner):
    game = Game(command, cwd="/", env=env)
    try:
        expect("start-up", lambda: game.read(SPIN_NORMAL, line=True), "1")
        # A profile worth loading: the normal championship's level moved to 2.
        game.click(centre(SPIN_NORMAL))
        game.key("Up")
        expect("level chosen", lambda: game.read(SPIN_NORMAL, line=True), "2")
        game.click(SAVE_PROFILE)
        saved = game.message_box()
        expect("save", lambda: saved, "SAVED")
        check_saved(profile, program_folder, owner)
        game.click(SAVE_AND_EXIT, settle=0.3)
        if game.process.wait(timeout=10) != 0:
            said = game.process.stderr.read().decode(errors="replace")[-3000:]
            raise Failure(f"SAVE & EXIT ended the game with {game.process.returncode}: {said}")
        print("ok: SAVE & EXIT closed the game")

        game = Game(command, cwd="/", env=env)
        expect("a fresh start", lambda: game.read(SPIN_NORMAL, line=True), "1")
        game.click(LOAD_PROFILE)
        loaded = game.message_box()
        expect("load", lambda: loaded, "Profile loaded")
        expect("level after load", lambda: game.read(SPIN_NORMAL, line=True), "2")
    finally:
        game.quit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--installed", metavar="PROGRAM")
    parser.add_argument("--xdg-data-home", action="store_true")
    parser.add_argument("--as-caller", action="store_true")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    copy = not args.installed
    if args.as_caller and copy:
        parser.error("--as-caller tests an installed game")
    # Root plays as user 65534 unless asked to play itself.
    as_player = os.geteuid() == 0 and not args.as_caller
    owner = PLAYER if as_player else os.geteuid()

    work = tempfile.mkdtemp(prefix="vroomzle-player-")
    os.chmod(work, 0o755)  # the player passes through to its home and the game
    program_folder = None
    try:
        home = os.path.join(work, "home")
        os.mkdir(home, 0o755)
        data_home = os.path.join(home, "data") if args.xdg_data_home else None
        env = player_environment(work, home, data_home)
        if as_player:
            give_to_player(home)
            for copied in ("Xauthority", "lsan.supp"):
                if os.path.exists(os.path.join(work, copied)):
                    os.chown(os.path.join(work, copied), PLAYER, PLAYER)
        if copy:
            program = portable_copy(build, os.path.join(work, "game"))
        else:
            program = args.installed
        program_folder = os.path.dirname(os.path.realpath(program))
        if copy and not as_player:
            os.chmod(program_folder, 0o555)
        # A portable folder the player may write keeps the profile: that is another test.
        # An installed game keeps it out of its folder even where the player may write.
        if copy and not as_player and os.access(program_folder, os.W_OK):
            raise Failure(f"{program_folder} is writable: nothing would be tested")

        command = [program]
        if as_player:
            command = ["setpriv", f"--reuid={PLAYER}", f"--regid={PLAYER}", "--clear-groups"] + command
        profile = os.path.join(data_home or os.path.join(home, ".local", "share"), "vroomzle", "vrz.sav")
        try:
            play(command, env, profile, program_folder, owner)
        except Failure:
            save_screen(build, "e2e-profile-failure.png")
            raise
    finally:
        if copy and program_folder:
            os.chmod(program_folder, 0o755)
        shutil.rmtree(work, ignore_errors=True)
    print("the profile was saved and loaded in the player's data folder")


if __name__ == "__main__":
    run_test(main)
