#pragma once
#include <windows.h>

#include "Dialog.h"
#include "Gdi.h"
#include "Geometry.h"
#include "String.h"

// The launcher's one window: a frameless, polygon-shaped modal dialog that paints all of itself.
class CKovaltDlg : public CDialog {
  public:
    CKovaltDlg();
    ~CKovaltDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void CloseLauncher();

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

  protected:
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnTimer(UINT_PTR nIDEvent);

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;

  private:
    void SetSkinGeometry();
    void ShapeWindow();
    void CentreWindow();
};
