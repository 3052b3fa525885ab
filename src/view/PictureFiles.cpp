// The picture files that need no Qt: reading a file whole and the JPEG decoder.
#include "view/PictureFiles.h"

#include "core/GameError.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

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

namespace {

PictureRead Failed(GameError error)
{
    PictureRead read;
    read.Error = std::move(error);
    return read;
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
