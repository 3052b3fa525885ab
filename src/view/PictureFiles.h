#pragma once
#include "view/Picture.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A Windows bitmap read through Qt's image reader. Fewer than 32 bits per pixel
// gives alpha 255. Throws GameError: "File not found" when missing,
// "Bitmap image is not valid" when damaged or cut short.
Picture LoadBitmapFile(const std::string& path);

// JPEG decoded by libjpeg with 256-colour two-pass quantisation, Floyd–Steinberg
// dithering and the accurate integer IDCT; alpha 255. Throws GameError:
// "Cannot open file <path>" when it cannot be opened, libjpeg's message when damaged.
Picture LoadJpegFile(const std::string& path);
Picture DecodeJpeg(const uint8_t* data, size_t size);
