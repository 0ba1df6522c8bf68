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

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    std::wstring cmd = argv[1];
    if (cmd == L"wait")
        return Wait(argv[2], argc > 3 ? _wtoi(argv[3]) : 10);
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
