#pragma once
#include "KovaltDlg.h"

#include <functional>

// Runs the real main window modally and calls `inspect` once from inside its message loop, after
// the initialisation has run. The callback ends the dialog, or schedules more checks with After.
INT_PTR RunDialog(std::function<void(CKovaltDlg&)> inspect);

// Calls `next` a while later from inside the loop: the dialog has by then handled what was posted.
void After(UINT ms, std::function<void(CKovaltDlg&)> next);
