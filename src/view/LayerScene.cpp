#include "view/LayerScene.h"

#include "view/Compositor.h"

#include <cassert>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

namespace {

// Rows per band of a compose: a band of the play view (192 KB) stays in the
// second-level cache while every layer that crosses it is drawn, and the bands are
// few enough that splitting the layers between them costs little.
constexpr int32_t BandShift = 6;

// Damage beyond this many rectangles, or a third of the view, is cheaper to
// recompose whole than piece by piece.
constexpr size_t MaxDamageRects = 24;

bool Drawn(const SceneLayer& layer)
{
    return layer.Visible && layer.Image != nullptr && !layer.Image->Empty() && !IsEmpty(layer.Location);
}

} // namespace

struct LayerScene::Impl {
    struct Cached {
        const uint32_t* Data;
        int32_t Width;
        int32_t Height;
        DrawMode Mode;
        PreparedPicture Prepared;
        // Whether this was made from `picture` as it is now.
        bool Holds(const Picture& picture) const
        {
            return Data == picture.Pixels.data() && Width == picture.Width && Height == picture.Height &&
                   Mode == picture.Mode;
        }
        // Made from `picture`, drawn as `drawn` (the picture itself, or resampled).
        void Take(const Picture& picture, const Picture& drawn)
        {
            Data = picture.Pixels.data();
            Width = picture.Width;
            Height = picture.Height;
            Mode = picture.Mode;
            Prepared = ::PreparePicture(drawn);
        }
    };
    // One prepared copy per distinct picture; catalogue pictures never change,
    // but a picture whose buffer or size did is prepared again.
    using CacheMap = std::unordered_map<const Picture*, std::unique_ptr<Cached>>;
    std::shared_ptr<CacheMap> Cache = std::make_shared<CacheMap>();
    std::vector<const PreparedPicture*> LayerPrepared;
    // What the kernels draw for each layer: its prepared picture, resampled where
    // its location has another size; null where only DrawPlain can draw it.
    std::vector<const PreparedPicture*> LayerDrawn;

    // The layers as they were when Frame() was last composed.
    std::vector<SceneLayer> Last;
    bool FrameCurrent = false; // false: the next repaint recomposes everything
    Picture OpaqueBack;

    std::vector<Rect> Damage;
    std::vector<std::vector<uint32_t>> Bands;
    // Layers changed through the setters since the last frame: a repaint after a
    // pointer move looks at these, not at all 146.
    std::vector<uint32_t> Touched;
    std::vector<uint8_t> IsTouched;
    std::vector<uint32_t> DrawnLayers; // of this repaint, in order
    bool Upward = false;

    void Touch(int index)
    {
        uint8_t& flag = IsTouched[static_cast<size_t>(index)];
        if (!flag) {
            flag = 1;
            Touched.push_back(static_cast<uint32_t>(index));
        }
    }

    const PreparedPicture* Prepare(const Picture& picture)
    {
        std::unique_ptr<Cached>& slot = (*Cache)[&picture];
        if (slot && slot->Holds(picture))
            return &slot->Prepared;
        if (slot)
            FrameCurrent = false; // layers already showing it may look different now
        else
            slot = std::make_unique<Cached>();
        slot->Take(picture, picture);
        return &slot->Prepared;
    }

    // A picture drawn at another size than its own (a bay without a car shows the
    // marker squeezed into its car rectangle) is resampled once, as DrawPlain
    // samples it, and then drawn by the kernels like any other; null where only
    // DrawPlain can draw it.
    std::map<std::tuple<const Picture*, int32_t, int32_t>, std::unique_ptr<Cached>> Resized;
    const PreparedPicture* Fitted(const SceneLayer& layer, const PreparedPicture* prepared)
    {
        if (!prepared || !prepared->AllOrNothing)
            return nullptr;
        const int32_t w = layer.Location.Width(), h = layer.Location.Height();
        if (w == prepared->Width && h == prepared->Height)
            return prepared;
        if (w <= 0 || h <= 0 || int64_t(w) * h > 1 << 20)
            return nullptr;
        const Picture& picture = *layer.Image;
        std::unique_ptr<Cached>& slot = Resized[std::make_tuple(&picture, w, h)];
        if (slot && slot->Holds(picture))
            return &slot->Prepared;
        if (!slot)
            slot = std::make_unique<Cached>();
        Picture resized(w, h, 0, picture.Mode);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                resized.At(x, y) = picture.At(static_cast<int32_t>(int64_t(x) * picture.Width / w),
                                              static_cast<int32_t>(int64_t(y) * picture.Height / h));
        slot->Take(picture, resized);
        return &slot->Prepared;
    }

