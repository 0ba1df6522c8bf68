#pragma once
#include <windows.h>

#include "String.h"

// The exit-page address in the content server's reply, without scheme: the reply's text up to its
// first zero byte, in code page nCodePage, less its first four characters (characters, not bytes).
// Empty when the text has four characters or fewer.
CString ExitPageAddress(const char* pszReply, UINT nCodePage);

// The address as the shell may put it on a browser's command line: a double quote, space or tab
// would end or split the argument there, so those three are percent-encoded; nothing else changes.
CString ShellSafeUrl(const CString& strUrl);
