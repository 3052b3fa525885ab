#pragma once
// The level tool's numeric arguments.

// Plain decimal digits only, at most `limit`.
bool ParseNumber(const char* text, unsigned long long limit, unsigned long long& value);
