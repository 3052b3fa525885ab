#pragma once
#include <string>

// The folder of the running executable, ending in '/'. Every data file of the
// game is found relative to it, so the build folder can be copied anywhere.
std::string ProgramFolder();
