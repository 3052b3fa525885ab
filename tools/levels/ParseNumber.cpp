#include "tools/levels/ParseNumber.h"

bool ParseNumber(const char* text, unsigned long long limit, unsigned long long& value)
{
    if (*text == '\0')
        return false;
    value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(*c - '0');
        if (value > limit)
            return false;
    }
    return true;
}
