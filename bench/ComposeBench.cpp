// The play view composed on the dealt-looking 72-bay scene: the whole frame by
// the compositor (with each kernel), the same frame by QPainter, and the floor
// of any compose, one copy of the background.
#include "view/Compositor.h"
#include "view/LayerScene.h"

#include "view/PainterScene.h"
#include "view/SceneFixtures.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

fixture::DealtView& View()
{
    // Built once: the catalogue and the scene are large enough to matter.
    static const std::unique_ptr<fixture::DealtView> view = std::make_unique<fixture::DealtView>(72);
    return *view;
}

// The whole view recomposed on every iteration: no frame is reused.
void RecomposeEveryIteration(benchmark::State& state, fixture::DealtView& view)
{
    for (auto _ : state) {
        view.Play.RecomposeAll();
        benchmark::DoNotOptimize(view.Play.Frame().Pixels.data());
        benchmark::ClobberMemory();
    }
}

void BM_ComposePlayView(benchmark::State& state)
{
    fixture::DealtView& view = View();
    RecomposeEveryIteration(state, view);
    state.counters["pixels"] = static_cast<double>(view.Play.ComposedPixels());
    state.SetLabel(ActiveKernel() == ComposeKernel::Avx512 ? "avx512" : ActiveKernel() == ComposeKernel::Avx2 ? "avx2" : "scalar");
}

// The same with one kernel chosen; skipped where the processor lacks it.
void BM_ComposePlayViewKernel(benchmark::State& state, ComposeKernel kernel)
{
    const std::vector<ComposeKernel> available = AvailableKernels();
    if (std::find(available.begin(), available.end(), kernel) == available.end()) {
        state.SkipWithError("kernel not available");
        return;
    }
    const ComposeKernel previous = ActiveKernel();
    ChooseKernel(kernel);
    RecomposeEveryIteration(state, View());
    ChooseKernel(previous);
}

// The floor of a full compose: one copy of the background into the frame.
void BM_ComposeFloorBackgroundCopy(benchmark::State& state)
{
    const Picture back = fixture::PatternBackground();
    Picture frame(back.Width, back.Height);
    for (auto _ : state) {
        std::memcpy(frame.Pixels.data(), back.Pixels.data(), back.Pixels.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(frame.Pixels.data());
        benchmark::ClobberMemory();
    }
}

void BM_ComposePlayViewQPainter(benchmark::State& state)
{
    fixture::DealtView& view = View();
    const fixture::PainterScene painter(view.Play, Rgb(0, 0, 0));
    QImage target(view.Play.Width(), view.Play.Height(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        painter.Paint(target);
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_ComposePlayView)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ComposePlayViewKernel, scalar, ComposeKernel::Scalar)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ComposePlayViewKernel, avx2, ComposeKernel::Avx2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ComposePlayViewKernel, avx512, ComposeKernel::Avx512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeFloorBackgroundCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposePlayViewQPainter)->Unit(benchmark::kMicrosecond);
