#pragma once
#include <cstdint>

// A car: 1 … 82, also the index of its picture in the image catalogue; 0 is no car.
using CarId = int32_t;

constexpr CarId CarCount = 82;
