#pragma once
// The whole of a file, byte for byte; empty when it cannot be read.
#include <fstream>
#include <iterator>
#include <string>

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
