// A save killed at any moment leaves the old profile or the new one, whole.
//
// A child process runs the real save, SaveProfileFile, and is killed with SIGKILL
// after a random delay, from the moment it starts to past the end of the save
// (the span is measured first). The file must then hold exactly the old line or
// exactly the new one, never nothing, a part or a mix, and whatever temporary
// file the kill left, the next save must work.
//
//   build/tests/test_save_kill                 300 kills
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
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

long Kills = 300;

using Clock = std::chrono::steady_clock;

std::string LineOf(const Profile& profile) { return FormatProfileLine(profile, SpinValues{3, 2}) + "\n"; }

struct Outcome {
    bool Finished = false;          // the save ended before the kill came
    Clock::duration Span{};         // from the start of the save to the child's end
};

// Saves `profile` in a child process and kills it `delay` after the save began
// (no kill for a negative delay).
Outcome SaveInChild(const std::string& path, const Profile& profile, Clock::duration delay)
{
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
    if (started && delay >= Clock::duration::zero()) {
        // Spinning, not sleeping: a sleep is rounded up to the scheduler's tick.
        while (Clock::now() - start < delay) {
        }
        kill(child, SIGKILL);
    }
    int status = 0;
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
        spans.push_back(SaveInChild(path, old, Clock::duration(-1)).Span);
    std::sort(spans.begin(), spans.end());
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(spans[spans.size() / 2]);
    // Kills from the first microsecond to half a save past its end.
    std::mt19937 random(20261209);
    std::uniform_int_distribution<long> delay(0, span.count() * 3 / 2);

    long foundOld = 0, foundNew = 0, finished = 0, leftTemporary = 0;
    for (long k = 0; k < Kills; ++k) {
        Profile fresh = old;
        fresh.Money = old.Money + 1;
        const Outcome outcome = SaveInChild(path, fresh, std::chrono::microseconds(delay(random)));
        finished += outcome.Finished;
        const std::string found = ReadFile(path);
        if (found == LineOf(old)) {
            ++foundOld;
            ASSERT_FALSE(outcome.Finished) << "a finished save left the old profile";
        } else if (found == LineOf(fresh)) {
            ++foundNew;
            old = fresh;
        } else {
            FAIL() << "kill " << k << " left " << (found.empty() ? "an empty or missing file" : "'" + found + "'");
        }
        // Whatever the kill left behind, the next save works and cleans up.
        if (access(temporary.c_str(), F_OK) == 0) {
            ++leftTemporary;
            if (k % 2 == 0) {
                fresh.Money = old.Money + 1;
                ASSERT_FALSE(SaveProfileFile(path, fresh, SpinValues{3, 2}));
                ASSERT_EQ(ReadFile(path), LineOf(fresh));
                ASSERT_NE(access(temporary.c_str(), F_OK), 0);
                old = fresh;
            }
        }
    }
    std::printf("save kill: %ld kills over 0 … %lld µs (a whole save takes %lld µs): the old profile %ld times, "
                "the new one %ld times; %ld saves finished before the kill; %ld kills left a temporary file\n",
                Kills, static_cast<long long>(span.count() * 3 / 2), static_cast<long long>(span.count()), foundOld,
                foundNew, finished, leftTemporary);
    // The kills must have met the save at both ends, or nothing was tested.
    EXPECT_GT(foundOld, 0);
    EXPECT_GT(foundNew, 0);
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
