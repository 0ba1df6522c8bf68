#include "Dialog.h"

#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

const UINT kTemplate = 102; // an empty popup dialog in the resources linked in

class CBaseProbe : public CDialog {
  public:
    CBaseProbe() : CDialog(kTemplate) {}
    std::vector<std::string> calls;

  protected:
    void OnBase100() { calls.push_back("base100"); }
    void OnBase101() { calls.push_back("base101"); }

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
};

const MessageMapEntry CBaseProbe::messageEntries[] = {
    OnCommand<100, &CBaseProbe::OnBase100>(),
    OnCommand<101, &CBaseProbe::OnBase101>(),
};
const MessageMap CBaseProbe::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

class CProbe : public CBaseProbe {
  public:
    HCURSOR hDragIcon = reinterpret_cast<HCURSOR>(0x1234);
    HDC hErasedDc = nullptr;
    UINT nMouseFlags = 0;
    CPoint ptMouse;
    LRESULT lDragIcon = 0, lErase = 0;
    bool bTimerHandled = true, bUnmappedHandled = true, bBoundBeforeInit = false;

    BOOL OnInitDialog() override {
        bBoundBeforeInit = FromHandlePermanent(m_hWnd) == this;
        SendMessage(WM_COMMAND, 100);
        SendMessage(WM_COMMAND, 101);
        SendMessage(WM_COMMAND, IDOK);
        lDragIcon = SendMessage(WM_QUERYDRAGICON);
        lErase = SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(GetDC(nullptr)));
        SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 300));
        LRESULT l;
        bTimerHandled = OnWndMsg(WM_TIMER, 1, 0, &l);
        bUnmappedHandled = OnWndMsg(WM_USER + 7, 0, 0, &l);
        EndDialog(77);
        return TRUE;
    }
    void OnOK() override { calls.push_back("ok"); }

  protected:
    void OnDerived100() { calls.push_back("derived100"); }
    BOOL OnEraseBkgnd(CDC* pDC) {
        hErasedDc = pDC->GetSafeHdc();
        return TRUE;
    }
    HCURSOR OnQueryDragIcon() { return hDragIcon; }
    void OnMouseMove(UINT nFlags, CPoint pt) {
        nMouseFlags = nFlags;
        ptMouse = pt;
    }
    void OnTimer(UINT_PTR) { Default(); }

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
};

const MessageMapEntry CProbe::messageEntries[] = {
    OnCommand<100, &CProbe::OnDerived100>(),
    OnMessage<WM_ERASEBKGND, &CProbe::OnEraseBkgnd>(),
    OnMessage<WM_QUERYDRAGICON, &CProbe::OnQueryDragIcon>(),
    OnMessage<WM_MOUSEMOVE, &CProbe::OnMouseMove>(),
    OnMessage<WM_TIMER, &CProbe::OnTimer>(),
};
const MessageMap CProbe::messageMap = {&CBaseProbe::messageMap, messageEntries, std::size(messageEntries)};

class CCancelProbe : public CDialog {
  public:
    CCancelProbe() : CDialog(kTemplate) {}
    BOOL OnInitDialog() override {
        PostMessage(WM_COMMAND, IDCANCEL);
        return TRUE;
    }
};

} // namespace

TEST(MessageMap, DispatchesDerivedTableFirstThenBase) {
    CProbe dlg;
    EXPECT_EQ(77, dlg.DoModal());
    EXPECT_TRUE(dlg.bBoundBeforeInit);
    // 100 is in both tables: only the derived handler runs. IDOK reaches the virtual override.
    EXPECT_EQ((std::vector<std::string>{"derived100", "base101", "ok"}), dlg.calls);
    EXPECT_EQ(nullptr, dlg.m_hWnd) << "the object lets go of its window when it is destroyed";
}

TEST(MessageMap, UnpacksArgumentsAndReturnsResults) {
    CProbe dlg;
    dlg.DoModal();
    // WM_QUERYDRAGICON is one of the messages a dialog procedure returns directly.
    EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.hDragIcon), dlg.lDragIcon);
    EXPECT_EQ(TRUE, dlg.lErase);
    EXPECT_NE(nullptr, dlg.hErasedDc);
    EXPECT_EQ(static_cast<UINT>(MK_LBUTTON), dlg.nMouseFlags);
    EXPECT_EQ(-5, dlg.ptMouse.x);
    EXPECT_EQ(300, dlg.ptMouse.y);
}

TEST(MessageMap, DefaultAndUnmappedMessagesAreLeftToTheSystem) {
    CProbe dlg;
    dlg.DoModal();
    EXPECT_FALSE(dlg.bTimerHandled);
    EXPECT_FALSE(dlg.bUnmappedHandled);
}

TEST(CDialog, CancelCommandEndsDialogByDefault) {
    CCancelProbe dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}
