#pragma once
// Two BoardView fakes for the model and generator tests: one that records every
// call as text, one that keeps the picture the player would see; and a view
// that hands each call to both.
#include "model/Board.h"
#include "model/BoardView.h"

#include <string>
#include <vector>

struct Recorder : BoardView {
    std::vector<std::string> Calls;
    void Log(const std::string& s) { Calls.push_back(s); }
    static std::string At(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }
    void BeginUpdate() override { Log("begin"); }
    void EndUpdate() override { Log("end"); }
    void Changed() override { Log("changed"); }
    void ResetBoardScene(int32_t s) override { Log("reset " + std::to_string(s)); }
    void PlaceBay(int32_t k, int32_t c, int32_t r) override { Log("place " + std::to_string(k) + " " + At(c, r)); }
    void ShowHiddenCount(int32_t c, int32_t r, int32_t) override { Log("count " + At(c, r)); }
    void SetHiddenCountPicture(int32_t c, int32_t r, int32_t) override { Log("countpic " + At(c, r)); }
    void ShowCar(int32_t c, int32_t r, CarId car) override { Log("car " + At(c, r) + " " + std::to_string(car)); }
    void HideCar(int32_t c, int32_t r) override { Log("hide " + At(c, r)); }
    void MoveHoverMarker(int32_t c, int32_t r) override { Log("hover " + At(c, r)); }
    void ResetHoverMarker() override { Log("hover reset"); }
    void ShowSelectionMarker(int32_t c, int32_t r) override { Log("select " + At(c, r)); }
    void HideSelectionMarker() override { Log("unselect"); }
    void ShowCarsLeft(int32_t n) override { Log("left " + std::to_string(n)); }
    void ShowPreview(CarId car) override { Log("preview " + std::to_string(car)); }

    // The calls of one kind, e.g. every "count …" line.
    std::vector<std::string> Starting(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& call : Calls)
            if (call.compare(0, prefix.size(), prefix) == 0)
                found.push_back(call);
        return found;
    }
};

// Mirrors the layers of the play view the way the real scene keeps them: a ground
// and a car layer per bay ordinal (its own map, filled by PlaceBay), two markers,
// the label and the preview box; only what the calls carry reaches it. It notes
// the first misuse: a drawing call outside a bracket, a bay without an ordinal,
// an unbalanced bracket. Mismatch() then compares it with the board.
struct ScreenFake : BoardView {
    struct Layer {
        int Picture = -1;
        bool Shown = false;
    };
    static constexpr int BayLayers = MaxBays;

    explicit ScreenFake(const Board& board) : B(board) {}

    const Board& B; // read only by Mismatch
    BayGrid<int32_t> Ordinals;
    Layer Ground[BayLayers + 1];
    Layer Car[BayLayers + 1];
    BayPos Hover{-1, -1};
    bool HoverAtStart = false;
    bool SelectionShown = false;
    BayPos Selection{-1, -1};
    int Label = -1;
    CarId Preview = 89;
    int Depth = 0;
    int Repaints = 0;
    int Brackets = 0;
    std::string Fault;

    void Note(const std::string& what)
    {
        if (Fault.empty())
            Fault = what;
    }
    void NeedBracket(const char* what)
    {
        if (Depth <= 0)
            Note(std::string(what) + " outside BeginUpdate/EndUpdate");
    }
    int Ordinal(int32_t c, int32_t r, const char* what)
    {
        NeedBracket(what);
        if (!InGrid(c, r)) {
            Note(std::string(what) + " outside the grid");
            return 0;
        }
        const int k = Ordinals(c, r);
        if (k < 1 || k > BayLayers)
            Note(std::string(what) + " on a bay without an ordinal");
        return k >= 1 && k <= BayLayers ? k : 0;
    }

    void BeginUpdate() override
    {
        ++Depth;
        ++Brackets;
    }
    void EndUpdate() override
    {
        if (--Depth < 0)
            Note("EndUpdate without BeginUpdate");
    }
    void Changed() override
    {
        if (Depth == 0)
            ++Repaints;
    }
    void ResetBoardScene(int32_t) override
    {
        NeedBracket("ResetBoardScene");
        for (int k = 1; k <= BayLayers; ++k)
            Ground[k].Shown = Car[k].Shown = false;
        SelectionShown = false;
        Ordinals.Fill(0);
    }
    void PlaceBay(int32_t k, int32_t c, int32_t r) override
    {
        NeedBracket("PlaceBay");
        if (k < 1 || k > BayLayers || !InGrid(c, r))
            Note("PlaceBay with ordinal " + std::to_string(k));
        else
            Ordinals(c, r) = k;
    }
    void ShowHiddenCount(int32_t c, int32_t r, int32_t count) override
    {
        if (const int k = Ordinal(c, r, "ShowHiddenCount"))
            Ground[k] = {83 + count, true};
    }
    void SetHiddenCountPicture(int32_t c, int32_t r, int32_t count) override
    {
        if (const int k = Ordinal(c, r, "SetHiddenCountPicture"))
            Ground[k].Picture = 83 + count;
    }
    void ShowCar(int32_t c, int32_t r, CarId car) override
    {
        if (const int k = Ordinal(c, r, "ShowCar"))
            Car[k] = {car, true};
    }
    void HideCar(int32_t c, int32_t r) override
    {
        if (const int k = Ordinal(c, r, "HideCar"))
            Car[k].Shown = false;
    }
    void MoveHoverMarker(int32_t c, int32_t r) override
    {
        Ordinal(c, r, "MoveHoverMarker");
        Hover = {c, r};
        HoverAtStart = false;
    }
    void ResetHoverMarker() override
    {
        NeedBracket("ResetHoverMarker");
        HoverAtStart = true;
        Hover = {-1, -1};
    }
    void ShowSelectionMarker(int32_t c, int32_t r) override
    {
        Ordinal(c, r, "ShowSelectionMarker");
        SelectionShown = true;
        Selection = {c, r};
    }
    void HideSelectionMarker() override
    {
        NeedBracket("HideSelectionMarker");
        SelectionShown = false;
    }
    void ShowCarsLeft(int32_t n) override { Label = n; }
    void ShowPreview(CarId car) override
    {
        if (Depth != 0)
            Note("ShowPreview inside a bracket of the play view");
        Preview = car;
    }