    // After a layer's picture or location changed: what the kernels draw for it.
    void Refit(const std::vector<SceneLayer>& layers, size_t index)
    {
        const SceneLayer& layer = layers[index];
        LayerDrawn[index] = layer.Image ? Fitted(layer, LayerPrepared[index]) : nullptr;
    }
};

LayerScene::LayerScene(int32_t width, int32_t height, uint32_t viewColour)
    : W(width < 0 ? 0 : width), H(height < 0 ? 0 : height), ViewColour(Opaque(viewColour)),
      Composed(W, H, ViewColour), Fast(std::make_unique<Impl>())
{
    Fast->Bands.resize(static_cast<size_t>((H >> BandShift) + 1));
}

LayerScene::~LayerScene() = default;
LayerScene::LayerScene(LayerScene&&) noexcept = default;
LayerScene& LayerScene::operator=(LayerScene&&) noexcept = default;

int32_t LayerScene::Width() const { return W; }
int32_t LayerScene::Height() const { return H; }

int LayerScene::AddLayer()
{
    Layers.emplace_back();
    Fast->LayerPrepared.push_back(nullptr);
    Fast->LayerDrawn.push_back(nullptr);
    Fast->IsTouched.push_back(0);
    const int index = static_cast<int>(Layers.size()) - 1;
    Fast->Touch(index);
    return index;
}

int LayerScene::LayerCount() const { return static_cast<int>(Layers.size()); }

const SceneLayer& LayerScene::Layer(int index) const { return Layers.at(static_cast<size_t>(index)); }

void LayerScene::SetPicture(int index, const Picture& picture)
{
    SceneLayer& layer = Layers.at(static_cast<size_t>(index));
    layer.Image = &picture;
    layer.Mode = picture.Mode;
    Fast->LayerPrepared[static_cast<size_t>(index)] = Fast->Prepare(picture);
    Fast->Refit(Layers, static_cast<size_t>(index));
    Fast->Touch(index);
}

void LayerScene::PreparePicture(const Picture& picture) { Fast->Prepare(picture); }

void LayerScene::SharePreparedPictures(const LayerScene& other)
{
    Fast->Cache = other.Fast->Cache;
    for (size_t i = 0; i < Layers.size(); ++i)
        if (Layers[i].Image) {
            Fast->LayerPrepared[i] = Fast->Prepare(*Layers[i].Image);
            Fast->Refit(Layers, i);
        }
}

void LayerScene::SetLocation(int index, const Rect& location)
{
    Layers.at(static_cast<size_t>(index)).Location = location;
    Fast->Refit(Layers, static_cast<size_t>(index));
    Fast->Touch(index);
}

void LayerScene::SetVisible(int index, bool visible)
{
    Layers.at(static_cast<size_t>(index)).Visible = visible;
    Fast->Touch(index);
}

void LayerScene::SetUpBackground(uint32_t colour)
{
    Back = Picture(W, H, colour, DrawMode::Opaque);
    Fast->OpaqueBack = Picture(W, H, Opaque(colour), DrawMode::Opaque);
    Fast->FrameCurrent = false;
}

void LayerScene::LoadBackground(Picture picture)
{
    if (picture.Empty())
        picture = Picture();
    // The old pair goes first, so a deal never holds two backgrounds at once.
    Back = Picture();
    Fast->OpaqueBack = Picture();
    Picture opaque = picture;
    for (uint32_t& pixel : opaque.Pixels)
        pixel = Opaque(pixel);
    Back = std::move(picture);
    Fast->OpaqueBack = std::move(opaque);
    Fast->FrameCurrent = false;
}

const Picture& LayerScene::Background() const { return Back; }

void LayerScene::BeginUpdate() { ++Updates; }

void LayerScene::EndUpdate()
{
    // An unmatched EndUpdate is a caller's bug; the count never goes below zero.
    assert(Updates > 0);
    if (Updates > 0)
        --Updates;
}

int LayerScene::UpdateCount() const { return Updates; }

void LayerScene::Changed()
{
    if (Updates > 0)
        return;
    Render();
    if (Repaint)
        Repaint(Fast->Damage);
}

void LayerScene::SetRepaintCallback(std::function<void(const std::vector<Rect>&)> repaint)
{
    Repaint = std::move(repaint);
}

const Picture& LayerScene::Frame() const { return Composed; }


void LayerScene::RecomposeAll()
{
    Fast->FrameCurrent = false;
    Render();
}

int64_t LayerScene::ComposedPixels() const { return LastComposed; }

