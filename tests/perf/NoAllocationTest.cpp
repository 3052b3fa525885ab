// Once a board is dealt, play allocates nothing: every click, pointer move, undo
// and key release runs on the fixed board and the scene's prepared layers.
// Counted through a replaced global operator new (and, outside the sanitizer
// builds, glibc's malloc family, which Qt's containers use).
#include "deal/DealOrder.h"
#include "FormHarness.h"
#include "core/Random.h"
#include "deal/Generator.h"
#include "model/SilentView.h"

#include <QApplication>
#include <QMouseEvent>

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

namespace {
std::atomic<bool> Counting{false};
std::atomic<long> Allocations{0};
inline void Count()
{
    if (Counting.load(std::memory_order_relaxed))
        Allocations.fetch_add(1, std::memory_order_relaxed);
}
void* Allocate(std::size_t size)
{
    Count();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* AllocateAligned(std::size_t size, std::align_val_t align)
{
    Count();
    const std::size_t a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { try { return Allocate(size); } catch (...) { return nullptr; } }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { try { return Allocate(size); } catch (...) { return nullptr; } }
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

// GCC names AddressSanitizer with __SANITIZE_ADDRESS__, clang through
// __has_feature; Qt's headers define a __has_feature that always answers 0.
#if !defined(__SANITIZE_ADDRESS__)
#if !defined(__has_feature)
#define VZ_COUNT_MALLOC 1
#elif !__has_feature(address_sanitizer)
#define VZ_COUNT_MALLOC 1
#endif
#endif

#ifdef VZ_COUNT_MALLOC
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void* malloc(size_t size)
{
    Count();
    return __libc_malloc(size);
}
void* calloc(size_t n, size_t size)
{
    Count();
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size)
{
    Count();
    return __libc_realloc(p, size);
}
void* aligned_alloc(size_t align, size_t size)
{
    Count();
    return __libc_memalign(align, size);
}
int posix_memalign(void** out, size_t align, size_t size)
{
    Count();
    *out = __libc_memalign(align, size);
    return *out ? 0 : 12; // ENOMEM
}
}
#endif

namespace {

// Allocations made while `work` runs.
template <class Work> long AllocationsIn(Work&& work)
{
    const long before = Allocations.load();
    Counting = true;
    work();
    Counting = false;
    return Allocations.load() - before;
}

// What one click did, read off the board around it.
ClickReport ReportOf(const Board& before, const Board& after, BayPos bay)
{
    ClickReport r;
    if (after.CarsLeft == before.CarsLeft - 2)
        r.Outcome = ClickOutcome::PairRemoved;
    else if (after.CarSelected && !before.CarSelected)
        r.Outcome = ClickOutcome::Selected;
    else if (before.Cells(bay.Column, bay.Row).Slot[0] == 0 && after.Cells(bay.Column, bay.Row).Slot[0] != 0)
        r.Outcome = ClickOutcome::Revealed;
    else
        r.Outcome = ClickOutcome::Nothing;
    r.Won = after.CarsLeft == 0;
    return r;
}

class NoAllocation : public WindowTest {
protected:
    void SetUp() override
    {
        // The shipped levels: stacks to reveal, and the real backgrounds.
        Folder.CopyFromBuild("map/level.ini");
        StartGame();
        QCoreApplication::processEvents(); // the work left for after the first frame
        ASSERT_TRUE(Form->HasStartedUp());
        ASSERT_FALSE(Form->StartUpFailed());
        for (int item = 1; item <= 5; ++item)
            TheProfile().SetOwned(static_cast<ShopItem>(item), true);
        // The last free mode: the largest boards, with the deepest stacks.
        ChooseMode(6);
        const uint32_t before = RandomState();
        Form->SpeedButton1Click();
        ASSERT_TRUE(TheBoard().InputEnabled);
        // The deal's pair numbers: the same draws again, on a board of the test's own.
        const uint32_t after = RandomState();
        SetRandomState(before);
        const int32_t level = LevelForMode(GameMode::FreeManiac, 1, 1);
        auto again = std::make_unique<Board>();
        CarPool pool;
        SilentView silent;
        InitMap(*again, silent, pool, FormProbe::TableOf(*Form), level,
                FormProbe::TableOf(*Form).Level(level).ShapeId, &Trace);
        ASSERT_TRUE(again->Cells == TheBoard().Cells);
        ASSERT_EQ(RandomState(), after);
    }

    DealTrace Trace;
};

} // namespace

// A whole board cleared through the window's handlers, with a pointer move and
// a preview key over every bay before it is clicked. Only the winning click,
// which pays out and opens the box, may allocate.
TEST_F(NoAllocation, ClearingABoardThroughTheWindowAllocatesNothing)
{
    const BayGrid<Cell> pairs = Trace.Pairs;
    long moves = 0, keys = 0, clicks = 0, counted = 0;
    const std::string failure = ClearInDealOrder(TheBoard(), pairs, [&](BayPos bay) {
        const QPoint p = BayCentre(bay.Column, bay.Row);
        moves += AllocationsIn([&] { Form->Image321MouseMove(p.x(), p.y()); });
        keys += AllocationsIn([&] { Form->FormKeyUp(KeySpace); });
        const bool winning = TheBoard().CarSelected && TheBoard().CarsLeft == 2;
        const Board before = TheBoard();
        if (winning) {
            Form->Image321MouseUp(p.x(), p.y());
        } else {
            clicks += AllocationsIn([&] { Form->Image321MouseUp(p.x(), p.y()); });
            ++counted;
        }
        return ReportOf(before, TheBoard(), bay);
    });
    ASSERT_EQ(failure, "");
    EXPECT_GT(counted, 40);
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Boxes.Texts("information"), std::vector<std::string>{"CONGRATULATIONS!"});
}

// The undo after a pair and after a reveal, and the key releases that do nothing.
TEST_F(NoAllocation, UndoAndIdleKeysAllocateNothing)
{
    BayPos a, b;
    ASSERT_TRUE(FindFreePair(TheBoard(), a, b));
    const QPoint pa = BayCentre(a.Column, a.Row), pb = BayCentre(b.Column, b.Row);
    const int32_t cars = TheBoard().CarsLeft;
    EXPECT_EQ(AllocationsIn([&] {
                  Form->Image321MouseUp(pa.x(), pa.y());
                  Form->Image321MouseUp(pb.x(), pb.y());
              }),
              0);
    ASSERT_EQ(TheBoard().CarsLeft, cars - 2);
    EXPECT_EQ(AllocationsIn([&] { Form->FormKeyUp(KeyBackspace); }), 0);
    EXPECT_EQ(TheBoard().CarsLeft, cars);

    // Again, this time revealing a hidden car before the undo.
    ASSERT_TRUE(FindFreePair(TheBoard(), a, b));
    Form->Image321MouseUp(BayCentre(a.Column, a.Row).x(), BayCentre(a.Column, a.Row).y());
    Form->Image321MouseUp(BayCentre(b.Column, b.Row).x(), BayCentre(b.Column, b.Row).y());
    const BayPos hidden = TheBoard().HiddenCount(a.Column, a.Row) > 0 ? a : b;
    if (TheBoard().HiddenCount(hidden.Column, hidden.Row) > 0) {
        const QPoint ph = BayCentre(hidden.Column, hidden.Row);
        EXPECT_EQ(AllocationsIn([&] { Form->Image321MouseUp(ph.x(), ph.y()); }), 0);
        EXPECT_NE(TheBoard().Cells(hidden.Column, hidden.Row).Slot[0], 0);
    }
    EXPECT_EQ(AllocationsIn([&] { Form->FormKeyUp(KeyBackspace); }), 0);

    for (int key : {13, 27, 37, 65, KeySpace, KeyBackspace})
        EXPECT_EQ(AllocationsIn([&] { Form->FormKeyUp(key); }), 0) << "key " << key;
}

// The same events sent through the application, as a player's mouse and keys
// arrive. Qt itself allocates a little on the way (notify copies a mouse event
// for its receiver and guards it with a QPointer), so each event is measured
// against the same event sent to a plain widget: the game must add nothing.
TEST_F(NoAllocation, EventsSentThroughQtAddNoAllocation)
{
    BayPos a, b;
    ASSERT_TRUE(FindFreePair(TheBoard(), a, b));
    const QPoint pa = BayCentre(a.Column, a.Row), pb = BayCentre(b.Column, b.Row);
    QWidget plain;
    plain.resize(Form->Image321->size());
    plain.setMouseTracking(true); // as the play view has
    auto mouse = [&](QEvent::Type type, QPoint p, QWidget* to) {
        return std::make_unique<QMouseEvent>(type, p, to->mapToGlobal(p),
                                             type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                                             Qt::NoButton, Qt::NoModifier);
    };
    // Allocations of sending `event` to the game less those of sending it to the plain widget.
    auto added = [&](QWidget* receiver, QEvent& event, QEvent& same) {
        const long qt = AllocationsIn([&] { QCoreApplication::sendEvent(&plain, &same); });
        return AllocationsIn([&] { QCoreApplication::sendEvent(receiver, &event); }) - qt;
    };
    const int32_t cars = TheBoard().CarsLeft;
    for (int round = 0; round < 2; ++round) { // the first round warms Qt's own caches
        auto moveA = mouse(QEvent::MouseMove, pa, Form->Image321), moveB = mouse(QEvent::MouseMove, pb, Form->Image321);
        auto upA = mouse(QEvent::MouseButtonRelease, pa, Form->Image321);
        auto upB = mouse(QEvent::MouseButtonRelease, pb, Form->Image321);
        auto plainMove = mouse(QEvent::MouseMove, pa, &plain), plainUp = mouse(QEvent::MouseButtonRelease, pa, &plain);
        QKeyEvent space(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
        QKeyEvent backspace(QEvent::KeyRelease, Qt::Key_Backspace, Qt::NoModifier);
        QKeyEvent plainKey(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);

        const long move = added(Form->Image321, *moveA, *plainMove);
        EXPECT_EQ(TheBoard().HoverBay, a);
        const long key = added(Form.get(), space, plainKey);
        const long clicks = added(Form->Image321, *upA, *plainUp) + added(Form->Image321, *moveB, *plainMove) +
                            added(Form->Image321, *upB, *plainUp);
        EXPECT_EQ(TheBoard().CarsLeft, cars - 2);
        const long undo = added(Form.get(), backspace, plainKey);
        EXPECT_EQ(TheBoard().CarsLeft, cars);
        if (round == 1) { // never more than Qt spends on a widget of its own
            EXPECT_LE(move, 0);
            EXPECT_LE(key, 0);
            EXPECT_LE(clicks, 0);
            EXPECT_LE(undo, 0);
        }
    }
}
