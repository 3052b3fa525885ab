#include "Profile.h"

#include <algorithm>
#include <cassert>
#include <limits>

namespace {

// In item order 1 … 8.
const ShopItemInfo Items[ShopItemCount] = {
    {"One-step UNDO", "by using Backspace", 200, 100},
    {"PREVIEW under empty places", "by using Space", 1000, 500},
    {"AUTO-PREVIEW under empty places", "automatic", 4000, 2000},
    {"PREVIEW under occupied places", "by using Space", 7000, 3500},
    {"AUTO-PREVIEW under occupied places", "automatic", 8000, 4000},
    {"Bronze medal", "for good players", 5000, 2500},
    {"Silver medal", "for advanced players", 10000, 5000},
    {"Gold medal", "for experts", 20000, 10000},
};

// Money has no upper limit but its type's: it stops there rather than wrap.
void AddMoney(Profile& profile, int64_t amount)
{
    const int64_t total = static_cast<int64_t>(profile.Money) + std::max<int64_t>(amount, 0);
    profile.Money = static_cast<int32_t>(std::min<int64_t>(total, std::numeric_limits<int32_t>::max()));
}

} // namespace

const char* const TooLittleMoneyText = "Sorry, you cannot buy this (too less money)";

const ShopItemInfo& ItemInfo(int item)
{
    assert(item >= 1 && item <= ShopItemCount);
    return Items[std::clamp(item, 1, ShopItemCount) - 1];
}

OptionFlags Profile::Options() const
{
    OptionFlags o;
    o.Undo = Owns(ShopItem::Undo);
    o.PreviewEmpty = Owns(ShopItem::PreviewEmpty);
    o.AutoPreviewEmpty = Owns(ShopItem::AutoPreviewEmpty);
    o.PreviewOccupied = Owns(ShopItem::PreviewOccupied);
    o.AutoPreviewOccupied = Owns(ShopItem::AutoPreviewOccupied);
    return o;
}

WinPayment PayWinDecision(Profile& profile, GameMode gameMode, int32_t level)
{
    const GameModeInfo& mode = ModeInfo(gameMode);
    // The level within the mode's own range: for a board dealt in another mode it
    // may lie outside 1 … 40, even at or below 0.
    const int32_t k = level - mode.FirstLevel + 1;
    WinPayment pay;
    // A board of the normal championship won in the advanced mode would pay a
    // negative amount; a win never costs money.
    pay.Amount = std::max(0, mode.RewardBase + mode.RewardPerLevel * k);
    if (mode.Track != Championship::None) {
        int32_t& unlocked = mode.Track == Championship::Normal ? profile.UnlockedNormal : profile.UnlockedAdvanced;
        if (k == unlocked)
            ++unlocked;
        unlocked = std::min(unlocked, mode.LevelSpan);
        // The box clamps a value of 0 or below to 1.
        if (k < mode.LevelSpan) {
            bool& move = mode.Track == Championship::Normal ? pay.MoveNormalSpin : pay.MoveAdvancedSpin;
            int32_t& value = mode.Track == Championship::Normal ? pay.NormalSpinValue : pay.AdvancedSpinValue;
            move = true;
            value = k + 1;
        }
    }
    AddMoney(profile, pay.Amount);
    return pay;
}

ShopOutcome TryBuy(Profile& profile, ShopItem item)
{
    if (profile.Owns(item))
        return ShopOutcome::SellAsked;
    const ShopItemInfo& info = ItemInfo(item);
    if (profile.Money < info.Price)
        return ShopOutcome::TooLittleMoney;
    profile.SetOwned(item, true);
    profile.Money -= info.Price;
    return ShopOutcome::Bought;
}

void Sell(Profile& profile, ShopItem item)
{
    if (!profile.Owns(item))
        return;
    profile.SetOwned(item, false);
    AddMoney(profile, ItemInfo(item).SellPrice);
}

std::string SellQuestion(ShopItem item)
{
    return "Do you want sell this option? (for $" + std::to_string(ItemInfo(item).SellPrice) + ")";
}

std::string MoneyText(int32_t money) { return "$" + std::to_string(money); }

std::string CarsLeftText(int32_t carsLeft) { return std::to_string(carsLeft) + " cars left"; }
