// The background bitmaps, read through Qt's image reader.
#include "view/PictureFiles.h"

#include "core/GameError.h"

#include <QByteArray>
#include <QImage>

#include <cstring>
#include <utility>
#include <vector>

namespace {

PictureRead Failed(GameError error)
{
    PictureRead read;
    read.Error = std::move(error);
    return read;
}

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint32_t>(b[at] | (b[at + 1] << 8)); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

struct BitmapLayout {
    uint32_t BitCount = 0;
    uint32_t Compression = 0;
    uint64_t OffBits = 0;
    int64_t Width = 0;
    int64_t Height = 0; // negative: rows stored top to bottom
};

// Qt's reader accepts a file cut short in its pixel data and fills the missing
// rows with zeros, so the headers are checked against the file's size first.
bool BitmapHeadersHold(const std::vector<uint8_t>& b, BitmapLayout& layout)
{
    constexpr size_t FileHeader = 14;
    if (b.size() < FileHeader + 12 || b[0] != 'B' || b[1] != 'M')
        return false;
    const uint64_t offBits = U32(b, 10);
    const uint32_t infoSize = U32(b, 14);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    uint64_t sizeImage = 0;
    if (infoSize == 12) {
        width = U16(b, 18);
        height = U16(b, 20);
        bitCount = U16(b, 24);
    } else if (infoSize >= 40 && b.size() >= FileHeader + 40) {
        width = static_cast<int32_t>(U32(b, 18));
        height = static_cast<int32_t>(U32(b, 22));
        bitCount = U16(b, 28);
        compression = U32(b, 30);
        sizeImage = U32(b, 34);
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || offBits < FileHeader + infoSize || offBits > b.size())
        return false;
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
    layout = BitmapLayout{bitCount, compression, offBits, width, height};
    switch (compression) {
    case 0: // BI_RGB
    case 3: // BI_BITFIELDS
    case 6: { // BI_ALPHABITFIELDS
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
            return false;
        const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
        return offBits + rowBytes * rows <= b.size();
    }
    case 1: // BI_RLE8
    case 2: // BI_RLE4
        return offBits + sizeImage <= b.size() && offBits < b.size();
    default:
        return true; // left to the reader
    }
}

} // namespace

PictureRead ReadBitmapFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (GameError error = ReadWholeFile(path, bytes))
        return Failed(std::move(error));
    const GameError notValid = GameError::BitmapNotValid();
    BitmapLayout layout;
    if (!BitmapHeadersHold(bytes, layout))
        return Failed(notValid);
    const uint32_t bitCount = layout.BitCount;
    QImage image = QImage::fromData(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                           static_cast<qsizetype>(bytes.size())),
                                    "BMP");
    if (image.isNull())
        return Failed(notValid);
    const bool keepsAlpha = bitCount == 32;
    const bool readerKeptAlpha = image.hasAlphaChannel();
    // In place where Qt can, so a large background is not held twice.
    image.convertTo(keepsAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return Failed(notValid);
    PictureRead read;
    Picture& picture = read.Image;
    picture = Picture(image.width(), image.height(), 0, DrawMode::Opaque);
    for (int32_t y = 0; y < picture.Height; ++y)
        std::memcpy(&picture.At(0, y), image.constScanLine(y), static_cast<size_t>(picture.Width) * 4);
    image = QImage();
    if (!keepsAlpha) {
        for (uint32_t& pixel : picture.Pixels)
            pixel |= 0xFF000000u;
    } else if (layout.Compression == 0 && !readerKeptAlpha && layout.Width == picture.Width &&
               (layout.Height < 0 ? -layout.Height : layout.Height) == picture.Height) {
        // Qt reads a plain 32-bit bitmap as RGB32 and drops the fourth byte of
        // each pixel; a 32-bit picture keeps its alpha, so it is taken from the file.
        const size_t rowBytes = static_cast<size_t>(layout.Width) * 4;
        for (int32_t y = 0; y < picture.Height; ++y) {
            const int32_t stored = layout.Height < 0 ? y : picture.Height - 1 - y;
            const uint8_t* row = bytes.data() + layout.OffBits + static_cast<size_t>(stored) * rowBytes;
            for (int32_t x = 0; x < picture.Width; ++x)
                picture.At(x, y) = (picture.At(x, y) & 0xFFFFFFu) | (static_cast<uint32_t>(row[x * 4 + 3]) << 24);
        }
    }
    return read;
}
