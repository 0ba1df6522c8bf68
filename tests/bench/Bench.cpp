// Figures for the README's performance section, measured on the real launcher code running its real
// start-up path (the application object's InitInstance) inside this process.
//   bench paint N    paint time vs a raw 961 x 648 BitBlt, and process start to first paint
//   bench startup    process start to first paint only (run it against a stalled content server)
//   bench memory EXE peak working set of a program, 3 s after its start
#include "KovaltApp.h"
#include "KovaltDlg.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / f.QuadPart;
}

// Seconds since this process was created, by the system's own clock.
double SinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](FILETIME ft) {
        return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    };
    return (ticks(now) - ticks(created)) / 1e7;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double g_firstPaint = -1;
int g_nPaints = 0;

// The first moment the main window is shown with nothing left to paint.
bool FirstPaintDone() {
    if (g_firstPaint >= 0)
        return true;
    HWND hWnd = theApp.m_pMainWnd ? theApp.m_pMainWnd->m_hWnd : nullptr;
    if (!hWnd || !IsWindowVisible(hWnd) || GetUpdateRect(hWnd, nullptr, FALSE))
        return false;
    g_firstPaint = SinceProcessStart();
    return true;
}

// Median seconds of a full repaint cycle (invalidate, WM_PAINT, the window reaching the screen).
double MedianRepaint(HWND hWnd) {
    std::vector<double> times;
    for (int i = 0; i < g_nPaints; ++i) {
        double t = Now();
        InvalidateRect(hWnd, nullptr, FALSE);
        UpdateWindow(hWnd);
        times.push_back(Now() - t);
    }
    return Median(times);
}

// The baseline: a window of the same size whose paint is one BitBlt of a ready 961 x 648 bitmap.
HDC g_hBlitSource;

LRESULT CALLBACK BlitWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg != WM_PAINT)
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    BitBlt(hDC, 0, 0, 961, 648, g_hBlitSource, 0, 0, SRCCOPY);
    EndPaint(hWnd, &ps);
    return 0;
}

double MedianRawBlitRepaint(const RECT& rcAt) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BlitWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BenchRawBlit";
    RegisterClassW(&wc);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, rcAt.left, rcAt.top, 961,
                                648, nullptr, nullptr, wc.hInstance, nullptr);
    HDC hWndDC = GetDC(hWnd);
    g_hBlitSource = CreateCompatibleDC(hWndDC);
    HBITMAP hBmp = CreateCompatibleBitmap(hWndDC, 961, 648);
    HGDIOBJ hOld = SelectObject(g_hBlitSource, hBmp);
    ReleaseDC(hWnd, hWndDC);
    UpdateWindow(hWnd);
    double t = MedianRepaint(hWnd);
    SelectObject(g_hBlitSource, hOld);
    DeleteObject(hBmp);
    DeleteDC(g_hBlitSource);
    DestroyWindow(hWnd);
    return t;
}

void PaintBench(CWnd& wnd) {
    double p = MedianRepaint(wnd);
    RECT rc;
    wnd.GetWindowRect(&rc);
    double b = MedianRawBlitRepaint(rc);
    printf("paint_median_ms %.3f\nraw_blit_paint_median_ms %.3f\npaint_to_raw_blit_ratio %.1f\n", p * 1e3,
           b * 1e3, p / b);
}

void CALLBACK Measure(HWND, UINT, UINT_PTR idTimer, DWORD) {
    if (!FirstPaintDone())
        return;
    KillTimer(nullptr, idTimer);
    printf("first_paint_ms %.0f\n", g_firstPaint * 1e3);
    if (g_nPaints > 0)
        PaintBench(*theApp.m_pMainWnd);
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    printf("launcher_code_peak_working_set_mb %.1f\n", pmc.PeakWorkingSetSize / 1048576.0);
    fflush(stdout);
    theApp.m_pMainWnd->PostMessage(WM_CLOSE);
}

int RunLauncher() {
    theApp.m_hInstance = GetModuleHandleW(nullptr);
    SetTimer(nullptr, 0, 1, Measure);
    theApp.InitInstance();
    return theApp.ExitInstance();
}

BOOL CALLBACK PostClose(HWND hWnd, LPARAM) {
    PostMessageW(hWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

int MeasureProgram(const wchar_t* pszExe) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    std::wstring cmd = L"\"" + std::wstring(pszExe) + L"\"";
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 3;
    Sleep(3000);
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc));
    printf("peak_working_set_mb %.1f\n", pmc.PeakWorkingSetSize / 1048576.0);
    fflush(stdout);
    // Ends the launcher through its close request, or Ambrell through its quit message.
    EnumThreadWindows(pi.dwThreadId, PostClose, 0);
    PostThreadMessageW(pi.dwThreadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"paint") {
        g_nPaints = argc > 2 ? _wtoi(argv[2]) : 200;
        return RunLauncher();
    }
    if (mode == L"startup")
        return RunLauncher();
    if (mode == L"memory" && argc > 2)
        return MeasureProgram(argv[2]);
    fprintf(stderr, "usage: bench paint N | startup | memory EXE\n");
    return 2;
}
