#include "export/export_tests_dialog_win32.h"

#include "export/export_tests_dialog_win32_ids.h"

namespace {

struct s_dialog_state {
    int source;
    export_dialog_actions* actions;
    user_prompt* prompt;
};

INT_PTR CALLBACK export_tests_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        CheckRadioButton(dialog, IDC_EXPORT_EXCEL, IDC_EXPORT_CSV, IDC_EXPORT_EXCEL);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK: {
            auto* state = reinterpret_cast<s_dialog_state*>(GetWindowLongPtrA(dialog, DWLP_USER));
            const bool csv = IsDlgButtonChecked(dialog, IDC_EXPORT_CSV) == BST_CHECKED;
            export_dialog_ok(state->source, csv, *state->actions, *state->prompt);
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR run_export_tests_dialog(HWND owner, int source, export_dialog_actions& actions, user_prompt& prompt)
{
    s_dialog_state state{source, &actions, &prompt};
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EXPORT_TESTS), owner,
                           export_tests_procedure, reinterpret_cast<LPARAM>(&state));
}
