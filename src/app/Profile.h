#pragma once
#include "levels/GameModes.h"
#include "model/PlayRules.h"

#include <cstdint>
#include <string>

// The eight shop items in their fixed order (also the order of the profile file's flags).
enum class ShopItem { Undo = 1, PreviewEmpty, AutoPreviewEmpty, PreviewOccupied, AutoPreviewOccupied, BronzeMedal, SilverMedal, GoldMedal };
constexpr int ShopItemCount = 8;

// What the shop knows of an item; where it shows is the window's business.
struct ShopItemInfo {
    const char* Name;       // shop caption, e.g. "One-step UNDO"
    const char* Use;        // second line, e.g. "by using Backspace"
    int32_t Price;
    int32_t SellPrice;
};

// What the shop knows of item number 1 … 8.
const ShopItemInfo& ItemInfo(int item);
inline const ShopItemInfo& ItemInfo(ShopItem item) { return ItemInfo(static_cast<int>(item)); }

// The player's progress. The two selected championship levels live in the spin boxes.
struct Profile {
    int32_t Money = 0;
    bool Owned[ShopItemCount] = {};
    int32_t UnlockedNormal = 2;
    int32_t UnlockedAdvanced = 2;

    bool Owns(ShopItem item) const { return Owned[static_cast<int>(item) - 1]; }
    void SetOwned(ShopItem item, bool owned) { Owned[static_cast<int>(item) - 1] = owned; }
    OptionFlags Options() const;
};

// What a win does to the profile and the championship spin boxes.
struct WinPayment {
    int32_t Amount = 0;
    bool MoveNormalSpin = false;   // set SpinEdit2's value to NormalSpinValue
    int32_t NormalSpinValue = 0;
    bool MoveAdvancedSpin = false; // set SpinEdit3's value to AdvancedSpinValue
    int32_t AdvancedSpinValue = 0;
};

// Pays the win of `level` under `gameMode` and advances the championship.
// The caller then sets the spin maxima to the unlocked levels and applies the moves.
WinPayment PayWinDecision(Profile& profile, GameMode gameMode, int32_t level);

enum class ShopOutcome { Bought, TooLittleMoney, SellAsked };
// Buys the item when it is not owned and affordable; SellAsked when it is owned.
ShopOutcome TryBuy(Profile& profile, ShopItem item);
void Sell(Profile& profile, ShopItem item);
// "Do you want sell this option? (for $S)"
std::string SellQuestion(ShopItem item);

extern const char* const TooLittleMoneyText; // "Sorry, you cannot buy this (too less money)"
std::string MoneyText(int32_t money);        // "$" and the amount
std::string CarsLeftText(int32_t carsLeft);  // the amount and " cars left"
