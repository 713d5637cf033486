// Resource and control ids of the "Software Options" dialog
// (software_options_dialog_win32.rc). Shared by the .rc file and the C++
// code, so plain #defines only.
#pragma once

#define IDD_SOFTWARE_OPTIONS 210

#define IDC_SO_LOCALE 211
#define IDC_SO_DECIMAL 212
#define IDC_SO_THOUSANDS 213
#define IDC_SO_EXAMPLE 215
