#include "app/Profile.h"

#include <gtest/gtest.h>

#include <limits>

TEST(PayWin, NormalChampionshipPaysAndUnlocksTheNextLevel)
{
    Profile p;
    WinPayment w = PayWinDecision(p, GameMode::NormalChampionship, 1);
    EXPECT_EQ(w.Amount, 105);
    EXPECT_EQ(p.Money, 105);
    EXPECT_EQ(p.UnlockedNormal, 2) << "level 1 is below the unlocked level";
    EXPECT_TRUE(w.MoveNormalSpin);
    EXPECT_EQ(w.NormalSpinValue, 2);

    w = PayWinDecision(p, GameMode::NormalChampionship, 2);
    EXPECT_EQ(w.Amount, 110);
    EXPECT_EQ(p.Money, 215);
    EXPECT_EQ(p.UnlockedNormal, 3);
    EXPECT_EQ(w.NormalSpinValue, 3);
    EXPECT_FALSE(w.MoveAdvancedSpin);

    p.UnlockedNormal = 40;
    w = PayWinDecision(p, GameMode::NormalChampionship, 40);
    EXPECT_EQ(w.Amount, 300);
    EXPECT_EQ(p.UnlockedNormal, 40) << "capped at the last level";
    EXPECT_FALSE(w.MoveNormalSpin);
}

TEST(PayWin, AdvancedChampionshipCountsLevelsFrom41)
{
    Profile p;
    WinPayment w = PayWinDecision(p, GameMode::AdvancedChampionship, 42);
    EXPECT_EQ(w.Amount, 40);
    EXPECT_EQ(p.UnlockedAdvanced, 3);
    EXPECT_TRUE(w.MoveAdvancedSpin);
    EXPECT_EQ(w.AdvancedSpinValue, 3);
    EXPECT_EQ(p.UnlockedNormal, 2);

    w = PayWinDecision(p, GameMode::AdvancedChampionship, 80);
    EXPECT_EQ(w.Amount, 800);
    EXPECT_FALSE(w.MoveAdvancedSpin);
    EXPECT_EQ(p.Money, 840);
}

TEST(PayWin, FreeLevelsPayByTierAndTheModeAtTheWinCounts)
{
    const int pays[] = {0, 0, 0, 50, 150, 300, 500};
    for (int mode = 3; mode <= 6; ++mode) {
        Profile p;
        const WinPayment w = PayWinDecision(p, static_cast<GameMode>(mode), 106);
        EXPECT_EQ(p.Money, pays[mode]);
        EXPECT_FALSE(w.MoveNormalSpin || w.MoveAdvancedSpin);
        EXPECT_EQ(p.UnlockedNormal, 2);
    }
    // A maniac board won after choosing the normal championship.
    Profile p;
    const WinPayment w = PayWinDecision(p, GameMode::NormalChampionship, 107);
    EXPECT_EQ(w.Amount, 100 + 5 * 107);
    EXPECT_EQ(p.UnlockedNormal, 2);
    EXPECT_FALSE(w.MoveNormalSpin);
}

TEST(PayWin, ANormalBoardWonUnderTheAdvancedModeNeverCostsMoney)
{
    Profile p;
    p.Money = 1000;
    const WinPayment w = PayWinDecision(p, GameMode::AdvancedChampionship, 3);
    EXPECT_EQ(p.Money, 1000);
    EXPECT_EQ(w.Amount, 0);
    EXPECT_TRUE(w.MoveAdvancedSpin) << "k + 1 goes to the box, which clamps it to 1";
    EXPECT_EQ(w.AdvancedSpinValue, -36);
    EXPECT_EQ(p.UnlockedAdvanced, 2);
}

TEST(PayWin, MoneyGrowsPastWhatAFileHoldsAndNeverWraps)
{
    // Selling the gold medal at $9,999,999 pays its $10,000 in full.
    Profile p;
    p.Money = 9999999;
    p.SetOwned(ShopItem::GoldMedal, true);
    Sell(p, ShopItem::GoldMedal);
    EXPECT_EQ(p.Money, 10009999);
    EXPECT_FALSE(p.Owns(ShopItem::GoldMedal));
    PayWinDecision(p, GameMode::FreeManiac, 106);
    EXPECT_EQ(p.Money, 10010499);

    p.Money = std::numeric_limits<int32_t>::max() - 100;
    PayWinDecision(p, GameMode::FreeManiac, 106);
    EXPECT_EQ(p.Money, std::numeric_limits<int32_t>::max());
    p.SetOwned(ShopItem::Undo, true);
    Sell(p, ShopItem::Undo);
    EXPECT_EQ(p.Money, std::numeric_limits<int32_t>::max());
}

TEST(Shop, BuysAtExactlyThePriceAndSellsForHalf)
{
    Profile p;
    p.Money = 8000;
    EXPECT_EQ(TryBuy(p, ShopItem::AutoPreviewOccupied), ShopOutcome::Bought);
    EXPECT_EQ(p.Money, 0);
    EXPECT_TRUE(p.Options().AutoPreviewOccupied);
    EXPECT_EQ(TryBuy(p, ShopItem::AutoPreviewOccupied), ShopOutcome::SellAsked);
    EXPECT_EQ(SellQuestion(ShopItem::AutoPreviewOccupied), "Do you want sell this option? (for $4000)");
    Sell(p, ShopItem::AutoPreviewOccupied);
    EXPECT_EQ(p.Money, 4000);
    EXPECT_FALSE(p.Owns(ShopItem::AutoPreviewOccupied));

    p.Money = 199;
    EXPECT_EQ(TryBuy(p, ShopItem::Undo), ShopOutcome::TooLittleMoney);
    EXPECT_EQ(p.Money, 199);
    EXPECT_FALSE(p.Owns(ShopItem::Undo));
}

TEST(Shop, ItemTableTiesSalesToPrices)
{
    const int sellPrices[] = {100, 500, 2000, 3500, 4000, 2500, 5000, 10000};
    for (int item = 1; item <= 8; ++item) {
        EXPECT_EQ(ItemInfo(item).SellPrice, sellPrices[item - 1]);
        EXPECT_EQ(ItemInfo(item).Price, 2 * sellPrices[item - 1]);
    }
    EXPECT_EQ(MoneyText(1250), "$1250");
    EXPECT_EQ(CarsLeftText(126), "126 cars left");
}
