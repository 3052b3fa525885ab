// A save killed at any moment leaves the old profile or the new one, whole.
//
// A child process runs the real save, SaveProfileFile, and is killed with SIGKILL
// after a random delay, from the moment it starts to past the end of the save
// (the span is measured first). The file must then hold exactly the old line or
// exactly the new one, never nothing, a part or a mix, and whatever temporary
// file the kill left, the next save must work. The random kills go on until they
// have found both, so that a loaded machine, where the child runs slower than it
// did when the span was measured, stretches the range rather than failing; and
// some kills come on purpose the moment the rename has replaced the file.
//
//   build/tests/test_save_kill                 300 random kills
//   build/tests/test_save_kill --kills 5000    or VZ_SAVE_KILLS=5000
#include "app/ProfileFile.h"
#include "ReadFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

long Kills = 300;

using Clock = std::chrono::steady_clock;

std::string LineOf(const Profile& profile) { return FormatProfileLine(profile, SpinValues{3, 2}) + "\n"; }

ino_t InodeOf(const std::string& path)
{
    struct stat s;
    return ::stat(path.c_str(), &s) == 0 ? s.st_ino : 0;
}

// When the parent kills the child that saves.
struct Kill {
    enum { Never, AfterDelay, AtTheRename } When = Never;
    Clock::duration Delay{};
};

struct Outcome {
    bool Finished = false;          // the save ended before the kill came
    Clock::duration Span{};         // from the start of the save to the child's end
};

// Saves `profile` to `path` in a child process and kills it `kill.Delay` after
// the save began, or as soon as the file at `path` is another than before (the
// rename has put the new one in its place).
Outcome SaveInChild(const std::string& path, const Profile& profile, Kill kill)
{
    const ino_t before = InodeOf(path);
    int ready[2];
    if (pipe(ready) != 0)
        std::abort();
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        const char go = 1;
        if (write(ready[1], &go, 1) != 1)
            _exit(2);
        _exit(SaveProfileFile(path, profile, SpinValues{3, 2}) ? 1 : 0);
    }
    close(ready[1]);
    char go = 0;
    const bool started = read(ready[0], &go, 1) == 1;
    const Clock::time_point start = Clock::now();
    close(ready[0]);
    int status = 0;
    bool reaped = false;
    if (started && kill.When == Kill::AfterDelay) {
        // Spinning, not sleeping: a sleep is rounded up to the scheduler's tick.
        while (Clock::now() - start < kill.Delay) {
        }
        ::kill(child, SIGKILL);
    } else if (started && kill.When == Kill::AtTheRename) {
        // Watched, however slowly the child runs; a child that ended unseen is reaped here.
        while (InodeOf(path) == before && !(reaped = waitpid(child, &status, WNOHANG) == child)) {
        }
        ::kill(child, SIGKILL);
    }
    if (!reaped)
        waitpid(child, &status, 0);
    Outcome outcome;
    outcome.Span = Clock::now() - start;
    outcome.Finished = WIFEXITED(status);
    EXPECT_TRUE(!outcome.Finished || WEXITSTATUS(status) == 0) << "the save failed with " << WEXITSTATUS(status);
    return outcome;
}

} // namespace

