// The "Software Options" dialog in this process: a thread timer plays the
// user while the modal dialog runs, against injected conventions, a
// recording prompt and a settings file in a temporary folder. Windows need
// a display: without DISPLAY these tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/number_format_settings.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/software_options_dialog_win32.h"
#include "app/software_options_dialog_win32_ids.h"
#include "support/dialog_user_script.h"
#include "support/recording_prompt.h"
#include "support/scoped_number_format.h"
#include "support/scripted_number_conventions.h"
#include "support/temp_folder.h"

namespace {

std::string read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int selection(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_SO_LOCALE, CB_GETCURSEL, 0, 0));
}

std::string entry_text(HWND dialog, int index)
{
    char text[64] = {};
    SendDlgItemMessageA(dialog, IDC_SO_LOCALE, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// What the user saw at one moment.
struct s_seen {
    int selected = -1;
    bool decimal_enabled = false;
    bool thousands_enabled = false;
    std::string decimal;
    std::string thousands;
    std::string example;
};

s_seen look(HWND dialog)
{
    return {selection(dialog), enabled(dialog, IDC_SO_DECIMAL), enabled(dialog, IDC_SO_THOUSANDS),
            text_of(dialog, IDC_SO_DECIMAL), text_of(dialog, IDC_SO_THOUSANDS), text_of(dialog, IDC_SO_EXAMPLE)};
}

class SoftwareOptionsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        conventions.given[number_convention::user_default] = {'.', '\'', "\3"};
        conventions.given[number_convention::uk_us] = {'.', ',', "\3"};
        conventions.given[number_convention::germany] = {',', '.', "\3"};
        setup.prompt = &prompt;
        setup.conventions = &conventions;
        setup.store = &portable_profile_store();
        setup.settings_file = &file;
        script.title = "Software Options";
    }

    int run() { return with_user(script, [&] { return software_options_dialog(nullptr, setup); }); }

    scoped_number_format kept{{NUMBER_FORMAT_UK_US, '.', ','}};
    scripted_number_conventions conventions;  // France left out: the system cannot give it
    recording_prompt prompt;
    temp_folder folder;
    std::string file = folder.file("Corvexa.ini");
    s_software_options_setup setup;
    user_script script;
};

TEST_F(SoftwareOptionsDialog, CustomSeparatorsAreTypedCheckedAndStoredOnOk)
{
    s_seen opened, custom, refused, emptied, typed;
    int entries = 0;
    std::string names[5];
    DWORD refused_selection = 0;
    script.steps = {
        [&](HWND d) {
            opened = look(d);
            entries = static_cast<int>(SendDlgItemMessageA(d, IDC_SO_LOCALE, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < 5; ++i) {
                names[i] = entry_text(d, i);
            }
            choose(d, IDC_SO_LOCALE, 4);
            custom = look(d);
            type(d, IDC_SO_DECIMAL, "x");
            refused = look(d);
            refused_selection = static_cast<DWORD>(SendDlgItemMessageA(d, IDC_SO_DECIMAL, EM_GETSEL, 0, 0));
            type(d, IDC_SO_THOUSANDS, "");
            emptied = look(d);
            type(d, IDC_SO_DECIMAL, ",");
            type(d, IDC_SO_THOUSANDS, ".");
            typed = look(d);
        },
        [&](HWND d) { press(d, IDOK); },
    };

    EXPECT_EQ(run(), IDOK);

    EXPECT_EQ(entries, 5);
    EXPECT_EQ(names[0], "Default");
    EXPECT_EQ(names[1], "UK/US (forced)");
    EXPECT_EQ(names[2], "France (forced)");
    EXPECT_EQ(names[3], "Germany (forced)");
    EXPECT_EQ(names[4], "Custom");
    EXPECT_EQ(opened.selected, 1);
    EXPECT_FALSE(opened.decimal_enabled);
    EXPECT_FALSE(opened.thousands_enabled);
    EXPECT_EQ(opened.decimal, ".");
    EXPECT_EQ(opened.thousands, ",");
    EXPECT_EQ(opened.example, "123,456.789");
    EXPECT_TRUE(custom.decimal_enabled);
    EXPECT_TRUE(custom.thousands_enabled);
    // A refused character: the previous separator back, selected.
    EXPECT_EQ(refused.decimal, ".");
    EXPECT_EQ(LOWORD(refused_selection), 0);
    EXPECT_EQ(HIWORD(refused_selection), 1);
    // An emptied edit changes nothing.
    EXPECT_EQ(emptied.thousands, "");
    EXPECT_EQ(emptied.example, "123,456.789");
    EXPECT_EQ(typed.example, "123.456,789");
    EXPECT_TRUE(prompt.messages.empty());

    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_CUSTOM);
    EXPECT_EQ(read_bytes(file), "[Settings]\r\nNumFormatType=999\r\nNumFormatDecimal=,\r\nNumFormatThousand=.\r\n");
}

TEST_F(SoftwareOptionsDialog, CancelKeepsTheStoredTypeAndTellsAConventionTheSystemLacks)
{
    s_seen germany, france;
    script.steps = {
        [&](HWND d) {
            choose(d, IDC_SO_LOCALE, 3);
            germany = look(d);
            choose(d, IDC_SO_LOCALE, 2);
            france = look(d);
        },
        [&](HWND d) { press(d, IDCANCEL); },
    };

    EXPECT_EQ(run(), IDCANCEL);

    EXPECT_EQ(germany.example, "123.456,789");
    EXPECT_FALSE(germany.decimal_enabled);
    EXPECT_EQ(france.example, "123'456.789");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Unable to set locale to French_France, setting to default locale");
    EXPECT_EQ(prompt.messages[0].caption, "Locale Error");
    // The failure sets the type in memory to the default; Cancel stores nothing.
    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_DEFAULT);
    EXPECT_EQ(read_bytes(file), "");
}

}  // namespace
