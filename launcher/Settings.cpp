// Kovalt.ini beside the program: which game to start, with which parameters, and its name.
#include "KovaltDlg.h"
#include "Settings.h"

#include <shellapi.h>

namespace {

const wchar_t kSettingsFile[] = L"Kovalt.ini";
const wchar_t kSection[] = L"main";
constexpr int kValueBuffer = 256; // values longer than 255 characters are cut

void ReadSetting(const wchar_t* pszKey, CString& strValue, const CString& strFile) {
    GetPrivateProfileStringW(kSection, pszKey, L"", strValue.GetBuffer(kValueBuffer), kValueBuffer, strFile);
    strValue.ReleaseBuffer();
}

} // namespace

void GetModuleDir(CString& strDir) {
    GetModuleFileNameW(nullptr, strDir.GetBuffer(MAX_PATH), MAX_PATH);
    strDir.ReleaseBuffer();
    strDir = strDir.Left(strDir.ReverseFind(L'\\') + 1);
}

void CKovaltDlg::ReadSettings() {
    CString strFile = m_strModuleDir + kSettingsFile;
    ReadSetting(L"GameName", m_strGameName, strFile);
    ReadSetting(L"FileName", m_strFileName, strFile);
    ReadSetting(L"CanShu", m_strParams, strFile);
}

// No working folder of our own: the game inherits the launcher's current one.
void CKovaltDlg::StartGame() {
    CString strTarget = m_strModuleDir + m_strFileName;
    ShellExecuteW(nullptr, L"open", strTarget, m_strParams, nullptr, SW_SHOWNORMAL);
}
