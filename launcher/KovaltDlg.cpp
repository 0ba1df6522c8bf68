#include "KovaltDlg.h"
#include "App.h"
#include "Settings.h"
#include "SkinGeometry.h"
#include "res/resource.h"

#include <iterator>

const MessageMapEntry CKovaltDlg::messageEntries[] = {
    OnMessage<WM_PAINT, &CKovaltDlg::OnPaint>(),
    OnMessage<WM_QUERYDRAGICON, &CKovaltDlg::OnQueryDragIcon>(),
    OnMessage<WM_ERASEBKGND, &CKovaltDlg::OnEraseBkgnd>(),
    OnMessage<WM_MOUSEMOVE, &CKovaltDlg::OnMouseMove>(),
    OnMessage<WM_LBUTTONDOWN, &CKovaltDlg::OnLButtonDown>(),
    OnMessage<WM_LBUTTONUP, &CKovaltDlg::OnLButtonUp>(),
    OnCommand<ID_MENU_HOMEPAGE, &CKovaltDlg::OnMenuHomePage>(),
    OnCommand<ID_MENU_FORUM, &CKovaltDlg::OnMenuForum>(),
    OnCommand<ID_MENU_SITEMAP, &CKovaltDlg::OnMenuSiteMap>(),
    OnCommand<ID_MENU_TOOLS, &CKovaltDlg::OnMenuTools>(),
    OnCommand<ID_MENU_EXIT, &CKovaltDlg::OnMenuExit>(),
    OnMessage<WM_CLOSE, &CKovaltDlg::CloseLauncher>(),
    OnMessage<WM_SHOWWINDOW, &CKovaltDlg::OnShowWindow>(),
    OnMessage<WM_TIMER, &CKovaltDlg::OnTimer>(),
};
const MessageMap CKovaltDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

CKovaltDlg::CKovaltDlg() : CDialog(IDD_KOVALT_DIALOG) {
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

// The skin images go with the window object, while GDI+ is still running.
CKovaltDlg::~CKovaltDlg() {
    delete m_pImgBackground;
    delete m_pImgMenuButton;
    delete m_pImgMinButton;
    delete m_pImgCloseButton;
    delete m_pImgStartButton;
}

BOOL CKovaltDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    GetModuleDir(m_strModuleDir);
    ReadSettings();
    FetchExitPage();
    SetWindowText(L"翎川网启动客户端");
    SetSkinGeometry();
    LoadSkinImages();
    ShapeWindow();
    CentreWindow();
    CreatePanes();
    return TRUE;
}

// Enter and Escape must not end the launcher: only the closing sequence does.
void CKovaltDlg::OnOK() {}
void CKovaltDlg::OnCancel() {}

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
