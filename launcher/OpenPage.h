#pragma once

// Asks the shell to show a web page in the default browser; the result is not examined.
void OpenPage(const wchar_t* pszUrl);
