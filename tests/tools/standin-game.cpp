// Stands in for a game the launcher starts: appends its own path, working folder and command line
// to the file named by KOVALT_STANDIN_RECORD (UTF-8, one "key=value" per line, "--" after each run).
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& s) {
    int n =
        WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t szRecord[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KOVALT_STANDIN_RECORD", szRecord, MAX_PATH))
        return 2;
    wchar_t szExe[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, szExe, MAX_PATH);
    wchar_t szCwd[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, szCwd);

    std::string record =
        "exe=" + Utf8(szExe) + "\ncwd=" + Utf8(szCwd) + "\ncmd=" + Utf8(GetCommandLineW()) + "\n--\n";
    HANDLE hFile = CreateFileW(szRecord, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    DWORD cb = 0;
    WriteFile(hFile, record.data(), static_cast<DWORD>(record.size()), &cb, nullptr);
    CloseHandle(hFile);
    return 0;
}
