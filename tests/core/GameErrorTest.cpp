#include "core/GameError.h"

#include <cerrno>
#include <gtest/gtest.h>

TEST(GameError, UsesTheToolkitTexts)
{
    EXPECT_EQ(GameError::FromErrno(ENOENT).Message(), "File not found");
    EXPECT_EQ(GameError::FromErrno(EACCES).Message(), "File access denied");
    EXPECT_EQ(GameError::CannotOpenFile("/x/tiles/3.jpg").Message(), "Cannot open file /x/tiles/3.jpg");
    EXPECT_EQ(GameError::BitmapNotValid().Message(), "Bitmap image is not valid");
}

TEST(GameError, ABadNumberNamesItsControlCharactersByTheirCode)
{
    // A NUL would end the message the player sees right after the quote.
    EXPECT_EQ(GameError::NotValidInteger(std::string("1\0", 2)).Message(), "'1#0' is not a valid integer value");
    EXPECT_EQ(GameError::NotValidInteger("\t\x1b\x7f").Message(), "'#9#27#127' is not a valid integer value");
    EXPECT_EQ(GameError::NotValidInteger("x-9 ").Message(), "'x-9 ' is not a valid integer value");
    EXPECT_EQ(GameError::NotValidInteger("").Message(), "'' is not a valid integer value");
}

TEST(StrToInt, AcceptsLeadingBlanksOnly)
{
    auto read = [](const char* text) {
        int32_t value = -1;
        EXPECT_FALSE(StrToInt(text, value)) << text;
        return value;
    };
    EXPECT_EQ(read("004"), 4);
    EXPECT_EQ(read("  4"), 4);
    EXPECT_EQ(read("510"), 510);
    for (const char* bad : {"", "   ", "4  ", "4 ", "a12", "1.5", "0x1"}) {
        int32_t value = -1;
        EXPECT_EQ(StrToInt(bad, value).Message(), std::string("'") + bad + "' is not a valid integer value");
        EXPECT_EQ(value, -1) << bad;
    }
    int32_t value = -1;
    EXPECT_TRUE(StrToInt("99999999999", value));
}
