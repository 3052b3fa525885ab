#include "core/GameError.h"
#include "core/ProgramFolder.h"

#include <cerrno>
#include <gtest/gtest.h>

TEST(GameError, UsesTheToolkitTexts)
{
    EXPECT_STREQ(GameError::FromErrno(ENOENT).what(), "File not found");
    EXPECT_STREQ(GameError::FromErrno(EACCES).what(), "File access denied");
    EXPECT_STREQ(GameError::CannotOpenFile("/x/tiles/3.jpg").what(), "Cannot open file /x/tiles/3.jpg");
    EXPECT_STREQ(GameError::BitmapNotValid().what(), "Bitmap image is not valid");
}

TEST(GameError, ABadNumberNamesItsControlCharactersByTheirCode)
{
    // A NUL would end the message the player sees right after the quote.
    EXPECT_STREQ(GameError::NotValidInteger(std::string("1\0", 2)).what(), "'1#0' is not a valid integer value");
    EXPECT_STREQ(GameError::NotValidInteger("\t\x1b\x7f").what(), "'#9#27#127' is not a valid integer value");
    EXPECT_STREQ(GameError::NotValidInteger("x-9 ").what(), "'x-9 ' is not a valid integer value");
    EXPECT_STREQ(GameError::NotValidInteger("").what(), "'' is not a valid integer value");
}

TEST(ProgramFolder, IsTheFolderOfThisExecutable)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder, std::string(VZ_BUILD_DIR) + "/tests/");
}
