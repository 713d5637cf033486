// Control identifiers of the Export Tests dialog.
#pragma once

#define IDD_EXPORT_TESTS 211
#define IDC_EXPORT_FORMAT 21101
#define IDC_EXPORT_EXCEL 21102
#define IDC_EXPORT_CSV 21103
