#pragma once
#include <windows.h>
#include <gdiplus.h>

#include "Dialog.h"
#include "Gdi.h"
#include "Geometry.h"
#include "String.h"
#include "browser/WebBrowser.h"

// The launcher's one window: a frameless, polygon-shaped modal dialog that paints all of itself.
class CKovaltDlg : public CDialog {
  public:
    CKovaltDlg();
    ~CKovaltDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BOOL CheckNetwork();
    void FetchExitPage();
    void CloseLauncher();
    void LoadSkinImages();
    void ReadSettings();
    void StartGame();
    void ShowMainMenu();
    void RefreshButtons();

    HICON m_hIcon;
    BOOL m_bOnline = FALSE;
    BOOL m_bHasExitPage = FALSE;
    CString m_strExitPageUrl;
    CString m_strGameName;
    CString m_strFileName;
    CString m_strParams;
    CString m_strMainPaneUrl;
    CString m_strLeftAdUrl;
    CString m_strRightAdUrl;
    CWebBrowser m_wndMainPane;
    CWebBrowser m_wndLeftAd;
    CWebBrowser m_wndRightAd;
    CRgn m_rgnWindow;
    CRect m_rcTitleBar;
    CRect m_rcMainPane;
    CRect m_rcLeftAd;
    CRect m_rcRightAd;
    CRect m_rcStartButton;
    CRect m_rcGameName;
    CRect m_rcMenuButton;
    CRect m_rcMinButton;
    CRect m_rcCloseButton;
    CRect m_rcLogo;
    int m_nMenuButtonState;
    int m_nMinButtonState;
    int m_nCloseButtonState;
    int m_nWidth;
    int m_nHeight;
    int m_nHotButton = 0;
    CString m_strModuleDir;
    Gdiplus::Image* m_pImgBackground = nullptr;
    Gdiplus::Image* m_pImgMenuButton = nullptr;
    Gdiplus::Image* m_pImgMinButton = nullptr;
    Gdiplus::Image* m_pImgCloseButton = nullptr;
    Gdiplus::Image* m_pImgStartButton = nullptr;

  protected:
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMenuHomePage();
    void OnMenuForum();
    void OnMenuSiteMap();
    void OnMenuTools();
    void OnMenuExit();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnTimer(UINT_PTR nIDEvent);

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

    // Web panes (Panes.cpp): events of the controls 209 to 211.
    void OnMainPaneProgressChange(long nProgress, long nProgressMax);
    void OnLeftAdProgressChange(long nProgress, long nProgressMax);
    void OnRightAdProgressChange(long nProgress, long nProgressMax);
    void OnMainPaneBeforeNavigate2(IDispatch* pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                   VARIANT* PostData, VARIANT* Headers, BOOL* Cancel);
    void OnLeftAdBeforeNavigate2(IDispatch* pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                 VARIANT* PostData, VARIANT* Headers, BOOL* Cancel);
    void OnRightAdBeforeNavigate2(IDispatch* pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                  VARIANT* PostData, VARIANT* Headers, BOOL* Cancel);
    void OnMainPaneDownloadBegin();
    void OnMainPaneDownloadComplete();
    void OnMainPaneTitleChange(const wchar_t* pszText);
    void OnMainPaneDocumentComplete(IDispatch* pDisp, VARIANT* URL);
    void OnMainPaneNavigateComplete2(IDispatch* pDisp, VARIANT* URL);

    const EventSinkMap* GetEventSinkMap() const override { return &eventSinkMap; }
    static const EventSinkEntry eventSinkEntries[];
    static const EventSinkMap eventSinkMap;

  private:
    void DrawSkinImage(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, const CRect& rc);
    void DrawGameName(Gdiplus::Graphics& graphics, const Gdiplus::Font* pFont);
    void SetSkinGeometry();
    void ShapeWindow();
    void CentreWindow();
    void CreatePanes();
    void ShowAdvertWhenLoaded(CWebBrowser& wndAd, const CString& strUrl, long nProgress, long nProgressMax);
};
