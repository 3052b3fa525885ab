#include "view/PictureFiles.h"

#include "core/GameError.h"

#include <QByteArray>
#include <QImage>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

// Whole file into memory; the runtime's file error when it cannot be opened or read.
GameError ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return GameError::FromErrno(errno);
    uint8_t chunk[65536];
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk)
            break;
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    return failed ? GameError::FromErrno(error) : GameError();
}

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

struct JpegErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegFail(j_common_ptr cinfo)
{
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->Message);
    std::longjmp(errors->Jump, 1);
}

void JpegMessage(j_common_ptr cinfo, int level)
{
    // A warning means damaged data (a file cut short, a corrupt segment); the
    // library would go on and hand back a picture patched with grey.
    if (level < 0)
        JpegFail(cinfo);
}

// Pictures larger than this are refused rather than allocated.
constexpr uint64_t MaxJpegPixels = 1u << 26;
// A progressive file may split its picture into any number of scans, and each one
// is a pass over every block: a few kilobytes of scan headers over a large picture
// keep the decoder busy for minutes. Encoders write about ten.
constexpr int MaxJpegScans = 100;

void JpegProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number <= MaxJpegScans)
        return;
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    std::snprintf(errors->Message, sizeof errors->Message, "JPEG image has more than %d scans", MaxJpegScans);
    std::longjmp(errors->Jump, 1);
}

struct JpegResult {
    uint32_t* Pixels = nullptr; // malloc'ed, width × height
    int32_t Width = 0;
    int32_t Height = 0;
};

// Plain C in spirit: nothing in this frame has a destructor, because libjpeg's
// errors leave it through longjmp.
bool DecodeJpegInto(const uint8_t* data, size_t size, JpegResult* result, JpegErrors* errors)
{
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&errors->Manager);
    errors->Manager.error_exit = JpegFail;
    errors->Manager.emit_message = JpegMessage;
    errors->Message[0] = '\0';
    if (setjmp(errors->Jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(result->Pixels);
        result->Pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_progress_mgr progress{};
    progress.progress_monitor = JpegProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const uint64_t pixels = static_cast<uint64_t>(cinfo.image_width) * cinfo.image_height;
    if (pixels == 0 || pixels > MaxJpegPixels) {
        std::snprintf(errors->Message, sizeof errors->Message, "JPEG image is too large (%u x %u)",
                      static_cast<unsigned>(cinfo.image_width), static_cast<unsigned>(cinfo.image_height));
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.quantize_colors = TRUE;
    cinfo.desired_number_of_colors = 256;
    cinfo.two_pass_quantize = TRUE;
    cinfo.dither_mode = JDITHER_FS;
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&cinfo);
    result->Width = static_cast<int32_t>(cinfo.output_width);
    result->Height = static_cast<int32_t>(cinfo.output_height);
    result->Pixels = static_cast<uint32_t*>(std::malloc(pixels * sizeof(uint32_t)));
    if (!result->Pixels) {
        std::snprintf(errors->Message, sizeof errors->Message, "Out of memory");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // The colour map: three rows for colour pictures, one for greyscale.
    uint32_t palette[256];
    const int colours = cinfo.actual_number_of_colors;
    for (int i = 0; i < 256; ++i) {
        uint32_t r = 0, g = 0, b = 0;
        if (i < colours) {
            r = cinfo.colormap[0][i];
            g = cinfo.out_color_components >= 3 ? cinfo.colormap[1][i] : r;
            b = cinfo.out_color_components >= 3 ? cinfo.colormap[2][i] : r;
        }
        palette[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, row, 1);
        uint32_t* out = result->Pixels + static_cast<size_t>(y) * cinfo.output_width;
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x)
            out[x] = palette[row[0][x]];
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
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

PictureRead ReadJpegBytes(const uint8_t* data, size_t size)
{
    JpegResult result;
    JpegErrors errors;
    if (!DecodeJpegInto(data, size, &result, &errors))
        // An error without a text must still read as one.
        return Failed(GameError(errors.Message[0] != '\0' ? errors.Message : "JPEG image is not valid"));
    PictureRead read;
    read.Image = Picture(result.Width, result.Height, 0, DrawMode::Opaque);
    std::memcpy(read.Image.Pixels.data(), result.Pixels, read.Image.Pixels.size() * sizeof(uint32_t));
    std::free(result.Pixels);
    return read;
}

PictureRead ReadJpegFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path, bytes))
        return Failed(GameError::CannotOpenFile(path));
    return ReadJpegBytes(bytes.data(), bytes.size());
}
