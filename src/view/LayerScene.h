#pragma once
#include "view/Picture.h"
#include "view/Rect.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct SceneLayer {
    const Picture* Image = nullptr; // an unchanging catalogue picture, or none
    DrawMode Mode = DrawMode::Blend;
    Rect Location;
    bool Visible = false;
};

// A view made of a background picture and an ordered list of picture layers,
// composed into Frame() at the repaint that Changed() asks for. Plain C++.
class LayerScene {
public:
    LayerScene(int32_t width, int32_t height, uint32_t viewColour);
    ~LayerScene();
    LayerScene(LayerScene&&) noexcept;
    LayerScene& operator=(LayerScene&&) noexcept;

    int32_t Width() const;
    int32_t Height() const;

    // Appends a layer on top; returns its index.
    int AddLayer();
    int LayerCount() const;
    const SceneLayer& Layer(int index) const;

    // The picture must outlive the scene (catalogue pictures do); its draw mode is taken over.
    void SetPicture(int index, const Picture& picture);
    // Prepares a picture ahead of its first SetPicture, so showing it in play allocates nothing.
    void PreparePicture(const Picture& picture);
    // From now on this scene uses, and adds to, the prepared pictures of `other`:
    // two views of one catalogue keep one prepared copy of each picture.
    void SharePreparedPictures(const LayerScene& other);
    void SetLocation(int index, const Rect& location);
    void SetVisible(int index, bool visible);

    // Background of the view's size filled with one colour.
    void SetUpBackground(uint32_t colour);
    // Background replaced by a picture of any size, drawn opaque from (0, 0).
    void LoadBackground(Picture picture);
    const Picture& Background() const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const;
    // Recomposes and calls the repaint callback, but only when no bracket is open.
    void Changed();
    // Called at each repaint with the rectangles it recomposed: every pixel that
    // differs from the frame before lies inside them (none when nothing changed).
    void SetRepaintCallback(std::function<void(const std::vector<Rect>& changed)> repaint);

    // The composed view, as of the last repaint.
    const Picture& Frame() const;
    // Composes the whole view from scratch into `out` (the reference the fast path must equal).
    void ComposeFull(Picture& out) const;

    // Recomposes the whole of Frame() with the fast path, ignoring what it held.
    void RecomposeAll();
    // How many pixels the last repaint composed (the whole view, or only what changed).
    int64_t ComposedPixels() const;

private:
    struct Impl; // prepared pictures and the state of the last frame
    void Render();
    int32_t W, H;
    uint32_t ViewColour;
    Picture Back;
    std::vector<SceneLayer> Layers;
    int Updates = 0;
    Picture Composed;
    int64_t LastComposed = 0;
    std::function<void(const std::vector<Rect>&)> Repaint;
    std::unique_ptr<Impl> Fast;
};
