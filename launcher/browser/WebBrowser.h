#pragma once
#include "Control.h"
#include "Wnd.h"

// A child window hosting the platform's web browser control. Without the control (its creation
// failed) the object has no window and every call on it does nothing.
class CWebBrowser : public CWnd {
  public:
    // The class name and creation context are not used: the control brings its own window.
    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    // Null references leave the optional arguments out.
    void Navigate(LPCWSTR lpszURL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                  VARIANT* Headers);
};

// Events of the control's DWebBrowserEvents2 interface that the launcher binds.
namespace WebBrowserEvent {
constexpr DISPID kDownloadComplete = 104;
constexpr DISPID kDownloadBegin = 106;
constexpr DISPID kProgressChange = 108;
constexpr DISPID kTitleChange = 113;
constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kNavigateComplete2 = 252;
constexpr DISPID kDocumentComplete = 259;
} // namespace WebBrowserEvent
