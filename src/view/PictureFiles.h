#pragma once
#include "view/Picture.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A picture read from a file, or why it could not be: Error holds the message
// the player sees (without full stop), empty when the picture was read. A file
// the game can do without comes back this way, so play goes on without a catch.
struct PictureRead {
    Picture Image;
    std::string Error;
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

// The same, throwing GameError with the message instead.
Picture LoadBitmapFile(const std::string& path);
Picture LoadJpegFile(const std::string& path);
Picture DecodeJpeg(const uint8_t* data, size_t size);
