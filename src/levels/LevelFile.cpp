#include "LevelFile.h"

#include "core/GameError.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>

int32_t& LevelRecord::FieldAt(int k)
{
    if (k == 0)
        return ShapeId;
    if (k == 1)
        return PoolTypeId;
    if (k >= 2 && k <= 42)
        return Positions[k - 2];
    assert(k == 43);
    return PositionCount;
}

LevelRecord& LevelTable::Level(int32_t number)
{
    assert(IsLevelNumber(number));
    return Records[static_cast<size_t>(std::clamp(number, 1, LevelCount) - 1)];
}

const LevelRecord& LevelTable::Level(int32_t number) const { return const_cast<LevelTable*>(this)->Level(number); }

namespace {

constexpr size_t MinParsedLength = 60;

// Fills one record from a line of at least 60 characters; a token that is not
// a number stops it, and the fields before it stay filled.
GameError ParseLine(const std::string& line, int32_t lineNumber, LevelRecord& record)
{
    std::string rest = line.substr(std::min<size_t>(4, line.size()));
    int k = 0;
    while (!rest.empty()) {
        ++k;
        const std::string token = rest.substr(0, 3);
        rest.erase(0, std::min<size_t>(4, rest.size()));
        if (token.find('-') != std::string::npos) {
            record.PositionCount = k - 3;
            return {};
        }
        // Field 43 is the count: a 42nd code would overwrite it and a 43rd run past the record.
        if (k - 1 > 42)
            return GameError("Level line " + std::to_string(lineNumber) + " has more than " +
                             std::to_string(MaxPositions) + " position codes");
        if (GameError error = StrToInt(token, record.FieldAt(k - 1)))
            return error;
    }
    return {};
}

} // namespace

GameError ParseLevelText(const std::string& bytes, LevelTable& table)
{
    // A character 26 ends the file, as in old DOS text files.
    const size_t end = std::min(bytes.find('\x1a'), bytes.size());
    size_t pos = 0;
    for (int32_t number = 1; number <= LevelCount; ++number) {
        std::string line;
        if (pos < end) {
            const size_t stop = std::min(bytes.find_first_of("\r\n", pos), end);
            line = bytes.substr(pos, stop - pos);
            pos = stop;
            if (pos < end && bytes[pos] == '\r')
                ++pos;
            if (pos < end && bytes[pos] == '\n')
                ++pos;
        }
        if (line.size() < MinParsedLength)
            continue;
        if (GameError error = ParseLine(line, number, table.Level(number)))
            return error;
    }
    return {};
}

GameError LoadLevelFile(const std::string& path, LevelTable& table)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return GameError::FromErrno(errno);
    // A read error (a folder in the file's place opens but cannot be read) must
    // not pass for an empty file, whose levels would all be zeros.
    std::string content;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed)
        return GameError::FromErrno(error);
    return ParseLevelText(content, table);
}

GameError LoadLevelTable(const std::string& programFolder, LevelTable& table)
{
    return LoadLevelFile(programFolder + "map/level.ini", table);
}
