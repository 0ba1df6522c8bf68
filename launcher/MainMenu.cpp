// The drop-down menu under the title strip's menu button and its five commands.
#include "KovaltDlg.h"
#include "OpenPage.h"
#include "SkinGeometry.h"
#include "config.h"
#include "menu/MenuEx.h"
#include "res/resource.h"

void CKovaltDlg::ShowMainMenu() {
    CMenuEx menu;
    menu.BuildFromResource(IDR_MAIN_MENU);
    CRect rc;
    GetWindowRect(&rc);
    CMenu* pPopup = CMenu::FromHandlePermanent(menu.GetSubMenu(0));
    if (pPopup)
        pPopup->TrackPopupMenu(0, rc.left + Skin::kMenuAnchor.x, rc.top + Skin::kMenuAnchor.y, this);
}

void CKovaltDlg::OnMenuHomePage() {
    OpenPage(KOVALT_SITE_URL);
}
void CKovaltDlg::OnMenuForum() {
    OpenPage(KOVALT_FORUM_URL);
}
void CKovaltDlg::OnMenuSiteMap() {
    OpenPage(KOVALT_SITE_URL L"/sitemap.html");
}
void CKovaltDlg::OnMenuTools() {
    OpenPage(KOVALT_SITE_URL L"/tool.html");
}
void CKovaltDlg::OnMenuExit() {
    CloseLauncher();
}
