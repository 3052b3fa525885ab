#pragma once
#include "model/Board.h"
#include "model/BoardView.h"
#include "view/ImageCatalogue.h"
#include "view/LayerScene.h"

#include <functional>
#include <string>

// The layer plan of the play view: a ground layer and a car layer for each bay
// a shape can have, the two markers between them.
constexpr int GroundLayerBase = 0;                      // ground layer of ordinal k: k − 1
constexpr int HoverMarkerLayer = GroundLayerBase + MaxBays;  // 72
constexpr int SelectionMarkerLayer = HoverMarkerLayer + 1;   // 73
constexpr int CarLayerBase = SelectionMarkerLayer;          // car layer of ordinal k: k + 73
constexpr int PlayLayerCount = CarLayerBase + MaxBays + 1;  // 146

// The play view (768 × 480) and the preview box (74 × 48) behind the BoardView
// seam. It keeps its own map from bays to layers and reads no files.
class BoardScene : public BoardView {
public:
    BoardScene(LayerScene& playView, LayerScene& previewBox, const Catalogue& catalogue);

    void CreatePlayLayers();
    // Prepares every catalogue picture in both views, so that no reveal or
    // preview in play has to; showing one before this only costs its preparation.
    void PrepareAllPictures();
    void CreatePreviewLayer();

    // ShowCarsLeft is Label1's, not the play view's: the count goes on to the
    // window through this sink, which sets the label.
    void SetCarsLeftSink(std::function<void(int32_t)> sink);
    // The background of the board just set up: the picture the window read of
    // its shape's map/mapN.bmp, drawn from the top-left corner, or black when
    // empty (no file for the shape, or one that could not be read). Called inside
    // a bracket, like the operations below.
    void ShowBackground(Picture background);

    void BeginUpdate() override;
    void EndUpdate() override;
    void Changed() override;
    void ResetBoardScene(int32_t shapeId) override;
    void PlaceBay(int32_t ordinal, int32_t column, int32_t row) override;
    void ShowHiddenCount(int32_t column, int32_t row, int32_t count) override;
    void SetHiddenCountPicture(int32_t column, int32_t row, int32_t count) override;
    void ShowCar(int32_t column, int32_t row, CarId car) override;
    void HideCar(int32_t column, int32_t row) override;
    void MoveHoverMarker(int32_t column, int32_t row) override;
    void ResetHoverMarker() override;
    void ShowSelectionMarker(int32_t column, int32_t row) override;
    void HideSelectionMarker() override;
    void ShowCarsLeft(int32_t carsLeft) override;
    void ShowPreview(CarId car) override;

private:
    // The bay's ordinal when it has layers, else 0.
    int Ordinal(int32_t column, int32_t row) const;
    const Picture& HiddenCountPicture(int32_t count) const;

    LayerScene& Play;
    LayerScene& Preview;
    const Catalogue& Pictures;
    BayGrid<int32_t> Ordinals; // filled by LayOutBays through PlaceBay
    std::function<void(int32_t)> CarsLeftSink;
};
