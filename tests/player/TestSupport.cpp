#include "TestSupport.h"

#include <algorithm>

namespace {

const DWORD kWaitMs = 10000;

// Long paths need the \\?\ form of the wide calls; the test paths are plain ASCII.
std::wstring LongPath(const std::string& path) {
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE hFind = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\" + name);
            else
                DeleteFileW((path + L"\\" + name).c_str());
        } while (FindNextFileW(hFind, &fd));
        FindClose(hFind);
    }
    RemoveDirectoryW(path.c_str());
}

struct EnumState {
    DWORD pid;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == state->pid)
        state->windows->push_back(hWnd);
    return TRUE;
}

} // namespace

std::string AmbrellPath() {
    char szPath[MAX_PATH];
    DWORD cch = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path(szPath, cch);
    return path.substr(0, path.find_last_of('\\') + 1) + "Ambrell.exe";
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    HANDLE hFile = CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(hFile, nullptr));
    DWORD cbRead = 0;
    if (!bytes.empty() && !ReadFile(hFile, &bytes[0], static_cast<DWORD>(bytes.size()), &cbRead, nullptr))
        cbRead = 0;
    bytes.resize(cbRead);
    CloseHandle(hFile);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE hFile = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD cbWritten = 0;
    WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr);
    CloseHandle(hFile);
}

std::string MusicResource(HMODULE hModule) {
    HRSRC hRes = FindResourceA(hModule, "background.mp3", "MP3");
    if (!hRes)
        return std::string();
    auto* data = static_cast<const char*>(LockResource(LoadResource(hModule, hRes)));
    return std::string(data, SizeofResource(hModule, hRes));
}

std::vector<HWND> WindowsOf(DWORD pid) {
    std::vector<HWND> windows;
    EnumState state = {pid, &windows};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    for (HWND hWnd = nullptr; (hWnd = FindWindowExA(HWND_MESSAGE, hWnd, nullptr, nullptr)) != nullptr;)
        CollectWindow(hWnd, reinterpret_cast<LPARAM>(&state));
    return windows;
}

TempFolder::TempFolder(size_t minLength) {
    static int s_nCount = 0;
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    m_strRoot = std::string(szTemp) + "ambrell-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++s_nCount);
    CreateDirectoryW(LongPath(m_strRoot).c_str(), nullptr);
    m_strPath = m_strRoot;
    // Each padding step adds "\xxx..."; never leave a single character to fill.
    while (m_strPath.size() < minLength) {
        size_t step = std::min<size_t>(minLength - m_strPath.size(), 100);
        if (minLength - m_strPath.size() - step == 1)
            --step;
        m_strPath += "\\" + std::string(step - 1, 'x');
        CreateDirectoryW(LongPath(m_strPath).c_str(), nullptr);
    }
}

TempFolder::~TempFolder() {
    RemoveTree(LongPath(m_strRoot));
}

bool TempFolder::IsEmpty() const {
    WIN32_FIND_DATAW fd;
    HANDLE hFind = FindFirstFileW((LongPath(m_strPath) + L"\\*").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return true;
    bool bEmpty = true;
    do {
        std::wstring name = fd.cFileName;
        bEmpty = bEmpty && (name == L"." || name == L"..");
    } while (FindNextFileW(hFind, &fd));
    FindClose(hFind);
    return bEmpty;
}

ScopedTempVars::ScopedTempVars(const std::string& folder) {
    for (const char* name : {"TMP", "TEMP"}) {
        char szValue[1024];
        DWORD cch = GetEnvironmentVariableA(name, szValue, sizeof(szValue));
        bool bSet = cch > 0 && cch < sizeof(szValue);
        m_saved.push_back({name, bSet, bSet ? std::string(szValue, cch) : std::string()});
        SetEnvironmentVariableA(name, folder.c_str());
    }
}

ScopedTempVars::~ScopedTempVars() {
    for (const Saved& saved : m_saved)
        SetEnvironmentVariableA(saved.name, saved.set ? saved.value.c_str() : nullptr);
}

AmbrellProcess::AmbrellProcess() {
    std::string path = AmbrellPath();
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        m_pi = {};
}

AmbrellProcess::~AmbrellProcess() {
    if (!Started())
        return;
    if (IsRunning()) {
        TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, kWaitMs);
    }
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

bool AmbrellProcess::WaitUntilIdle() {
    return WaitForInputIdle(m_pi.hProcess, kWaitMs) == 0;
}

bool AmbrellProcess::IsRunning() const {
    return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool AmbrellProcess::Quit(WPARAM code, DWORD& exitCode) {
    if (!PostThreadMessageA(m_pi.dwThreadId, WM_QUIT, code, 0))
        return false;
    if (WaitForSingleObject(m_pi.hProcess, kWaitMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(m_pi.hProcess, &exitCode) != FALSE;
}
