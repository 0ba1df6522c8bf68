#include "OpenPage.h"

#include <windows.h>
#include <shellapi.h>

void OpenPage(const wchar_t* pszUrl) {
    ShellExecuteW(nullptr, nullptr, pszUrl, nullptr, nullptr, SW_SHOWNORMAL);
}
