#include "GameError.h"

#include <cerrno>
#include <cstring>
#include <limits>

GameError GameError::FromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileNotFound();
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return FileAccessDenied();
    case ENOSPC:
        return GameError("Disk full");
    default:
        return GameError(std::string("I/O error ") + std::to_string(error) + " (" + std::strerror(error) + ")");
    }
}

int32_t StrToInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i == text.size())
        throw GameError::NotValidInteger(text);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            throw GameError::NotValidInteger(text);
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max())
            throw GameError::NotValidInteger(text);
    }
    return static_cast<int32_t>(value);
}