TEST(SaveKill, AKilledSaveLeavesTheOldProfileOrTheNewOneWhole)
{
    char pattern[] = "/tmp/vrz-kill-XXXXXX";
    const std::string folder = std::string(mkdtemp(pattern)) + "/";
    const std::string path = folder + "vrz.sav";
    const std::string temporary = path + ".tmp";

    Profile old;
    old.Money = 1;
    ASSERT_FALSE(SaveProfileFile(path, old, SpinValues{3, 2}));

    // How long a whole save takes here, child process and all.
    std::vector<Clock::duration> spans;
    for (int i = 0; i < 15; ++i)
        spans.push_back(SaveInChild(path, old, Kill{}).Span);
    std::sort(spans.begin(), spans.end());
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(spans[spans.size() / 2]);
    // Kills from the first microsecond to half a save past its end. Where fifty
    // kills in a row found the old profile, the child ran slower than measured
    // (a loaded machine): the range doubles, up to a second.
    std::mt19937 random(20261209);
    long range = std::max<long>(1, span.count() * 3 / 2);
    constexpr long LongestRange = 1000000;
    const Clock::time_point began = Clock::now();
    const auto patience = std::chrono::minutes(2);

    long foundOld = 0, foundNew = 0, finished = 0, leftTemporary = 0, oldInARow = 0, kills = 0;
    // Checks what a kill left and makes the next save start from it.
    auto check = [&](const Profile& fresh, const Outcome& outcome, const std::string& which) {
        finished += outcome.Finished;
        const std::string found = ReadFile(path);
        bool whole = true;
        if (found == LineOf(old)) {
            ++foundOld;
            ++oldInARow;
            EXPECT_FALSE(outcome.Finished) << which << ": a finished save left the old profile";
        } else if (found == LineOf(fresh)) {
            ++foundNew;
            oldInARow = 0;
            old = fresh;
        } else {
            ADD_FAILURE() << which << " left " << (found.empty() ? "an empty or missing file" : "'" + found + "'");
            whole = false;
        }
        // Whatever the kill left behind, the next save works and cleans up.
        if (access(temporary.c_str(), F_OK) == 0) {
            ++leftTemporary;
            if (kills % 2 == 0) {
                Profile next = old;
                next.Money = old.Money + 1;
                EXPECT_FALSE(SaveProfileFile(path, next, SpinValues{3, 2}));
                EXPECT_EQ(ReadFile(path), LineOf(next));
                EXPECT_NE(access(temporary.c_str(), F_OK), 0);
                old = next;
            }
        }
        ++kills;
        return whole;
    };

    long k = 0;
    for (; k < Kills || ((foundOld == 0 || foundNew == 0) && Clock::now() - began < patience); ++k) {
        Profile fresh = old;
        fresh.Money = old.Money + 1;
        const long delay = std::uniform_int_distribution<long>(0, range)(random);
        const Outcome outcome = SaveInChild(path, fresh, Kill{Kill::AfterDelay, std::chrono::microseconds(delay)});
        ASSERT_TRUE(check(fresh, outcome, "kill " + std::to_string(k) + " at " + std::to_string(delay) + " µs"));
        if (oldInARow >= 50 && range < LongestRange) {
            range = std::min(range * 2, LongestRange);
            oldInARow = 0;
        }
    }
    const long randomOld = foundOld, randomNew = foundNew, randomFinished = finished;

    // The moment after the rename, on purpose: the new profile, whole.
    constexpr int AtTheRename = 20;
    long killedSaving = 0;
    for (int r = 0; r < AtTheRename; ++r) {
        Profile fresh = old;
        fresh.Money = old.Money + 1;
        const long newBefore = foundNew;
        const Outcome outcome = SaveInChild(path, fresh, Kill{Kill::AtTheRename});
        killedSaving += !outcome.Finished;
        ASSERT_TRUE(check(fresh, outcome, "kill " + std::to_string(r) + " at the rename"));
        EXPECT_EQ(foundNew, newBefore + 1) << "kill " << r << " at the rename left the old profile";
    }

    std::printf("save kill: %ld random kills over 0 … %ld µs (a whole save takes %lld µs): the old profile %ld times, "
                "the new one %ld times; %ld saves finished before the kill; %d kills at the rename, %ld of them "
                "before the save had ended: the new profile each time; %ld kills left a temporary file\n",
                k, range, static_cast<long long>(span.count()), randomOld, randomNew, randomFinished, AtTheRename,
                killedSaving, leftTemporary);
    // The random kills must have met the save at both ends, or nothing was tested.
    EXPECT_GT(randomOld, 0) << "no random kill came before the rename";
    EXPECT_GT(randomNew, 0) << "no random kill came after the rename, in " << k << " kills up to " << range << " µs";
    EXPECT_EQ(std::system(("rm -rf " + folder).c_str()), 0);
}

int main(int argc, char** argv)
{
    if (const char* kills = std::getenv("VZ_SAVE_KILLS"))
        Kills = std::strtol(kills, nullptr, 10);
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--kills")
            Kills = std::strtol(argv[++i], nullptr, 10);
    return RUN_ALL_TESTS();
}
