#include <windows.h>

#include "Music.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    StartMusic();

    // No window of our own: the loop only keeps the process, and with it the
    // music, alive until someone posts WM_QUIT to this thread.
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) != 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
