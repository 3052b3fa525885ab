// tiles/N.jpg as the shop header loads it: the game's own reader and decoder
// (256 colours, two-pass quantisation, Floyd–Steinberg, accurate IDCT). A file
// either fails with a message or gives an opaque picture of its declared size.
#include "FuzzFiles.h"

#include "core/GameError.h"
#include "view/PictureFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::ProcessFolder() + "tiles/3.jpg";
    fuzz::WriteFile(path, data, size);
    const PictureRead read = ReadJpegFile(path);
    if (read.Error) {
        if (!read.Image.Empty())
            Fail("a JPEG that failed gave a picture");
        return 0;
    }
    const Picture& picture = read.Image;
    if (picture.Empty() || picture.Pixels.size() != static_cast<size_t>(picture.Width) * picture.Height)
        Fail("a decoded JPEG has no pixels");
    for (uint32_t pixel : picture.Pixels)
        if (pixel >> 24 != 255)
            Fail("a decoded JPEG pixel is not opaque");
    return 0;
}
