#include "Profile.h"

#include "core/GameError.h"

#include <algorithm>
#include <limits>

namespace {

// In item order 1 … 8.
const ShopItemInfo Items[ShopItemCount] = {
    {"One-step UNDO", "by using Backspace", 200, 100, 5, 268, 2},
    {"PREVIEW under empty places", "by using Space", 1000, 500, 1, 296, 3},
    {"AUTO-PREVIEW under empty places", "automatic", 4000, 2000, 2, 352, 5},
    {"PREVIEW under occupied places", "by using Space", 7000, 3500, 3, 324, 4},
    {"AUTO-PREVIEW under occupied places", "automatic", 8000, 4000, 4, 380, 6},
    {"Bronze medal", "for good players", 5000, 2500, 6, 432, 7},
    {"Silver medal", "for advanced players", 10000, 5000, 7, 460, 8},
    {"Gold medal", "for experts", 20000, 10000, 8, 488, 9},
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
    if (item < 1 || item > ShopItemCount)
        throw GameError("Shop item " + std::to_string(item) + " does not exist");
    return Items[item - 1];
}

ShopItem ItemOfColorButton(int button)
{
    for (int item = 1; item <= ShopItemCount; ++item)
        if (Items[item - 1].ColorButton == button)
            return static_cast<ShopItem>(item);
    throw GameError("Shop button " + std::to_string(button) + " does not exist");
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

WinPayment PayWinDecision(Profile& profile, int32_t gameMode, int32_t level)
{
    WinPayment pay;
    switch (gameMode) {
    case 1:
        pay.Amount = 100 + 5 * level;
        if (level == profile.UnlockedNormal)
            ++profile.UnlockedNormal;
        profile.UnlockedNormal = std::min(profile.UnlockedNormal, ChampionshipLevels);
        if (level < ChampionshipLevels) {
            pay.MoveNormalSpin = true;
            pay.NormalSpinValue = level + 1;
        }
        break;
    case 2: {
        const int32_t k = level - 40;
        // A normal-championship board won after switching to this mode would pay a
        // negative amount; a win never costs money.
        pay.Amount = std::max(0, 20 * k);
        if (k == profile.UnlockedAdvanced)
            ++profile.UnlockedAdvanced;
        profile.UnlockedAdvanced = std::min(profile.UnlockedAdvanced, ChampionshipLevels);
        // k is 0 or below for a normal-championship board; the box clamps it to 1.
        if (k < ChampionshipLevels) {
            pay.MoveAdvancedSpin = true;
            pay.AdvancedSpinValue = k + 1;
        }
        break;
    }
    case 3:
        pay.Amount = 50;
        break;
    case 4:
        pay.Amount = 150;
        break;
    case 5:
        pay.Amount = 300;
        break;
    case 6:
        pay.Amount = 500;
        break;
    default:
        break;
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
