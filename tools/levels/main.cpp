// vroomzle-levels: checks and previews level files for level designers.
#include "core/GameError.h"
#include "levels/CheckLevel.h"
#include "levels/LevelFile.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintUsage(FILE* out)
{
    std::fputs("usage: vroomzle-levels check FILE\n"
               "\n"
               "  check FILE   Reads a level file (map/level.ini format) and prints one line\n"
               "               'level N: <problem>' for every broken condition of every level,\n"
               "               then a summary. Exits 0 only when every level a game mode can\n"
               "               deal (1-84, 91-94, 101-104, 106-109) is well-formed; 1 when one\n"
               "               is not; 2 when the file cannot be read.\n",
               out);
}

int Check(const char* path)
{
    LevelTable table;
    try {
        LoadLevelFile(path, table);
    } catch (const GameError& e) {
        std::fprintf(stderr, "%s: %s.\n", path, e.what());
        return 2;
    }
    int problems = 0, badReachable = 0, badOther = 0;
    for (int32_t number = 1; number <= LevelCount; ++number) {
        const auto found = CheckLevel(table.Level(number));
        for (const std::string& problem : found)
            std::printf("level %d: %s%s\n", number, problem.c_str(), IsReachableLevel(number) ? "" : " (not dealt by any mode)");
        problems += static_cast<int>(found.size());
        if (!found.empty())
            ++(IsReachableLevel(number) ? badReachable : badOther);
    }
    if (problems == 0)
        std::printf("%d levels checked: all well-formed\n", LevelCount);
    else
        std::printf("%d levels checked: %d problems; %d playable levels and %d unused levels are broken\n", LevelCount,
                    problems, badReachable, badOther);
    return badReachable == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc == 3 && !std::strcmp(argv[1], "check"))
        return Check(argv[2]);
    PrintUsage(stderr);
    return 2;
}
