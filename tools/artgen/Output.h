#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>
#include <utility>
#include <vector>

// Files are written whole to a temporary name and then renamed, so an
// interrupted run never leaves half a file behind for the build to trust.
void WriteFile(const QString& path, const QByteArray& bytes);

// A 24-bit Windows bitmap, bottom-up rows padded to four bytes.
QByteArray BitmapBytes(const QImage& image);
QByteArray JpegBytes(const QImage& image, int quality);
QByteArray PngBytes(const QImage& image);

// The stored form of one catalogue entry: width, height (little-endian int32)
// and the pixels as blue, green, red, alpha, rows top to bottom.
QByteArray StoredEntry(const QImage& image);

// A C++ source that defines each named byte array, plus NAME_Size.
struct EmbeddedArray {
    std::string Name;
    QByteArray Bytes;
};
QByteArray EmbeddedSource(const std::vector<EmbeddedArray>& arrays, const std::vector<int>& drawModes);
