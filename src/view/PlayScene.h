#pragma once
#include "model/BoardView.h"
#include "view/ImageCatalogue.h"
#include "view/LayerScene.h"

#include <functional>
#include <string>

constexpr int GroundLayerBase = 0; // ground layer of ordinal k: k − 1
constexpr int HoverMarkerLayer = 72;
constexpr int SelectionMarkerLayer = 73;
constexpr int CarLayerBase = 73;   // car layer of ordinal k: k + 73
constexpr int PlayLayerCount = 146;

// The play view (768 × 480) and the preview box (74 × 48) behind the BoardView seam.
class PlayScene : public BoardView {
public:
    PlayScene(LayerScene& playView, LayerScene& previewBox, const Board& board, const Catalogue& catalogue,
              std::string programFolder);

    void CreatePlayLayers();
    // Prepares every catalogue picture in both views, so that no reveal or
    // preview in play has to; showing one before this only costs its preparation.
    void PrepareAllPictures();
    void CreatePreviewLayer();

    // Label1's text goes to the window through this.
    void SetCarsLeftSink(std::function<void(int32_t)> sink);
    // A background file that exists but cannot be read: the board goes on over black
    // and the message (without full stop) is handed here for the error box.
    void SetBackgroundErrorSink(std::function<void(const std::string&)> sink);

    void BeginUpdate() override;
    void EndUpdate() override;
    void Changed() override;
    void ResetBoardScene(int32_t shapeId) override;
    void PlaceBay(int32_t ordinal, int32_t column, int32_t row) override;
    void ShowHiddenCount(int32_t column, int32_t row) override;
    void SetHiddenCountPicture(int32_t column, int32_t row) override;
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
    const Picture& HiddenCountPicture(int32_t column, int32_t row) const;

    LayerScene& Play;
    LayerScene& Preview;
    const Board& TheBoard;
    const Catalogue& Pictures;
    std::string Folder;
    std::function<void(int32_t)> CarsLeftSink;
    std::function<void(const std::string&)> BackgroundErrorSink;
};
