#include "core/ProgramFolder.h"

#include <gtest/gtest.h>

TEST(ProgramFolder, IsTheFolderOfThisExecutable)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder, std::string(VZ_BUILD_DIR) + "/tests/");
}
