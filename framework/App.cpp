#include "App.h"

#include <ole2.h>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return m_nExitCode;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetResourceHandle() {
    return ::GetModuleHandleW(nullptr);
}

void AfxEnableControlContainer() {
    ::OleInitialize(nullptr);
}
