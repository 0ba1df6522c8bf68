#pragma once
#include "String.h"

// The running program's folder, with its trailing backslash; empty when the path has no backslash.
void GetModuleDir(CString& strDir);
