#include "tools/levels/Solver.h"

#include "model/BoardView.h"
#include "model/PlayRules.h"
#include "tools/levels/PlayerRandom.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int MaxTakeable = MaxBays;
constexpr int MaxCandidates = 256;
constexpr int MemoBits = 15;

// Keys of a bay's state (its next car and whether its top stands), for the
// hash of a whole position.
struct Zobrist {
    uint64_t Key[MaxBays][SlotCount + 1][2];
    Zobrist()
    {
        PlayerRandom random(0x243F6A8885A308D3ull);
        for (auto& bay : Key)
            for (auto& next : bay)
                for (uint64_t& k : next)
                    k = random.Next();
    }
};
const Zobrist Keys;

struct Takeable {
    int8_t Bay;
    int8_t Row;
    int8_t Order;
    CarId Car;
};

// 1, 1, 2, 1, 1, 2, 4, 1, 1, 2, …: restart lengths that waste at most a log factor
// against the best fixed length.
int64_t Luby(int64_t i)
{
    for (int64_t k = 1;; ++k) {
        if (i == (int64_t{1} << k) - 1)
            return int64_t{1} << (k - 1);
        if (i < (int64_t{1} << k) - 1)
            return Luby(i - (int64_t{1} << (k - 1)) + 1);
    }
}

} // namespace

struct Solver::Impl {
    SearchBoard* B = nullptr;
    int16_t Count[CarCount + 1] = {};
    int16_t RowCount[MaxRows][CarCount + 1] = {};
    uint64_t Hash = 0;
    struct Step {
        int8_t Bay;
        bool Shown;
    };
    std::vector<Step> Log;
    std::vector<uint64_t> Memo = std::vector<uint64_t>(size_t{1} << MemoBits);
    std::vector<uint32_t> MemoGeneration = std::vector<uint32_t>(size_t{1} << MemoBits);
    uint32_t Generation = 0;
    int32_t Budget = 0;
    int64_t Nodes = 0;
    int64_t AttemptEnd = 0;
    bool GaveUp = false;
    // Each attempt after the first shuffles the order of the likely pairs a little.
    int32_t Noise = 0;
    PlayerRandom Random{0};

    void Take(int32_t bay)
    {
        SearchBoard& b = *B;
        const CarId car = b.NextCar(bay);
        Log.push_back({static_cast<int8_t>(bay), b.Shown[bay]});
        Hash ^= Keys.Key[bay][b.Next[bay]][b.Shown[bay]];
        b.Take(bay);
        Hash ^= Keys.Key[bay][b.Next[bay]][0];
        --Count[car];
        --RowCount[b.RowOf(bay)][car];
    }

    void UndoTo(size_t mark)
    {
        SearchBoard& b = *B;
        while (Log.size() > mark) {
            const Step step = Log.back();
            Log.pop_back();
            Hash ^= Keys.Key[step.Bay][b.Next[step.Bay]][0];
            --b.Next[step.Bay];
            b.Shown[step.Bay] = step.Shown;
            ++b.CarsLeft;
            Hash ^= Keys.Key[step.Bay][b.Next[step.Bay]][step.Shown];
            const CarId car = b.NextCar(step.Bay);
            ++Count[car];
            ++RowCount[b.RowOf(step.Bay)][car];
        }
    }

    // Every pair spans two rows, so no row may hold more than half the cars of an id.
    bool Dead(CarId car) const
    {
        for (int32_t row = 0; row < B->Shape.RowCount; ++row)
            if (2 * RowCount[row][car] > Count[car])
                return true;
        return false;
    }

    int Gather(Takeable* out) const
    {
        int n = 0;
        int32_t bays[MaxTakeable];
        for (int32_t row = 0; row < B->Shape.RowCount; ++row) {
            const int k = TakeableBays(*B, row, bays);
            for (int i = 0; i < k; ++i)
                out[n++] = {static_cast<int8_t>(bays[i]), static_cast<int8_t>(row), B->Order[bays[i]][B->Next[bays[i]]],
                            B->NextCar(bays[i])};
        }
        std::sort(out, out + n, [](const Takeable& a, const Takeable& b) { return a.Car < b.Car; });
        return n;
    }

