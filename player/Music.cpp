#include "Music.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace {

const char kFileName[] = "playmp3_background.mp3";

} // namespace

void StartMusic() {
    char szPath[MAX_PATH];
    DWORD cchTemp = GetTempPathA(MAX_PATH, szPath);
    // A temporary folder longer than 237 characters leaves no room for the
    // file name; play nothing rather than cut the path short. A folder that
    // does not fit at all makes GetTempPathA return the size it needs, or 0.
    if (cchTemp == 0 || cchTemp + sizeof(kFileName) > sizeof(szPath))
        return;
    std::memcpy(szPath + cchTemp, kFileName, sizeof(kFileName));

    WriteMusicFile(szPath);

    // Any path that fits its buffer also fits here: 6 + 259 + 15 + 1 <= 300.
    char szCommand[300];
    std::snprintf(szCommand, sizeof(szCommand), "open \"%s\" alias mymusic", szPath);
    mciSendStringA(szCommand, nullptr, 0, nullptr);
    mciSendStringA("play mymusic repeat", nullptr, 0, nullptr);
}

bool WriteMusicFile(const char* pszPath) {
    HANDLE hFile =
        CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;

    HRSRC hRes = FindResourceA(nullptr, "background.mp3", "MP3");
    HGLOBAL hData = LoadResource(nullptr, hRes);
    DWORD cbData = SizeofResource(nullptr, hRes);
    DWORD cbWritten = 0;
    WriteFile(hFile, LockResource(hData), cbData, &cbWritten, nullptr);

    CloseHandle(hFile);
    return true;
}
