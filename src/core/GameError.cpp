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

GameError GameError::NotValidInteger(const std::string& text)
{
    std::string shown;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F)
            shown += "#" + std::to_string(code);
        else
            shown += c;
    }
    return GameError("'" + shown + "' is not a valid integer value");
}

GameError StrToInt(const std::string& text, int32_t& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i == text.size())
        return GameError::NotValidInteger(text);
    int64_t number = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return GameError::NotValidInteger(text);
        number = number * 10 + (c - '0');
        if (number > std::numeric_limits<int32_t>::max())
            return GameError::NotValidInteger(text);
    }
    value = static_cast<int32_t>(number);
    return {};
}
