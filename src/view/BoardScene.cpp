#include "view/BoardScene.h"

#include "view/Projection.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int GroundLayerCount = MaxBays;
constexpr uint32_t Black = Rgb(0, 0, 0);
constexpr Rect PreviewRect{0, 0, CarRectWidth, CarRectHeight};

} // namespace

BoardScene::BoardScene(LayerScene& playView, LayerScene& previewBox, const Catalogue& catalogue)
    : Play(playView), Preview(previewBox), Pictures(catalogue)
{
    Preview.SharePreparedPictures(Play);
}

void BoardScene::CreatePlayLayers()
{
    // The layer set is fixed for the life of the process; a second call puts the
    // existing layers back to their first state instead of adding more.
    Play.BeginUpdate();
    while (Play.LayerCount() < PlayLayerCount)
        Play.AddLayer();
    for (int i = 0; i < GroundLayerCount; ++i) {
        Play.SetPicture(GroundLayerBase + i, Pictures[EmptyTilePicture]);
        Play.SetLocation(GroundLayerBase + i, StartRect);
        Play.SetVisible(GroundLayerBase + i, false);
    }
    for (int marker : {HoverMarkerLayer, SelectionMarkerLayer}) {
        Play.SetPicture(marker, Pictures[MarkerPicture]);
        Play.SetLocation(marker, StartRect);
        Play.SetVisible(marker, false);
    }
    for (int k = 1; k <= GroundLayerCount; ++k) {
        Play.SetPicture(CarLayerBase + k, Pictures[MarkerPicture]);
        Play.SetLocation(CarLayerBase + k, CarStartRect);
        Play.SetVisible(CarLayerBase + k, false);
    }
    Play.EndUpdate();
    Play.Changed();
}

void BoardScene::PrepareAllPictures()
{
    for (const Picture& picture : Pictures)
        if (!picture.Empty())
            Play.PreparePicture(picture); // the preview shares them
}

void BoardScene::CreatePreviewLayer()
{
    Preview.BeginUpdate();
    if (Preview.LayerCount() == 0)
        Preview.AddLayer();
    Preview.SetPicture(0, Pictures[PlaceholderPicture]);
    Preview.SetLocation(0, PreviewRect);
    Preview.SetVisible(0, true);
    Preview.EndUpdate();
    Preview.Changed();
}

void BoardScene::SetCarsLeftSink(std::function<void(int32_t)> sink) { CarsLeftSink = std::move(sink); }

void BoardScene::ShowBackground(Picture background)
{
    if (background.Empty())
        Play.SetUpBackground(Black);
    else
        Play.LoadBackground(std::move(background));
}

void BoardScene::BeginUpdate() { Play.BeginUpdate(); }
void BoardScene::EndUpdate() { Play.EndUpdate(); }
void BoardScene::Changed() { Play.Changed(); }

int BoardScene::Ordinal(int32_t column, int32_t row) const
{
    if (!InGrid(column, row))
        return 0;
    const int k = Ordinals(column, row);
    return k >= 1 && k <= GroundLayerCount ? k : 0;
}

void BoardScene::ResetBoardScene(int32_t)
{
    const int layers = Play.LayerCount();
    for (int i = 0; i < layers; ++i)
        if (i != HoverMarkerLayer)
            Play.SetVisible(i, false);
    Ordinals.Fill(0);
    // The shape's picture, if it has one, comes from the window once the board is dealt.
    Play.SetUpBackground(Black);
}

void BoardScene::PlaceBay(int32_t ordinal, int32_t column, int32_t row)
{
    // An ordinal past the last ground layer would move a marker or another bay.
    if (ordinal < 1 || ordinal > GroundLayerCount || !InGrid(column, row))
        return;
    Ordinals(column, row) = ordinal;
    Play.SetPicture(GroundLayerBase + ordinal - 1, Pictures[EmptyTilePicture]);
    Play.SetLocation(GroundLayerBase + ordinal - 1, BayRect(column, row));
    Play.SetLocation(CarLayerBase + ordinal, CarRect(column, row));
}

const Picture& BoardScene::HiddenCountPicture(int32_t count) const
{
    // Counts beyond 0 … 5 do not occur; clamped, they cannot reach past the tiles.
    return Pictures[static_cast<size_t>(EmptyTilePicture + std::clamp(count, 0, SlotCount - 1))];
}

void BoardScene::ShowHiddenCount(int32_t column, int32_t row, int32_t count)
{
    const int k = Ordinal(column, row);
    if (k == 0)
        return;
    Play.SetPicture(GroundLayerBase + k - 1, HiddenCountPicture(count));
    Play.SetVisible(GroundLayerBase + k - 1, true);
}

void BoardScene::SetHiddenCountPicture(int32_t column, int32_t row, int32_t count)
{
    const int k = Ordinal(column, row);
    if (k == 0)
        return;
    Play.SetPicture(GroundLayerBase + k - 1, HiddenCountPicture(count));
}

void BoardScene::ShowCar(int32_t column, int32_t row, CarId car)
{
    const int k = Ordinal(column, row);
    if (k == 0 || car < 0 || car >= CatalogueSize)
        return;
    // CarId 0 shows the 96 × 48 marker squeezed into the 74 × 48 car rectangle.
    Play.SetPicture(CarLayerBase + k, Pictures[static_cast<size_t>(car)]);
    Play.SetVisible(CarLayerBase + k, true);
}

void BoardScene::HideCar(int32_t column, int32_t row)
{
    const int k = Ordinal(column, row);
    if (k == 0)
        return;
    Play.SetVisible(CarLayerBase + k, false);
}

void BoardScene::MoveHoverMarker(int32_t column, int32_t row) { Play.SetLocation(HoverMarkerLayer, BayRect(column, row)); }

void BoardScene::ResetHoverMarker()
{
    Play.SetLocation(HoverMarkerLayer, StartRect);
    Play.SetVisible(HoverMarkerLayer, true);
}

void BoardScene::ShowSelectionMarker(int32_t column, int32_t row)
{
    Play.SetLocation(SelectionMarkerLayer, BayRect(column, row));
    Play.SetVisible(SelectionMarkerLayer, true);
}

void BoardScene::HideSelectionMarker() { Play.SetVisible(SelectionMarkerLayer, false); }

void BoardScene::ShowCarsLeft(int32_t carsLeft)
{
    if (CarsLeftSink)
        CarsLeftSink(carsLeft);
}

void BoardScene::ShowPreview(CarId car)
{
    if (car < 0 || car >= CatalogueSize || Preview.LayerCount() == 0)
        return;
    Preview.BeginUpdate();
    Preview.SetPicture(0, Pictures[static_cast<size_t>(car)]);
    Preview.SetVisible(0, true);
    Preview.EndUpdate();
    Preview.Changed();
}
