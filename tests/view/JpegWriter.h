#pragma once
// JPEGs made by libjpeg's own compressor, for the picture tests and the fuzz seeds.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>

struct JpegOptions {
    int Width = 25;
    int Height = 64;
    bool Grey = false; // one component, taken from the green channel
    int Quality = 95;
    bool Progressive = false;
    bool Arithmetic = false;
    bool Optimize = false;
    int Restart = 0;   // MCU rows between restart markers
    bool Full = false; // 4:4:4 instead of 4:2:0
    const std::vector<jpeg_scan_info>* Script = nullptr; // scans of one's own
};

// `colour(x, y)` gives 0xRRGGBB (alpha ignored).
inline std::vector<uint8_t> WriteJpeg(const JpegOptions& o, const std::function<uint32_t(int, int)>& colour)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(o.Width);
    cinfo.image_height = JDIMENSION(o.Height);
    cinfo.input_components = o.Grey ? 1 : 3;
    cinfo.in_color_space = o.Grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, o.Quality, TRUE);
    if (o.Progressive)
        jpeg_simple_progression(&cinfo);
    if (o.Script) {
        cinfo.scan_info = o.Script->data();
        cinfo.num_scans = int(o.Script->size());
    }
    cinfo.arith_code = o.Arithmetic ? TRUE : FALSE;
    cinfo.optimize_coding = o.Optimize ? TRUE : FALSE;
    cinfo.restart_in_rows = o.Restart;
    if (o.Full && !o.Grey)
        for (int c = 0; c < 3; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(o.Width) * size_t(cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < o.Width; ++x) {
            const uint32_t c = colour(x, y);
            if (o.Grey) {
                row[size_t(x)] = JSAMPLE((c >> 8) & 255);
            } else {
                row[size_t(x) * 3] = JSAMPLE((c >> 16) & 255);
                row[size_t(x) * 3 + 1] = JSAMPLE((c >> 8) & 255);
                row[size_t(x) * 3 + 2] = JSAMPLE(c & 255);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}