    // Takes every id whose remaining cars can all go now, two rows at a time.
    // False when that leaves an id that can no longer be paired.
    bool TakeSafeIds(Takeable* takeable, int& n)
    {
        for (;;) {
            n = Gather(takeable);
            bool took = false;
            for (int i = 0; i < n;) {
                int j = i;
                while (j < n && takeable[j].Car == takeable[i].Car)
                    ++j;
                const CarId car = takeable[i].Car;
                if (j - i == Count[car]) {
                    if (Dead(car))
                        return false;
                    TakeAll(takeable + i, j - i);
                    took = true;
                }
                i = j;
            }
            if (!took)
                return true;
        }
    }

    // Pairs the cars from the two rows holding the most of them, again and again:
    // that always works when no row holds more than half.
    void TakeAll(Takeable* group, int k)
    {
        bool used[MaxTakeable] = {};
        for (int left = k; left > 0; left -= 2) {
            int rowCars[MaxRows] = {};
            for (int i = 0; i < k; ++i)
                if (!used[i])
                    ++rowCars[group[i].Row];
            int first = -1, second = -1;
            for (int row = 0; row < MaxRows; ++row) {
                if (rowCars[row] == 0)
                    continue;
                if (first < 0 || rowCars[row] > rowCars[first]) {
                    second = first;
                    first = row;
                } else if (second < 0 || rowCars[row] > rowCars[second]) {
                    second = row;
                }
            }
            for (int row : {first, second})
                for (int i = 0; i < k; ++i)
                    if (!used[i] && group[i].Row == row) {
                        used[i] = true;
                        Take(group[i].Bay);
                        break;
                    }
        }
    }

    bool Failed() const
    {
        const size_t mask = Memo.size() - 1;
        for (size_t i = Hash & mask, probe = 0; probe < 4; ++probe, i = (i + 1) & mask)
            if (MemoGeneration[i] == Generation && Memo[i] == Hash)
                return true;
        return false;
    }

    void RememberFailure()
    {
        const size_t mask = Memo.size() - 1;
        size_t slot = Hash & mask;
        for (size_t i = slot, probe = 0; probe < 4; ++probe, i = (i + 1) & mask)
            if (MemoGeneration[i] != Generation) {
                slot = i;
                break;
            }
        Memo[slot] = Hash;
        MemoGeneration[slot] = Generation;
    }

    bool Search()
    {
        if (++Nodes > AttemptEnd) {
            GaveUp = true;
            return false;
        }
        const size_t mark = Log.size();
        Takeable takeable[MaxTakeable];
        int n = 0;
        if (!TakeSafeIds(takeable, n)) {
            UndoTo(mark);
            return false;
        }
        if (B->CarsLeft == 0)
            return true;
        if (Failed()) {
            UndoTo(mark);
            return false;
        }

        // The deal filled each row in list order, so its last pair lies at the latest
        // places of two rows: pairs of cars that are the latest of their rows go first.
        int8_t latest[MaxRows];
        for (int32_t row = 0; row < B->Shape.RowCount; ++row) {
            latest[row] = -1;
            const int32_t first = row * B->Shape.ColumnCount;
            for (int32_t bay = first; bay < first + B->Shape.ColumnCount; ++bay)
                for (int8_t k = B->Next[bay]; k < B->End[bay]; ++k)
                    latest[row] = std::max(latest[row], B->Order[bay][k]);
        }
        struct Candidate {
            int8_t A, B;
            int16_t Score;
        };
        Candidate candidates[MaxCandidates];
        int count = 0;
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n && takeable[j].Car == takeable[i].Car; ++j)
                if (takeable[i].Row != takeable[j].Row && count < MaxCandidates) {
                    const Takeable &a = takeable[i], &b = takeable[j];
                    const int lastOfRows = (a.Order == latest[a.Row]) + (b.Order == latest[b.Row]);
                    int score = 1024 * lastOfRows + 4 * (a.Order + b.Order) - std::abs(a.Order - b.Order);
                    if (Noise > 0)
                        score += static_cast<int>(Random.Next() % static_cast<uint64_t>(Noise));
                    candidates[count++] = {a.Bay, b.Bay, static_cast<int16_t>(score)};
                }
        std::stable_sort(candidates, candidates + count,
                         [](const Candidate& a, const Candidate& b) { return a.Score > b.Score; });

