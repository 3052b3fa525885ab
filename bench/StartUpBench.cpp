// BM_StartUp: QApplication to the first frame of the MENU page, offscreen, in a
// fresh process each iteration; BM_StartUpBareWindow is the same for a plain
// QMainWindow, the anchor of the ratio, and BM_StartUpTextWindow for that window
// with one line of text, which pays Qt's font loading as the game must. The probe reports its own time, so
// process creation and loading are left out of both alike.
#include "core/ProgramFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Runs the probe once; its start-up time in seconds, or a negative number.
double ProbeOnce(const char* flag)
{
    const std::string probe = ProgramFolder() + "vroomzle-startup-probe";
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // Qt's notes about the session would drown the table; a failure shows as the skip.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string name = "vroomzle-startup-probe", option = flag ? flag : "";
    char* args[] = {name.data(), flag ? option.data() : nullptr, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, probe.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[64];
    ssize_t n = 0;
    while (spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::strtod(text.c_str(), nullptr) / 1e9;
}

void Run(benchmark::State& state, const char* flag)
{
    for (auto _ : state) {
        const double seconds = ProbeOnce(flag);
        if (seconds <= 0) {
            state.SkipWithError("the start-up probe failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartUp(benchmark::State& state) { Run(state, nullptr); }
void BM_StartUpBareWindow(benchmark::State& state) { Run(state, "--bare"); }
void BM_StartUpTextWindow(benchmark::State& state) { Run(state, "--text"); }

} // namespace

BENCHMARK(BM_StartUpBareWindow)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpTextWindow)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
