#include "app/software_options_dialog_win32.h"

#include <memory>

#include "app/message_box_prompt_win32.h"
#include "app/number_conventions.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/software_options_dialog_win32_ids.h"
#include "app/software_options_model.h"

namespace {

struct dialog_state {
    s_software_options_setup setup;
    std::unique_ptr<software_options_model> model;
    // Set while the dialog writes an edit itself, so its own change
    // notification is not taken as typing.
    bool writing = false;
};

dialog_state* state_of(HWND dialog)
{
    return reinterpret_cast<dialog_state*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void set_separator_text(HWND dialog, dialog_state& state, int id, char separator)
{
    const char text[2] = {separator, '\0'};
    state.writing = true;
    SetDlgItemTextA(dialog, id, text);
    state.writing = false;
}

void show_model(HWND dialog, const dialog_state& state)
{
    const software_options_model& model = *state.model;
    SetDlgItemTextA(dialog, IDC_SO_EXAMPLE, model.example().c_str());
    const BOOL enabled = model.separators_enabled() ? TRUE : FALSE;
    EnableWindow(GetDlgItem(dialog, IDC_SO_DECIMAL), enabled);
    EnableWindow(GetDlgItem(dialog, IDC_SO_THOUSANDS), enabled);
}

void init_dialog(HWND dialog, dialog_state& state)
{
    state.model = std::make_unique<software_options_model>(*state.setup.conventions, *state.setup.prompt);
    const software_options_model& model = *state.model;
    for (const char* name : number_format_choice_names) {
        SendDlgItemMessageA(dialog, IDC_SO_LOCALE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendDlgItemMessageA(dialog, IDC_SO_LOCALE, CB_SETCURSEL, static_cast<WPARAM>(model.choice()), 0);
    for (int id : {IDC_SO_DECIMAL, IDC_SO_THOUSANDS}) {
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 1, 0);
    }
    set_separator_text(dialog, state, IDC_SO_DECIMAL, model.separator(separator_field::decimal));
    set_separator_text(dialog, state, IDC_SO_THOUSANDS, model.separator(separator_field::thousands));
    show_model(dialog, state);
}

void separator_changed(HWND dialog, dialog_state& state, int id)
{
    char text[8] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    const separator_field field = id == IDC_SO_DECIMAL ? separator_field::decimal : separator_field::thousands;
    const s_separator_edit outcome = state.model->edit_separator(field, text);
    if (outcome.restore) {
        set_separator_text(dialog, state, id, outcome.separator);
        SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, -1);
    }
    show_model(dialog, state);
}

void accept(HWND dialog, dialog_state& state)
{
    // A failed write is not reported, as for every setting: the choice
    // holds in memory until the program ends.
    state.model->accept(*state.setup.store, *state.setup.settings_file);
    EndDialog(dialog, IDOK);
}

void on_command(HWND dialog, dialog_state& state, int id, int code)
{
    switch (id) {
    case IDOK:
        accept(dialog, state);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    case IDC_SO_LOCALE:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = SendDlgItemMessageA(dialog, IDC_SO_LOCALE, CB_GETCURSEL, 0, 0);
            state.model->choose(index == CB_ERR ? 0 : static_cast<int>(index));
            show_model(dialog, state);
        }
        break;
    case IDC_SO_DECIMAL:
    case IDC_SO_THOUSANDS:
        if (code == EN_CHANGE && !state.writing) {
            separator_changed(dialog, state, id);
        }
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK software_options_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        init_dialog(dialog, *reinterpret_cast<dialog_state*>(lparam));
        return TRUE;
    }
    dialog_state* state = state_of(dialog);
    if (state != nullptr && state->model != nullptr && message == WM_COMMAND) {
        on_command(dialog, *state, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int software_options_dialog(HWND owner, const s_software_options_setup& setup)
{
    // The locale failure message has no owner window.
    message_box_prompt boxes(nullptr);
    dialog_state state;
    state.setup = setup;
    if (state.setup.prompt == nullptr) {
        state.setup.prompt = &boxes;
    }
    if (state.setup.conventions == nullptr) {
        state.setup.conventions = &platform_number_conventions();
    }
    if (state.setup.store == nullptr) {
        state.setup.store = &platform_profile_store();
    }
    if (state.setup.settings_file == nullptr) {
        state.setup.settings_file = &settings_file();
    }
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SOFTWARE_OPTIONS), owner,
                                           software_options_proc, reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? IDOK : IDCANCEL;
}
