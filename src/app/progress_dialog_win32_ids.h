// Resource and control ids of the progress dialogs (progress_dialog_win32.rc).
// Shared by the .rc file and the C++ code, so plain #defines only.
#pragma once

#define IDD_PROGRESS 201         // without Cancel (screen capture)
#define IDD_PROGRESS_CANCEL 202  // with Cancel (sweeps)

#define IDC_PROGRESS_BAR 10005
#define IDC_PROGRESS_CAPTION 10008
#define IDC_PROGRESS_TEXT 10009
