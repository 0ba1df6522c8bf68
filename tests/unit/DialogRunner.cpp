#include "DialogRunner.h"

#include <gtest/gtest.h>

namespace {
// The program starts GDI+ before its window exists and stops it after; so do the tests.
class GdiplusEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_token, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

  private:
    ULONG_PTR m_token = 0;
};
testing::Environment* const g_gdiplus = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

std::function<void(CKovaltDlg&)> g_inspect;
CKovaltDlg* g_pDlg = nullptr;

void CALLBACK InspectTimer(HWND, UINT, UINT_PTR idTimer, DWORD) {
    KillTimer(nullptr, idTimer);
    auto inspect = std::move(g_inspect);
    inspect(*g_pDlg);
}
} // namespace

INT_PTR RunDialog(std::function<void(CKovaltDlg&)> inspect) {
    CKovaltDlg dlg;
    g_pDlg = &dlg;
    After(10, std::move(inspect));
    INT_PTR nResult = dlg.DoModal();
    g_pDlg = nullptr;
    return nResult;
}

void After(UINT ms, std::function<void(CKovaltDlg&)> next) {
    g_inspect = std::move(next);
    SetTimer(nullptr, 0, ms, InspectTimer);
}
