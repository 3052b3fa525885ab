// artgen: draws every picture of the game and writes the files the build needs.
//
//   artgen <build folder> <generated source>
//
// Writes art/catalogue.bin, art/catalogue/NN.png, tiles/0.jpg … 8.jpg,
// map/map1.bmp … map10.bmp, the desktop icons art/icons/16.png … 256.png,
// review sheets under art/review/, and the C++
// source that embeds the catalogue and the window's artwork.

#include "view/ImageCatalogue.h"

#include "ArtColours.h"
#include "CarArt.h"
#include "Output.h"
#include "SceneArt.h"
#include "SmallArt.h"
#include "TileArt.h"

#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <exception>
#include <vector>

namespace {

// The catalogue in the game's own order (view/ImageCatalogue.h).
std::vector<QImage> DrawCatalogue()
{
    std::vector<QImage> entries(CatalogueSize);
    entries[MarkerPicture] = MarkerFrame();
    for (int car = 1; car <= CarCount; ++car)
        entries[FirstCarPicture + car - 1] = CarPicture(car);
    for (int count = 0; count < SlotCount; ++count)
        entries[EmptyTilePicture + count] = BayTilePicture(count);
    entries[PlaceholderPicture] = PlaceholderPanel();
    return entries;
}

void Run(const QString& out, const QString& source)
{
    const std::vector<QImage> catalogue = DrawCatalogue();
    QByteArray stored;
    std::vector<int> modes;
    for (size_t i = 0; i < catalogue.size(); ++i) {
        stored.append(StoredEntry(catalogue[i]));
        modes.push_back(static_cast<int>(i) == PlaceholderPicture ? 1 : 0); // opaque
        WriteFile(out + QString("/art/catalogue/%1.png").arg(static_cast<int>(i), 2, 10, QChar('0')), PngBytes(catalogue[i]));
    }
    WriteFile(out + "/art/catalogue.bin", stored);

    for (int n = 0; n <= 8; ++n)
        WriteFile(out + QString("/tiles/%1.jpg").arg(n), JpegBytes(HeaderItemPicture(n), 95));
    for (int shape = 1; shape <= 10; ++shape)
        WriteFile(out + QString("/map/map%1.bmp").arg(shape), BitmapBytes(MapBackground(shape, catalogue)));

    std::vector<EmbeddedArray> arrays;
    arrays.push_back({"EmbeddedCatalogue", stored});
    const QImage page = PageBackground(catalogue);
    arrays.push_back({"EmbeddedPageBackground", JpegBytes(page, 90)});
    for (int item = 0; item < ShopPictureCount; ++item)
        arrays.push_back({"EmbeddedShopPicture" + std::to_string(item), JpegBytes(ShopPicture(item), 95)});
    arrays.push_back({"EmbeddedHeaderPlaceholder", JpegBytes(HeaderPlaceholderPicture(), 95)});
    arrays.push_back({"EmbeddedIcon", PngBytes(IconPicture(64))});
    WriteFile(source, EmbeddedSource(arrays, modes));
    for (int size : IconSizes)
        WriteFile(out + QString("/art/icons/%1.png").arg(size), PngBytes(IconPicture(size)));

    // For people, not for the game: what the player will see.
    WriteFile(out + "/art/review/catalogue-sheet.png", PngBytes(ContactSheet(catalogue)));
    WriteFile(out + "/art/review/page.png", PngBytes(page));
    WriteFile(out + "/art/review/items.png", PngBytes(ItemSheet()));
    for (int shape = 1; shape <= 10; ++shape)
        WriteFile(out + QString("/art/review/board%1.png").arg(shape), PngBytes(BoardReview(shape, catalogue)));
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no screen is needed to draw into images.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: artgen <build folder> <generated source>\n");
        return 2;
    }
    try {
        Run(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
