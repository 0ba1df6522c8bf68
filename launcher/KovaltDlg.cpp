#include "KovaltDlg.h"
#include "App.h"
#include "SkinGeometry.h"
#include "res/resource.h"

#include <iterator>

const MessageMapEntry CKovaltDlg::messageEntries[] = {
    OnMessage<WM_CLOSE, &CKovaltDlg::CloseLauncher>(),
    OnMessage<WM_SHOWWINDOW, &CKovaltDlg::OnShowWindow>(),
    OnMessage<WM_TIMER, &CKovaltDlg::OnTimer>(),
};
const MessageMap CKovaltDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

CKovaltDlg::CKovaltDlg() : CDialog(IDD_KOVALT_DIALOG) {
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CKovaltDlg::~CKovaltDlg() = default;

BOOL CKovaltDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetWindowText(L"翎川网启动客户端");
    SetSkinGeometry();
    ShapeWindow();
    CentreWindow();
    return TRUE;
}

// Enter and Escape must not end the launcher: only the closing sequence does.
void CKovaltDlg::OnOK() {}
void CKovaltDlg::OnCancel() {}

void CKovaltDlg::CloseLauncher() {
    CDialog::OnOK();
}

void CKovaltDlg::OnShowWindow(BOOL, UINT) {
    Default();
}
void CKovaltDlg::OnTimer(UINT_PTR) {
    Default();
}

void CKovaltDlg::SetSkinGeometry() {
    m_nWidth = Skin::kWidth;
    m_nHeight = Skin::kHeight;
    m_rcTitleBar = Skin::kTitleBar;
    m_rcMainPane = Skin::kMainPane;
    m_rcLeftAd = Skin::kLeftAd;
    m_rcRightAd = Skin::kRightAd;
    m_rcStartButton = Skin::kStartButton;
    m_rcGameName = Skin::kGameName;
    m_rcMenuButton = Skin::kMenuButton;
    m_rcMinButton = Skin::kMinButton;
    m_rcCloseButton = Skin::kCloseButton;
    m_rcLogo = Skin::kLogo;
    m_nMenuButtonState = 0;
    m_nMinButtonState = 0;
    m_nCloseButtonState = 0;
}

void CKovaltDlg::ShapeWindow() {
    m_rgnWindow.CreatePolygonRgn(Skin::kWindowShape, static_cast<int>(std::size(Skin::kWindowShape)),
                                 ALTERNATE);
    // The window owns the region from here on: our member must not delete it.
    SetWindowRgn(static_cast<HRGN>(m_rgnWindow.Detach()), TRUE);
}

void CKovaltDlg::CentreWindow() {
    int x = (GetSystemMetrics(SM_CXSCREEN) - m_nWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - m_nHeight) / 2;
    SetWindowPos(nullptr, x, y, m_nWidth, m_nHeight, 0);
}
