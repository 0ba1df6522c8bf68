#pragma once
#include "String.h"
#include "Wnd.h"

// The one application object per program. The program's entry point calls InitInstance, then
// Run when it returned TRUE, then ExitInstance, whose result is the process exit code.
class CWinApp {
  public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }

    // The per-user registry key name the framework would keep its settings under.
    void SetRegistryKey(const wchar_t* pszKey) { m_strRegistryKey = pszKey; }

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CString m_strRegistryKey;

  private:
    int m_nExitCode = 0;
};

class CWinAppEx : public CWinApp {
  public:
    explicit CWinAppEx(BOOL bResourceSmartUpdate = FALSE) : m_bResourceSmartUpdate(bResourceSmartUpdate) {}

    BOOL m_bResourceSmartUpdate;
};

CWinApp* AfxGetApp();
// The module whose resources the framework loads: the program itself.
HINSTANCE AfxGetResourceHandle();
// Prepares OLE on this thread so that windows can host ActiveX controls.
void AfxEnableControlContainer();
