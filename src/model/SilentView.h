#pragma once
#include "model/BoardView.h"

// A BoardView that draws nothing: for tools and benchmarks that deal without a screen.
class SilentView : public BoardView {
public:
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void Changed() override {}
    void ResetBoardScene(int32_t) override {}
    void PlaceBay(int32_t, int32_t, int32_t) override {}
    void ShowHiddenCount(int32_t, int32_t, int32_t) override {}
    void SetHiddenCountPicture(int32_t, int32_t, int32_t) override {}
    void ShowCar(int32_t, int32_t, CarId) override {}
    void HideCar(int32_t, int32_t) override {}
    void MoveHoverMarker(int32_t, int32_t) override {}
    void ResetHoverMarker() override {}
    void ShowSelectionMarker(int32_t, int32_t) override {}
    void HideSelectionMarker() override {}
    void ShowCarsLeft(int32_t) override {}
    void ShowPreview(CarId) override {}
};
