// Resource and command ids of the program's resource script (res/corvexa2.rc)
// and of the main window's menu and accelerators. Shared by the .rc file and
// the C++ code, so plain #defines only.
#pragma once

#define IDI_CORVEXA2 101
#define IDR_MAIN_MENU 109
#define IDR_ACCELERATORS 109
#define IDB_LOGO 203

// Menu commands of the main window.
#define IDM_ABOUT 104
#define IDM_CONNECTION 110
#define IDM_LCR 181
#define IDM_CAPTURE 187
#define IDM_PIEZO 188
#define IDM_DEBUG_MODE 204
#define IDM_EIS 208
#define IDM_SETTINGS 214
#define IDM_SAVE_BITMAP 32771
#define IDM_COPY_CLIPBOARD 32772
#define IDM_FRA 32773
#define IDM_SUPPORT 32775

// Controls of the main window that start-up touches.
#define IDC_LOGO_BUTTON 12005
