// The play logic run inside the test program, which carries the same resources as Ambrell.
#include "Music.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <memory>

namespace {

// Ambrell.exe's own resources, without running it.
struct ModuleDeleter {
    void operator()(HMODULE hModule) const { FreeLibrary(hModule); }
};
using DataModule = std::unique_ptr<std::remove_pointer<HMODULE>::type, ModuleDeleter>;

DataModule LoadAmbrellData() {
    return DataModule(LoadLibraryExA(AmbrellPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::string MciString(const char* command) {
    char szReturn[128] = "";
    MCIERROR err = mciSendStringA(command, szReturn, sizeof(szReturn), nullptr);
    return err ? "error " + std::to_string(err) : szReturn;
}

std::string OwnMusic() {
    return MusicResource(nullptr);
}

} // namespace

TEST(AmbrellResources, MusicIsTheCommittedMp3InChineseSimplified) {
    DataModule ambrell = LoadAmbrellData();
    ASSERT_TRUE(ambrell);
    HRSRC hRes = FindResourceExA(ambrell.get(), "MP3", "BACKGROUND.MP3",
                                 MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    ASSERT_NE(nullptr, hRes);
    EXPECT_EQ(static_cast<DWORD>(AMBRELL_MP3_SIZE), SizeofResource(ambrell.get(), hRes));

    // First frame header: MPEG-1 Layer III without CRC, 128 kbit/s, 44.1 kHz, joint stereo.
    std::string music = MusicResource(ambrell.get());
    ASSERT_GE(music.size(), 4u);
    EXPECT_EQ('\xFF', music[0]);
    EXPECT_EQ('\xFB', music[1]);
    EXPECT_EQ(0x90, static_cast<unsigned char>(music[2]) & 0xFC);
    EXPECT_EQ(0x40, static_cast<unsigned char>(music[3]) & 0xC0);
}

TEST(AmbrellResources, ManifestRunsAsInvokerWithoutUiAccess) {
    DataModule ambrell = LoadAmbrellData();
    ASSERT_TRUE(ambrell);
    HRSRC hRes = FindResourceA(ambrell.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, hRes);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(ambrell.get(), hRes))),
                         SizeofResource(ambrell.get(), hRes));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
    EXPECT_NE(std::string::npos, manifest.find("uiAccess=\"false\"")) << manifest;
}

// An earlier file, even a longer one, is replaced by exactly the resource's bytes.
class WriteMusicFileTest : public testing::TestWithParam<size_t> {};

TEST_P(WriteMusicFileTest, WritesExactlyTheResource) {
    TempFolder temp;
    if (GetParam() > 0)
        WriteBytes(temp.MusicFile(), std::string(GetParam(), 'x'));

    EXPECT_TRUE(WriteMusicFile(temp.MusicFile().c_str()));

    std::string written = ReadBytes(temp.MusicFile());
    EXPECT_EQ(static_cast<size_t>(AMBRELL_MP3_SIZE), written.size());
    EXPECT_TRUE(written == OwnMusic());
}

INSTANTIATE_TEST_SUITE_P(EarlierFile, WriteMusicFileTest, testing::Values(0, 100, AMBRELL_MP3_SIZE + 4096),
                         [](const testing::TestParamInfo<size_t>& info) {
                             return info.param == 0 ? std::string("None")
                                                    : "Bytes" + std::to_string(info.param);
                         });

TEST(WriteMusicFile, FileHeldWithoutSharingIsLeftAlone) {
    TempFolder temp;
    WriteBytes(temp.MusicFile(), "earlier");
    HANDLE hHeld = CreateFileA(temp.MusicFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);

    EXPECT_FALSE(WriteMusicFile(temp.MusicFile().c_str()));

    CloseHandle(hHeld);
    EXPECT_EQ("earlier", ReadBytes(temp.MusicFile()));
}

TEST(WriteMusicFile, MissingFolderFails) {
    TempFolder temp;
    std::string path = temp.Path() + "\\missing\\playmp3_background.mp3";

    EXPECT_FALSE(WriteMusicFile(path.c_str()));
    EXPECT_TRUE(temp.IsEmpty());
}

// StartMusic in this process, with TMP and TEMP pointed at a folder. The temporary path, as
// GetTempPathA reports it with its backslash, and the 22-character file name fill the 260-byte
// buffer at 237 characters; a longer folder plays nothing.
struct TempPathCase {
    size_t length;
    bool plays;
};

class StartMusicTest : public testing::TestWithParam<TempPathCase> {};

// The device belongs to this process: closing it lets the folder go and the next test open it again.
struct MusicDeviceCloser {
    ~MusicDeviceCloser() { mciSendStringA("close mymusic", nullptr, 0, nullptr); }
};

TEST_P(StartMusicTest, PlaysOnlyWhenThePathFits) {
    TempFolder temp(GetParam().length - 1);
    ASSERT_EQ(GetParam().length, temp.Path().size() + 1);
    ScopedTempVars vars(temp.Path());
    MusicDeviceCloser closer;

    StartMusic();

    EXPECT_TRUE(WindowsOf(GetCurrentProcessId()).empty());
    if (GetParam().plays) {
        EXPECT_TRUE(ReadBytes(temp.MusicFile()) == OwnMusic());
        EXPECT_EQ("playing", MciString("status mymusic mode"));
    } else {
        EXPECT_TRUE(temp.IsEmpty());
        // No device was opened under the alias.
        EXPECT_PRED_FORMAT2(testing::IsSubstring, "error", MciString("status mymusic mode"));
    }
}

INSTANTIATE_TEST_SUITE_P(TempPathLength, StartMusicTest,
                         testing::Values(TempPathCase{60, true}, TempPathCase{237, true},
                                         TempPathCase{238, false}, TempPathCase{300, false}),
                         [](const testing::TestParamInfo<TempPathCase>& info) {
                             return "Chars" + std::to_string(info.param.length);
                         });
