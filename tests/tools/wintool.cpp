// Test tool run under Wine beside the launcher: finds a top-level window by title and reports on it
// or sends it a request, so tests can see what X11 cannot (window rectangles on a virtual desktop)
// and send real window messages.
//   wintool wait  TITLE SECONDS        exit 0 once the window exists
//   wintool rect  TITLE OUTFILE        write "left top right bottom visible iconic"
//   wintool close TITLE                post WM_CLOSE
//   wintool restore TITLE              post the system's restore command (after a minimise)
//   wintool key   TITLE VK             post WM_KEYDOWN/WM_KEYUP of a virtual key to the window
//   wintool command TITLE ID           post WM_COMMAND with a command id
//   wintool child TITLE ID OUTFILE     write the child window with that control id as "left top right
//                                      bottom visible" in the parent's client coordinates (exit 6: none)
//   wintool run-rect EXE TITLE OUTFILE start EXE, write its window as `rect` does, close it and wait:
//                                      one process for a whole run on a virtual desktop
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND FindTopLevel(const wchar_t* pszTitle) {
    return FindWindowW(nullptr, pszTitle);
}

int Wait(const wchar_t* pszTitle, int nSeconds) {
    for (int i = 0; i < nSeconds * 10; ++i) {
        if (FindTopLevel(pszTitle))
            return 0;
        Sleep(100);
    }
    return 1;
}

int Rect(HWND hWnd, const wchar_t* pszOut) {
    RECT rc;
    GetWindowRect(hWnd, &rc);
    FILE* f = _wfopen(pszOut, L"w");
    if (!f)
        return 3;
    fprintf(f, "%ld %ld %ld %ld %d %d\n", rc.left, rc.top, rc.right, rc.bottom, IsWindowVisible(hWnd) ? 1 : 0,
            IsIconic(hWnd) ? 1 : 0);
    fclose(f);
    return 0;
}

int Child(HWND hWnd, int nID, const wchar_t* pszOut) {
    HWND hChild = GetDlgItem(hWnd, nID);
    if (!hChild)
        return 6;
    RECT rc;
    GetWindowRect(hChild, &rc);
    MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
    FILE* f = _wfopen(pszOut, L"w");
    if (!f)
        return 3;
    fprintf(f, "%ld %ld %ld %ld %d\n", rc.left, rc.top, rc.right, rc.bottom, IsWindowVisible(hChild) ? 1 : 0);
    fclose(f);
    return 0;
}

int Key(HWND hWnd, UINT vk) {
    PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
    PostMessageW(hWnd, WM_KEYUP, vk, 0xC0000001);
    return 0;
}

int RunAndRect(wchar_t* pszExe, const wchar_t* pszTitle, const wchar_t* pszOut) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    if (!CreateProcessW(pszExe, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 3;
    int nResult = Wait(pszTitle, 30);
    HWND hWnd = FindTopLevel(pszTitle);
    if (hWnd) {
        // Placement is final once the initialisation has returned and the window shows.
        for (int i = 0; i < 300 && !IsWindowVisible(hWnd); ++i)
            Sleep(100);
        nResult = Rect(hWnd, pszOut);
        PostMessageW(hWnd, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return nResult;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    std::wstring cmd = argv[1];
    if (cmd == L"wait")
        return Wait(argv[2], argc > 3 ? _wtoi(argv[3]) : 10);
    if (cmd == L"run-rect" && argc > 4)
        return RunAndRect(argv[2], argv[3], argv[4]);
    HWND hWnd = FindTopLevel(argv[2]);
    if (!hWnd)
        return 4;
    if (cmd == L"rect" && argc > 3)
        return Rect(hWnd, argv[3]);
    if (cmd == L"restore")
        return PostMessageW(hWnd, WM_SYSCOMMAND, SC_RESTORE, 0) ? 0 : 5;
    if (cmd == L"close")
        return PostMessageW(hWnd, WM_CLOSE, 0, 0) ? 0 : 5;
    if (cmd == L"key" && argc > 3)
        return Key(hWnd, _wtoi(argv[3]));
    if (cmd == L"command" && argc > 3)
        return PostMessageW(hWnd, WM_COMMAND, _wtoi(argv[3]), 0) ? 0 : 5;
    if (cmd == L"child" && argc > 4)
        return Child(hWnd, _wtoi(argv[3]), argv[4]);
    return 2;
}