void LayerScene::ComposeFull(Picture& out) const
{
    // Deliberately the plainest possible code: the fast path is checked against it.
    out = Picture(W, H, ViewColour);
    for (int32_t y = 0; y < H && y < Back.Height; ++y)
        for (int32_t x = 0; x < W && x < Back.Width; ++x)
            out.At(x, y) = Opaque(Back.At(x, y));
    const Rect view{0, 0, W, H};
    for (const SceneLayer& layer : Layers)
        if (Drawn(layer))
            DrawPlain(out, *layer.Image, layer.Mode, layer.Location, view);
}

void LayerScene::Render()
{
    Impl& f = *Fast;
    const Rect view{0, 0, W, H};
    std::vector<Rect>& damage = f.Damage;
    damage.clear();
    // Room in every list for every layer, made at the first frame after layers were
    // added, so that the frames of play never allocate.
    if (f.DrawnLayers.capacity() < Layers.size()) {
        f.DrawnLayers.reserve(Layers.size());
        f.Touched.reserve(Layers.size());
        for (std::vector<uint32_t>& band : f.Bands)
            band.reserve(Layers.size());
    }
    damage.reserve(MaxDamageRects + 2);

    bool whole = !f.FrameCurrent;
    if (!whole) {
        int64_t area = 0;
        auto add = [&](const SceneLayer& layer) {
            if (!Drawn(layer))
                return;
            const Rect r = Intersect(layer.Location, view);
            if (IsEmpty(r))
                return;
            damage.push_back(r);
            area += static_cast<int64_t>(r.Width()) * r.Height();
        };
        for (size_t t = 0; t < f.Touched.size() && !whole; ++t) {
            const size_t i = f.Touched[t];
            const SceneLayer& now = Layers[i];
            if (i >= f.Last.size()) {
                add(now);
            } else {
                const SceneLayer& was = f.Last[i];
                const bool wasDrawn = Drawn(was);
                const bool nowDrawn = Drawn(now);
                if (wasDrawn == nowDrawn &&
                    (!nowDrawn || (was.Image == now.Image && was.Mode == now.Mode && was.Location == now.Location)))
                    continue;
                add(was);
                add(now);
            }
            whole = damage.size() > MaxDamageRects || area * 3 > static_cast<int64_t>(W) * H;
        }
    }
    if (whole) {
        damage.clear();
        if (!IsEmpty(view))
            damage.push_back(view);
    }

    f.DrawnLayers.clear();
    for (size_t i = 0; i < Layers.size(); ++i)
        if (Drawn(Layers[i]))
            f.DrawnLayers.push_back(static_cast<uint32_t>(i));

    LastComposed = 0;
    for (const Rect& region : damage) {
        LastComposed += static_cast<int64_t>(region.Width()) * region.Height();
        // Sort the layers crossing the region into bands of rows, keeping their order.
        const int32_t firstBand = region.Top >> BandShift;
        const int32_t lastBand = (region.Bottom - 1) >> BandShift;
        for (int32_t b = firstBand; b <= lastBand; ++b)
            f.Bands[static_cast<size_t>(b)].clear();
        for (const uint32_t i : f.DrawnLayers) {
            const Rect r = Intersect(Layers[i].Location, region);
            if (IsEmpty(r))
                continue;
            for (int32_t b = r.Top >> BandShift; b <= (r.Bottom - 1) >> BandShift; ++b)
                f.Bands[static_cast<size_t>(b)].push_back(static_cast<uint32_t>(i));
        }
        // Every other compose runs bottom up: the bands the last one finished with,
        // background and frame alike, are still in the cache.
        f.Upward = !f.Upward;
        for (int32_t n = 0; n <= lastBand - firstBand; ++n) {
            const int32_t b = f.Upward ? lastBand - n : firstBand + n;
            const Rect band = Intersect(region, Rect{region.Left, b << BandShift, region.Right, (b + 1) << BandShift});
            FillBackground(Composed, f.OpaqueBack, ViewColour, band);
            for (uint32_t i : f.Bands[static_cast<size_t>(b)]) {
                const SceneLayer& layer = Layers[i];
                if (const PreparedPicture* drawn = f.LayerDrawn[i])
                    DrawPrepared(Composed, *drawn, layer.Location.Left, layer.Location.Top, band);
                else
                    DrawPlain(Composed, *layer.Image, layer.Mode, layer.Location, band);
            }
        }
    }

    if (f.Last.size() != Layers.size()) {
        f.Last = Layers;
    } else {
        for (const uint32_t i : f.Touched)
            f.Last[i] = Layers[i];
    }
    for (const uint32_t i : f.Touched)
        f.IsTouched[i] = 0;
    f.Touched.clear();
    f.FrameCurrent = true;
}
