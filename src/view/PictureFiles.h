#pragma once
#include "core/GameError.h"
#include "view/Picture.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A picture read from a file, or why it could not be (empty when it was read).
struct PictureRead {
    Picture Image;
    GameError Error;
};

// A Windows bitmap read through Qt's image reader. Fewer than 32 bits per pixel
// gives alpha 255. Errors: "File not found" when missing, "Bitmap image is not
// valid" when damaged or cut short.
PictureRead ReadBitmapFile(const std::string& path);

// JPEG decoded by libjpeg with 256-colour two-pass quantisation, Floyd–Steinberg
// dithering and the accurate integer IDCT; alpha 255. Errors: "Cannot open file
// <path>" when it cannot be opened, libjpeg's message when damaged.
PictureRead ReadJpegFile(const std::string& path);
PictureRead ReadJpegBytes(const uint8_t* data, size_t size);

// The whole file into `bytes`; the runtime's file error when it cannot be opened or read.
GameError ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
