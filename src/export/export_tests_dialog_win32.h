// The Export Tests dialog, opened modally with its source code (where it was
// opened from, export_dialog_model.h). "Excel" is selected as it opens.
#pragma once

#include <windows.h>

#include "export/export_dialog_model.h"

// 1 after "OK" (whatever the export did), 0 after "Cancel". The dialog's
// own message goes to prompt (a message_box_prompt owned by the dialog's
// owner in the program).
INT_PTR run_export_tests_dialog(HWND owner, int source, export_dialog_actions& actions, user_prompt& prompt);
