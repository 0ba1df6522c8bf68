// The three web panes: creation, first navigation, and the show/hide rules driven by their events.
#include "KovaltDlg.h"
#include "config.h"
#include "res/resource.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

// The first characters of every content page's address: the scheme and the start of the host. The
// news pane counts as showing our pages while its address carries them near its start.
constexpr wchar_t kContentServer[] = KOVALT_CONTENT_SERVER;
constexpr size_t kPrefixLength = 16;
static_assert(std::size(kContentServer) - 1 >= kPrefixLength,
              "KOVALT_CONTENT_SERVER must have at least 16 characters: the news pane recognises it by them");
constexpr std::wstring_view kContentPrefix(kContentServer, kPrefixLength);

// Found when the prefix starts at the first or second character.
bool StartsNearContentPrefix(const CString& strUrl) {
    std::wstring_view head(strUrl, std::min<size_t>(strUrl.GetLength(), kPrefixLength + 1));
    return head.find(kContentPrefix) != std::wstring_view::npos;
}

// The control reports (0, 0) when a page has finished loading.
bool IsLoaded(long nProgress, long nProgressMax) {
    return nProgress == nProgressMax && nProgressMax == 0;
}

} // namespace

using namespace WebBrowserEvent;

const EventSinkEntry CKovaltDlg::eventSinkEntries[] = {
    OnEvent<IDC_MAIN_PANE, kProgressChange, &CKovaltDlg::OnMainPaneProgressChange>(),
    OnEvent<IDC_LEFT_AD, kProgressChange, &CKovaltDlg::OnLeftAdProgressChange>(),
    OnEvent<IDC_RIGHT_AD, kProgressChange, &CKovaltDlg::OnRightAdProgressChange>(),
    OnEvent<IDC_MAIN_PANE, kBeforeNavigate2, &CKovaltDlg::OnMainPaneBeforeNavigate2>(),
    OnEvent<IDC_LEFT_AD, kBeforeNavigate2, &CKovaltDlg::OnLeftAdBeforeNavigate2>(),
    OnEvent<IDC_RIGHT_AD, kBeforeNavigate2, &CKovaltDlg::OnRightAdBeforeNavigate2>(),
    OnEvent<IDC_MAIN_PANE, kDownloadBegin, &CKovaltDlg::OnMainPaneDownloadBegin>(),
    OnEvent<IDC_MAIN_PANE, kDownloadComplete, &CKovaltDlg::OnMainPaneDownloadComplete>(),
    OnEvent<IDC_MAIN_PANE, kTitleChange, &CKovaltDlg::OnMainPaneTitleChange>(),
    OnEvent<IDC_MAIN_PANE, kDocumentComplete, &CKovaltDlg::OnMainPaneDocumentComplete>(),
    OnEvent<IDC_MAIN_PANE, kNavigateComplete2, &CKovaltDlg::OnMainPaneNavigateComplete2>(),
};
const EventSinkMap CKovaltDlg::eventSinkMap = {nullptr, eventSinkEntries, std::size(eventSinkEntries)};

void CKovaltDlg::CreatePanes() {
    m_wndMainPane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, m_rcMainPane, this, IDC_MAIN_PANE);
    m_wndLeftAd.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, m_rcLeftAd, this, IDC_LEFT_AD);
    m_wndRightAd.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, m_rcRightAd, this, IDC_RIGHT_AD);
    if (m_bOnline) {
        m_wndMainPane.Navigate(KOVALT_CONTENT_SERVER L"/kovalt/index.html", nullptr, nullptr, nullptr,
                               nullptr);
        m_wndLeftAd.Navigate(KOVALT_CONTENT_SERVER L"/kovalt/ad.html", nullptr, nullptr, nullptr, nullptr);
        m_wndRightAd.Navigate(KOVALT_CONTENT_SERVER L"/kovalt/ad2.html", nullptr, nullptr, nullptr, nullptr);
    } else {
        // The background's offline notice shows in its place.
        m_wndMainPane.ShowWindow(SW_HIDE);
    }
    // The adverts show themselves once their pages have loaded.
    m_wndLeftAd.ShowWindow(SW_HIDE);
    m_wndRightAd.ShowWindow(SW_HIDE);
}

// Leaving the content server (a link followed, a foreign frame) uncovers the offline notice for good.
void CKovaltDlg::OnMainPaneProgressChange(long nProgress, long nProgressMax) {
    if (!IsLoaded(nProgress, nProgressMax) || m_strMainPaneUrl.IsEmpty())
        return;
    if (!StartsNearContentPrefix(m_strMainPaneUrl))
        m_wndMainPane.ShowWindow(SW_HIDE);
}

void CKovaltDlg::OnLeftAdProgressChange(long nProgress, long nProgressMax) {
    ShowAdvertWhenLoaded(m_wndLeftAd, m_strLeftAdUrl, nProgress, nProgressMax);
}

void CKovaltDlg::OnRightAdProgressChange(long nProgress, long nProgressMax) {
    ShowAdvertWhenLoaded(m_wndRightAd, m_strRightAdUrl, nProgress, nProgressMax);
}

void CKovaltDlg::ShowAdvertWhenLoaded(CWebBrowser& wndAd, const CString& strUrl, long nProgress,
                                      long nProgressMax) {
    if (IsLoaded(nProgress, nProgressMax) && !strUrl.IsEmpty() && m_bOnline)
        wndAd.ShowWindow(SW_SHOWNORMAL);
}

// The last announced address wins, frames included; the navigation always proceeds.
void CKovaltDlg::OnMainPaneBeforeNavigate2(IDispatch*, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                           BOOL*) {
    m_strMainPaneUrl = StringFromVariant(URL);
}

void CKovaltDlg::OnLeftAdBeforeNavigate2(IDispatch*, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                         BOOL*) {
    m_strLeftAdUrl = StringFromVariant(URL);
}

void CKovaltDlg::OnRightAdBeforeNavigate2(IDispatch*, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                          BOOL*) {
    m_strRightAdUrl = StringFromVariant(URL);
}

// The news pane's other events are bound, and have no effect.
void CKovaltDlg::OnMainPaneDownloadBegin() {}
void CKovaltDlg::OnMainPaneDownloadComplete() {}
void CKovaltDlg::OnMainPaneTitleChange(const wchar_t*) {}
void CKovaltDlg::OnMainPaneDocumentComplete(IDispatch*, VARIANT*) {}
void CKovaltDlg::OnMainPaneNavigateComplete2(IDispatch*, VARIANT*) {}
