#include "App.h"

// The program entry: drives the global application object.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 1;
    pApp->m_hInstance = hInstance;
    if (pApp->InitInstance())
        pApp->Run();
    return pApp->ExitInstance();
}
