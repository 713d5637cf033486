// The "Test Details" dialogs. The portable code decides what is shown, what
// the fields open with and what is accepted; this file only moves texts and
// flags between it and the controls.
#include "fra/test_details_win32.h"

#include <iterator>

#include "app/message_box_prompt_win32.h"
#include "app/resource.h"
#include "config/instrument_config.h"
#include "fra/sweep_settings_form.h"
#include "fra/sweep_settings_limits.h"
#include "fra/test_details_win32_ids.h"

bool test_details_dialog_host::database_open()
{
    return false;
}

std::vector<std::string> test_details_dialog_host::session_names()
{
    return {};
}

bool test_details_dialog_host::create_session(HWND, std::string&)
{
    return false;
}

namespace {

constexpr int TEXT_FIELD_SIZE = 256;
constexpr int PROJECT_NAME_LIMIT = 50;
constexpr int TEST_NAME_LIMIT = 50;
constexpr int DESCRIPTION_LIMIT = 100;

// The repeat section, and what moves when it opens or closes.
constexpr int repeat_section_ids[] = {IDC_TD_REPEAT_GROUP, IDC_TD_INTERVAL_LABEL, IDC_TD_INTERVAL,
                                      IDC_TD_TESTS_LABEL,  IDC_TD_TESTS,          IDC_TD_TOTAL_TIME};
constexpr int below_repeat_ids[] = {IDC_TD_DB_GROUP,       IDC_TD_SAVE,         IDC_TD_SESSION_LABEL,
                                    IDC_TD_SESSION,        IDC_TD_NEW_SESSION,  IDC_TD_PROJECT_LABEL,
                                    IDC_TD_PROJECT,        IDC_TD_TEST_NAME_LABEL, IDC_TD_TEST_NAME,
                                    IDC_TD_DB_NAME,        IDC_TD_DESCRIPTION_LABEL, IDC_TD_DESCRIPTION,
                                    IDC_TD_CELL9A,         IDOK,                IDCANCEL};
constexpr int after_sweep_ids[] = {IDC_TD_AFTER_LABEL, IDC_TD_KEEP_ON, IDC_TD_TURN_OFF, IDC_TD_SET_START};
constexpr int cycles_and_speed_ids[] = {IDC_TD_CYCLES_LABEL, IDC_TD_CYCLES, IDC_TD_SPEED_LABEL, IDC_TD_SPEED};
constexpr int database_field_ids[] = {IDC_TD_SESSION, IDC_TD_NEW_SESSION, IDC_TD_PROJECT, IDC_TD_TEST_NAME,
                                      IDC_TD_DESCRIPTION};

struct dialog_state {
    test_details_variant variant = test_details_variant::fra;
    s_sweep_request* request = nullptr;
    s_repeat_settings* repeat = nullptr;
    s_test_details_setup setup;
    test_details_dialog_host* host = nullptr;
    bool single_sweep_only = false;
    bool show_cell9a = false;
    bool* cell9a_setup = nullptr;
    int window_option = -1;
    bool repeat_shown = true;  // the templates are laid out with it shown
};

dialog_state* state_of(HWND dialog)
{
    return reinterpret_cast<dialog_state*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string item_text(HWND dialog, int id)
{
    char text[TEXT_FIELD_SIZE] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool is_checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

template <std::size_t N>
void show_all(HWND dialog, const int (&ids)[N], bool shown)
{
    for (int id : ids) {
        if (HWND item = GetDlgItem(dialog, id)) {
            ShowWindow(item, shown ? SW_SHOW : SW_HIDE);
        }
    }
}

template <std::size_t N>
void enable_all(HWND dialog, const int (&ids)[N], bool enabled)
{
    for (int id : ids) {
        if (HWND item = GetDlgItem(dialog, id)) {
            EnableWindow(item, enabled ? TRUE : FALSE);
        }
    }
}

int combo_selection(HWND dialog, int id)
{
    const LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : static_cast<int>(index);
}

s_sweep_settings_texts read_texts(HWND dialog, const dialog_state& state)
{
    s_sweep_settings_texts texts;
    texts.sweep_type = combo_selection(dialog, IDC_TD_SWEEP_TYPE);
    texts.tests_to_run = item_text(dialog, IDC_TD_TESTS);
    texts.interval_minutes = item_text(dialog, IDC_TD_INTERVAL);
    texts.steps = item_text(dialog, IDC_TD_STEPS);
    texts.start_frequency = item_text(dialog, IDC_TD_START);
    texts.end_frequency = item_text(dialog, IDC_TD_END);
    texts.minimum_cycles = item_text(dialog, IDC_TD_CYCLES);
    texts.speed_option = combo_selection(dialog, IDC_TD_SPEED);
    texts.window_time = item_text(dialog, IDC_TD_WINDOW);
    texts.keep_output_on = is_checked(dialog, IDC_TD_KEEP_ON);
    texts.set_start_frequency = is_checked(dialog, IDC_TD_SET_START);
    if (state.variant == test_details_variant::fra) {
        texts.save_to_database = is_checked(dialog, IDC_TD_SAVE);
        texts.session_name = item_text(dialog, IDC_TD_SESSION);
        texts.project_name = item_text(dialog, IDC_TD_PROJECT);
        texts.test_name = item_text(dialog, IDC_TD_TEST_NAME);
        texts.description = item_text(dialog, IDC_TD_DESCRIPTION);
    } else {
        texts.cell9a_setup = is_checked(dialog, IDC_TD_CELL9A);
    }
    return texts;
}

// Opens or closes the gap of the repeat section: the dialog grows or
// shrinks by its height and everything below it moves with the edge.
void set_repeat_section(HWND dialog, dialog_state& state, bool shown)
{
    if (shown == state.repeat_shown) {
        return;
    }
    state.repeat_shown = shown;
    RECT section = {0, 0, 0, TD_REPEAT_SECTION_HEIGHT};
    MapDialogRect(dialog, &section);
    const int shift = shown ? section.bottom : -section.bottom;
    for (int id : below_repeat_ids) {
        HWND item = GetDlgItem(dialog, id);
        if (item == nullptr) {
            continue;
        }
        RECT r;
        GetWindowRect(item, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(item, nullptr, r.left, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + shift,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void apply_visibility(HWND dialog, dialog_state& state)
{
    const s_test_details_visibility shown =
        test_details_visibility(read_texts(dialog, state), state.window_option);
    set_repeat_section(dialog, state, shown.repeat_section);
    show_all(dialog, repeat_section_ids, shown.repeat_section);
    show_all(dialog, after_sweep_ids, shown.after_sweep);
    EnableWindow(GetDlgItem(dialog, IDC_TD_SET_START), shown.set_start_enabled ? TRUE : FALSE);
    show_all(dialog, cycles_and_speed_ids, shown.cycles_and_speed);
    ShowWindow(GetDlgItem(dialog, IDC_TD_WINDOW), shown.window_time ? SW_SHOW : SW_HIDE);
    if (state.variant == test_details_variant::fra) {
        enable_all(dialog, database_field_ids, shown.database_fields_enabled);
    }
}

void refresh_total_time(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_TD_TOTAL_TIME,
                    total_test_time_text(item_text(dialog, IDC_TD_TESTS), item_text(dialog, IDC_TD_INTERVAL))
                        .c_str());
}

void refresh_database_name(HWND dialog, const dialog_state& state)
{
    if (state.variant != test_details_variant::fra) {
        return;
    }
    const std::string name = item_text(dialog, IDC_TD_TEST_NAME);
    if (!name.empty()) {
        SetDlgItemTextA(dialog, IDC_TD_DB_NAME, database_name_text(name).c_str());
    }
}

void fill_sessions(HWND dialog, dialog_state& state, const std::string& selected)
{
    SendDlgItemMessageA(dialog, IDC_TD_SESSION, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : state.host->session_names()) {
        SendDlgItemMessageA(dialog, IDC_TD_SESSION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    LRESULT index = 0;
    if (!selected.empty()) {
        index = SendDlgItemMessageA(dialog, IDC_TD_SESSION, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(selected.c_str()));
        if (index == CB_ERR) {
            index = 0;
        }
    }
    SendDlgItemMessageA(dialog, IDC_TD_SESSION, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void limit_text(HWND dialog, int id, int characters)
{
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void init_dialog(HWND dialog, dialog_state& state)
{
    const instrument_config& config = *state.setup.config;
    s_sweep_settings_texts texts = sweep_settings_opening_texts(config, state.variant, *state.request);
    if (state.single_sweep_only) {
        texts.sweep_type = SWEEP_SINGLE;
    }
    limit_text(dialog, IDC_TD_INTERVAL, INTERVAL_TEXT_LIMIT);
    limit_text(dialog, IDC_TD_TESTS, TESTS_TO_RUN_TEXT_LIMIT);
    SetDlgItemTextA(dialog, IDC_TD_INTERVAL, texts.interval_minutes.c_str());
    SetDlgItemTextA(dialog, IDC_TD_TESTS, texts.tests_to_run.c_str());

    CheckRadioButton(dialog, IDC_TD_KEEP_ON, IDC_TD_TURN_OFF, texts.keep_output_on ? IDC_TD_KEEP_ON : IDC_TD_TURN_OFF);
    CheckDlgButton(dialog, IDC_TD_SET_START, texts.set_start_frequency ? BST_CHECKED : BST_UNCHECKED);

    const int type_count = state.single_sweep_only ? 1 : SWEEP_TYPE_COUNT;
    for (int i = 0; i < type_count; ++i) {
        SendDlgItemMessageA(dialog, IDC_TD_SWEEP_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sweep_type_names[i]));
    }
    SendDlgItemMessageA(dialog, IDC_TD_SWEEP_TYPE, CB_SETCURSEL, static_cast<WPARAM>(texts.sweep_type), 0);

    SetDlgItemTextA(dialog, IDC_TD_STEPS, texts.steps.c_str());
    SetDlgItemTextA(dialog, IDC_TD_START, texts.start_frequency.c_str());
    SetDlgItemTextA(dialog, IDC_TD_END, texts.end_frequency.c_str());
    SetDlgItemTextA(dialog, IDC_TD_CYCLES, texts.minimum_cycles.c_str());
    if (const s_config_param* speed = config.record(SWEEP_PARAM_SPEED)) {
        for (const std::string& name : speed->options) {
            SendDlgItemMessageA(dialog, IDC_TD_SPEED, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
    }
    SendDlgItemMessageA(dialog, IDC_TD_SPEED, CB_SETCURSEL, static_cast<WPARAM>(texts.speed_option), 0);
    SetDlgItemTextA(dialog, IDC_TD_WINDOW, texts.window_time.c_str());

    if (state.variant == test_details_variant::fra) {
        const bool open = state.host->database_open();
        CheckDlgButton(dialog, IDC_TD_SAVE, open ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(dialog, IDC_TD_SAVE), open ? TRUE : FALSE);
        fill_sessions(dialog, state, "");
        limit_text(dialog, IDC_TD_PROJECT, PROJECT_NAME_LIMIT);
        limit_text(dialog, IDC_TD_TEST_NAME, TEST_NAME_LIMIT);
        limit_text(dialog, IDC_TD_DESCRIPTION, DESCRIPTION_LIMIT);
        HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CORVEXA2), IMAGE_ICON, 16, 16, 0);
        if (icon != nullptr) {
            SendDlgItemMessageA(dialog, IDC_TD_NEW_SESSION, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
    } else {
        CheckDlgButton(dialog, IDC_TD_CELL9A, BST_UNCHECKED);
        ShowWindow(GetDlgItem(dialog, IDC_TD_CELL9A), state.show_cell9a ? SW_SHOW : SW_HIDE);
    }
    refresh_total_time(dialog);
    apply_visibility(dialog, state);
}

void start_sweep(HWND dialog, dialog_state& state)
{
    const s_sweep_settings_texts texts = read_texts(dialog, state);
    s_test_details_target target;
    target.variant = state.variant;
    target.config = state.setup.config;
    target.connection = state.setup.connection;
    target.request = state.request;
    target.repeat = state.repeat;
    target.cell9a_setup = state.cell9a_setup;
    message_box_prompt boxes(dialog);
    user_prompt& prompt = state.setup.prompt != nullptr ? *state.setup.prompt : boxes;
    if (confirm_test_details(target, texts, prompt, *state.host)) {
        EndDialog(dialog, texts.sweep_type);
    }
}

void on_command(HWND dialog, dialog_state& state, int id, int code)
{
    switch (id) {
    case IDOK:
        start_sweep(dialog, state);
        break;
    case IDCANCEL:
        EndDialog(dialog, -1);
        break;
    case IDC_TD_SWEEP_TYPE:
        if (code == CBN_SELCHANGE) {
            apply_visibility(dialog, state);
            refresh_database_name(dialog, state);
        }
        break;
    case IDC_TD_SPEED:
        if (code == CBN_SELCHANGE) {
            apply_visibility(dialog, state);
        }
        break;
    case IDC_TD_KEEP_ON:
    case IDC_TD_TURN_OFF:
    case IDC_TD_SAVE:
        if (code == BN_CLICKED) {
            apply_visibility(dialog, state);
        }
        break;
    case IDC_TD_INTERVAL:
    case IDC_TD_TESTS:
        if (code == EN_CHANGE) {
            refresh_total_time(dialog);
            refresh_database_name(dialog, state);
        }
        break;
    case IDC_TD_TEST_NAME:
        if (code == EN_CHANGE) {
            refresh_database_name(dialog, state);
        }
        break;
    case IDC_TD_NEW_SESSION:
        if (code == BN_CLICKED) {
            std::string name;
            if (state.host->create_session(dialog, name)) {
                fill_sessions(dialog, state, name);
            }
        }
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK test_details_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        init_dialog(dialog, *reinterpret_cast<dialog_state*>(lparam));
        return TRUE;
    }
    dialog_state* state = state_of(dialog);
    if (state != nullptr && message == WM_COMMAND) {
        on_command(dialog, *state, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

int run_dialog(HWND owner, int template_id, dialog_state& state)
{
    test_details_dialog_host default_host;
    state.host = state.setup.host != nullptr ? state.setup.host : &default_host;
    state.window_option = window_option_of(*state.setup.config);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), owner,
                                           test_details_proc, reinterpret_cast<LPARAM>(&state));
    return static_cast<int>(result);
}

}  // namespace

int open_fra_test_details(HWND owner, s_sweep_request& request, s_repeat_settings& repeat,
                          const s_test_details_setup& setup)
{
    dialog_state state;
    state.variant = test_details_variant::fra;
    state.request = &request;
    state.repeat = &repeat;
    state.setup = setup;
    return run_dialog(owner, IDD_FRA_TEST_DETAILS, state);
}

int open_lcr_test_details(HWND owner, s_sweep_request& request, s_repeat_settings& repeat, lcr_test_origin origin,
                          int instrument_type, bool& cell9a_setup, const s_test_details_setup& setup)
{
    dialog_state state;
    state.variant = test_details_variant::lcr;
    state.request = &request;
    state.repeat = &repeat;
    state.setup = setup;
    state.single_sweep_only = origin != lcr_test_origin::lcr;
    state.show_cell9a = origin == lcr_test_origin::eis && instrument_type == 9;
    state.cell9a_setup = &cell9a_setup;
    return run_dialog(owner, IDD_LCR_TEST_DETAILS, state);
}