    // Draws the board as it stands, in one bracket: every bay laid out with its
    // top car, the hidden counts, the selection and the label. The counts of
    // brackets and repaints start again from here.
    void ShowBoard()
    {
        BeginUpdate();
        LayOutBays(B, *this);
        const BoardShape& s = B.CurrentShape;
        for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
            for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c) {
                ShowCar(c, r, B.Cells(c, r).Slot[0]);
                if (B.HiddenCount(c, r) > 0)
                    ShowHiddenCount(c, r, B.HiddenCount(c, r));
            }
        if (B.CarSelected)
            ShowSelectionMarker(B.SelectedBay.Column, B.SelectedBay.Row);
        ShowCarsLeft(B.CarsLeft);
        EndUpdate();
        Brackets = Repaints = 0;
    }

    // The layers of a bay of the shape.
    const Layer& CarOf(int32_t c, int32_t r) const { return Car[BayOrdinal(B.CurrentShape, c, r)]; }
    const Layer& GroundOf(int32_t c, int32_t r) const { return Ground[BayOrdinal(B.CurrentShape, c, r)]; }

    // Empty when every bay of the shape shows what the board holds.
    std::string Mismatch() const
    {
        if (!Fault.empty())
            return Fault;
        if (Depth != 0)
            return "a bracket left open";
        const BoardShape& s = B.CurrentShape;
        for (int32_t r = s.MinRow; r <= s.MaxRow; ++r)
            for (int32_t c = s.MinColumn; c <= s.MaxColumn; ++c) {
                const int k = Ordinals(c, r);
                if (k != BayOrdinal(s, c, r))
                    return "the view's ordinal differs from the bay's number at " + std::to_string(c) + "," + std::to_string(r);
                const std::string at = " at " + std::to_string(c) + "," + std::to_string(r);
                const CarId top = B.Cells(c, r).Slot[0];
                const Layer& car = Car[k];
                if (top != 0 && !(car.Shown && car.Picture == top))
                    return "top car " + std::to_string(top) + " not shown" + at;
                if (top == 0 && car.Shown && car.Picture != 0)
                    return "a removed car still shown" + at;
                const Layer& ground = Ground[k];
                const int32_t hidden = B.HiddenCount(c, r);
                if (hidden > 0 && !ground.Shown)
                    return "hidden count not shown" + at;
                if (ground.Shown && ground.Picture != 83 + hidden)
                    return "bay picture " + std::to_string(ground.Picture) + " for count " + std::to_string(hidden) + at;
            }
        if (Label != B.CarsLeft)
            return "label shows " + std::to_string(Label) + ", CarsLeft is " + std::to_string(B.CarsLeft);
        if (SelectionShown != B.CarSelected || (B.CarSelected && Selection != B.SelectedBay))
            return "selection marker disagrees with the selection";
        return {};
    }
};

// Hands every call to both views, first to `first`: a test reads the calls from
// a Recorder and what the player sees from a ScreenFake.
struct BothViews : BoardView {
    BoardView& First;
    BoardView& Second;
    BothViews(BoardView& first, BoardView& second) : First(first), Second(second) {}

    void BeginUpdate() override { First.BeginUpdate(); Second.BeginUpdate(); }
    void EndUpdate() override { First.EndUpdate(); Second.EndUpdate(); }
    void Changed() override { First.Changed(); Second.Changed(); }
    void ResetBoardScene(int32_t s) override { First.ResetBoardScene(s); Second.ResetBoardScene(s); }
    void PlaceBay(int32_t k, int32_t c, int32_t r) override { First.PlaceBay(k, c, r); Second.PlaceBay(k, c, r); }
    void ShowHiddenCount(int32_t c, int32_t r, int32_t n) override
    {
        First.ShowHiddenCount(c, r, n);
        Second.ShowHiddenCount(c, r, n);
    }
    void SetHiddenCountPicture(int32_t c, int32_t r, int32_t n) override
    {
        First.SetHiddenCountPicture(c, r, n);
        Second.SetHiddenCountPicture(c, r, n);
    }
    void ShowCar(int32_t c, int32_t r, CarId car) override { First.ShowCar(c, r, car); Second.ShowCar(c, r, car); }
    void HideCar(int32_t c, int32_t r) override { First.HideCar(c, r); Second.HideCar(c, r); }
    void MoveHoverMarker(int32_t c, int32_t r) override { First.MoveHoverMarker(c, r); Second.MoveHoverMarker(c, r); }
    void ResetHoverMarker() override { First.ResetHoverMarker(); Second.ResetHoverMarker(); }
    void ShowSelectionMarker(int32_t c, int32_t r) override
    {
        First.ShowSelectionMarker(c, r);
        Second.ShowSelectionMarker(c, r);
    }
    void HideSelectionMarker() override { First.HideSelectionMarker(); Second.HideSelectionMarker(); }
    void ShowCarsLeft(int32_t n) override { First.ShowCarsLeft(n); Second.ShowCarsLeft(n); }
    void ShowPreview(CarId car) override { First.ShowPreview(car); Second.ShowPreview(car); }
};