        const size_t branch = Log.size();
        for (int c = 0; c < count; ++c) {
            const CarId car = B->NextCar(candidates[c].A);
            Take(candidates[c].A);
            Take(candidates[c].B);
            if (!Dead(car) && Search())
                return true;
            if (GaveUp) {
                UndoTo(mark);
                return false;
            }
            UndoTo(branch);
        }
        RememberFailure();
        UndoTo(mark);
        return false;
    }
};

Solver::Solver(int32_t nodeBudget) : State(new Impl)
{
    State->Budget = nodeBudget;
    State->Log.reserve(2 * MostCars);
}

Solver::~Solver() { delete State; }

SolveOutcome Solver::Solve(SearchBoard& board, std::vector<SearchMove>* moves)
{
    Impl& s = *State;
    s.B = &board;
    s.Log.clear();
    std::memset(s.Count, 0, sizeof s.Count);
    std::memset(s.RowCount, 0, sizeof s.RowCount);
    s.Hash = 0;
    for (int32_t bay = 0; bay < board.Bays(); ++bay) {
        s.Hash ^= Keys.Key[bay][board.Next[bay]][board.Shown[bay]];
        for (int8_t k = board.Next[bay]; k < board.End[bay]; ++k) {
            ++s.Count[board.Car[bay][k]];
            ++s.RowCount[board.RowOf(bay)][board.Car[bay][k]];
        }
    }
    ++s.Generation;
    s.Nodes = 0;
    s.Random = PlayerRandom(0x5851F42D4C957F2Dull);
    bool dead = false;
    for (CarId car = 1; car <= CarCount && !dead; ++car)
        dead = s.Count[car] > 0 && s.Dead(car);
    // A wrong early pair can hide under a large tree of later choices, while most
    // orders clear the board: short attempts, each longer and more shuffled than
    // the last, find a way out quickly. Failures proven in full stay remembered.
    bool cleared = false;
    s.GaveUp = false;
    for (int32_t attempt = 0; !dead && !cleared && s.Nodes < s.Budget; ++attempt) {
        s.GaveUp = false;
        s.Noise = attempt == 0 ? 0 : 64 << std::min(attempt, 6);
        s.AttemptEnd = std::min<int64_t>(s.Nodes + 64 * Luby(attempt + 1), s.Budget);
        cleared = s.Search();
        if (!s.GaveUp)
            break; // cleared, or every way tried
    }
    NodeCount = s.Nodes;
    if (cleared && moves) {
        moves->clear();
        for (size_t i = 0; i + 1 < s.Log.size(); i += 2)
            moves->push_back({s.Log[i].Bay, s.Log[i + 1].Bay});
    }
    if (cleared)
        return SolveOutcome::Cleared;
    return s.GaveUp ? SolveOutcome::GaveUp : SolveOutcome::Stuck;
}

bool PlayMoves(Board& board, BoardView& view, const SearchBoard& start, const std::vector<SearchMove>& moves)
{
    for (const SearchMove& move : moves) {
        const BayPos first = start.Position(move.First), second = start.Position(move.Second);
        for (const BayPos& bay : {first, second})
            if (board.Cells(bay.Column, bay.Row).Slot[0] == 0 && ClickBay(board, view, bay).Outcome != ClickOutcome::Revealed)
                return false;
        if (ClickBay(board, view, first).Outcome != ClickOutcome::Selected ||
            ClickBay(board, view, second).Outcome != ClickOutcome::PairRemoved)
            return false;
    }
    return board.CarsLeft == 0;
}
