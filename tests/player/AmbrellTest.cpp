// The real Ambrell.exe, started from here with TMP and TEMP pointed at a folder of the test's own.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Ambrell's music, read from the executable itself.
std::string AmbrellMusic() {
    HMODULE hAmbrell = LoadLibraryExA(AmbrellPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::string music = MusicResource(hAmbrell);
    FreeLibrary(hAmbrell);
    return music;
}

// Starts Ambrell, checks that it keeps running without a window, then ends it with a quit message.
// Everything it does at start has happened once it has taken the quit message.
void RunUntilQuit(WPARAM code) {
    AmbrellProcess ambrell;
    ASSERT_TRUE(ambrell.Started()) << AmbrellPath();
    ASSERT_TRUE(ambrell.WaitUntilIdle());
    EXPECT_TRUE(ambrell.IsRunning());
    EXPECT_TRUE(WindowsOf(ambrell.Id()).empty());

    DWORD exitCode = 0;
    ASSERT_TRUE(ambrell.Quit(code, exitCode));
    EXPECT_EQ(code, exitCode);
}

} // namespace

// The file is written whether or not an earlier one was there, and stays after the process ends.
class AmbrellStartTest : public testing::TestWithParam<bool> {};

TEST_P(AmbrellStartTest, WritesTheMusicAndWaitsForQuit) {
    TempFolder temp;
    if (GetParam())
        WriteBytes(temp.MusicFile(), std::string(AMBRELL_MP3_SIZE + 4096, 'x'));
    ScopedTempVars vars(temp.Path());

    ASSERT_NO_FATAL_FAILURE(RunUntilQuit(42));

    std::string written = ReadBytes(temp.MusicFile());
    EXPECT_EQ(static_cast<size_t>(AMBRELL_MP3_SIZE), written.size());
    EXPECT_TRUE(written == AmbrellMusic());
}

INSTANTIATE_TEST_SUITE_P(EarlierFile, AmbrellStartTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Replaced" : "None";
                         });

TEST(Ambrell, FileHeldByAnotherProcessIsLeftAloneAndItKeepsRunning) {
    TempFolder temp;
    WriteBytes(temp.MusicFile(), "earlier");
    HANDLE hHeld = CreateFileA(temp.MusicFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    ScopedTempVars vars(temp.Path());

    ASSERT_NO_FATAL_FAILURE(RunUntilQuit(7));

    CloseHandle(hHeld);
    EXPECT_EQ("earlier", ReadBytes(temp.MusicFile()));
}

TEST(Ambrell, TempFolderTooLongForTheFileNameWritesNothingAndItKeepsRunning) {
    // With the backslash GetTempPathA adds, 238 characters: one more than fits with the file name.
    TempFolder temp(237);
    ScopedTempVars vars(temp.Path());

    ASSERT_NO_FATAL_FAILURE(RunUntilQuit(9));

    EXPECT_TRUE(temp.IsEmpty());
}
