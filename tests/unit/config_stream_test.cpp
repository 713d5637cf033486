// The configuration stream: its exact lines, the round trip of every kind of
// record through save_stream and load_stream, the target check's question,
// and streams that are refused whole (the model left as it was).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "config/config_stream.h"
#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "support/recording_prompt.h"

namespace {

std::string saved(const instrument_config& model, int type = 7, int option = 2)
{
    std::stringstream stream;
    model.save_stream(stream, type, option);
    return stream.str();
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines, const char* line_end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + line_end;
    }
    return text;
}

bool load(instrument_config& model, const std::string& text, recording_prompt& prompt, int type = 7, int option = 2,
          bool quiet = false)
{
    std::stringstream stream(text);
    return model.load_stream(stream, prompt, type, option, quiet);
}

// The line index of a record's command number in a saved stream.
std::size_t command_line_of(const std::vector<std::string>& lines, int id)
{
    std::size_t at = 3;
    for (int index = 0; index < id; ++index) {
        at += lines[at] == "0" ? 1 : 2;
    }
    return at;
}

TEST(ConfigStream, LinesOfASavedModel)
{
    hvx_cfg_ak model;
    model.set_value_int(1, 3);
    model.set_value_text(48, "1.0000E3");
    const std::vector<std::string> lines = lines_of(saved(model, 7, 2));
    ASSERT_GE(lines.size(), 8u);
    // Version, type, option; record 0 (never defined), record 1 (a choice),
    // record 2 (a choice at 0), record 3.
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8),
              (std::vector<std::string>{"1", "7", "2", "0", "1", "3", "2", "0"}));
    // An empty real is one space; a real's text as it stands.
    const std::size_t window = command_line_of(lines, 12);
    EXPECT_EQ(lines[window], "12");
    EXPECT_EQ(lines[window + 1], " ");
    const std::size_t frequency = command_line_of(lines, 48);
    EXPECT_EQ(lines[frequency + 1], "1.0000E3");
    // 256 records of the first bank, then the second bank's 256 undefined ones.
    EXPECT_EQ(lines.size(), command_line_of(lines, 256) + 256);
    EXPECT_EQ(std::string(lines.back()), "0");
}

TEST(ConfigStream, RoundTripOfEveryKindIntoAFreshModel)
{
    hvx_cfg_ck original;
    original.set_value_int(1, 5);
    original.set_value_int(177, 2);
    original.set_value_int(18, 2000);
    original.set_value_text(48, "1.2345E-3");
    original.set_value_text(49, "");                   // an empty real
    original.set_value_text(50, "1234567890123456789");  // the longest text a record holds
    original.set_value_text(10, "x y");                  // an undefined record has no command number: not saved
    const std::string text = saved(original, 9, 0);

    hvx_cfg_ck loaded;
    recording_prompt prompt;
    ASSERT_TRUE(load(loaded, text, prompt, 9, 0));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(saved(loaded, 9, 0), text);
    for (const int id : {1, 177, 18, 48, 49, 50}) {
        EXPECT_EQ(loaded.get_value_string(id), original.get_value_string(id)) << id;
        EXPECT_TRUE(loaded.record(id)->changed) << id;
    }
    EXPECT_EQ(loaded.get_value_string(49), "");
    EXPECT_FALSE(loaded.record(10)->changed);
    // LF line ends read the same.
    hvx_cfg_ck from_lf;
    ASSERT_TRUE(load(from_lf, joined(lines_of(text), "\n"), prompt, 9, 0));
    EXPECT_EQ(saved(from_lf, 9, 0), text);
}

TEST(ConfigStream, RecordsSavedWithANumberLoadIntoUndefinedRecords)
{
    // A family C stream into the family A model: a number family A never
    // defined takes the text it carries.
    hvx_cfg_ck family_c;
    family_c.set_value_text(208, "2.0000E-3");
    hvx_cfg_ak family_a;
    ASSERT_EQ(family_a.record(208)->kind, CONFIG_KIND_UNDEFINED);
    std::vector<std::string> lines = lines_of(saved(family_c, 9, 0));
    // Family C's reals where family A has choices would not be whole numbers:
    // keep the records family A can hold.
    for (int id = 1; id < 256; ++id) {
        const std::size_t at = command_line_of(lines, id);
        if (lines[at] != "0" && id != 208) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at), lines.begin() + static_cast<std::ptrdiff_t>(at) + 2);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), "0");
        }
    }
    recording_prompt prompt;
    prompt.answer_yes = true;
    ASSERT_TRUE(load(family_a, joined(lines), prompt, 7, 0));
    EXPECT_EQ(family_a.get_value_string(208), "2.0000E-3");
    EXPECT_EQ(family_a.record(208)->command_number, 208);
    EXPECT_TRUE(family_a.record(208)->changed);
    EXPECT_FALSE(family_a.record(48)->changed);
}

TEST(ConfigStream, TargetCheck)
{
    struct check_case {
        int file_type, file_option, type, option;
        bool quiet;
        bool asked;
    };
    const check_case cases[] = {
        {7, 2, 7, 2, false, false},  {1, 0, 6, 0, false, false},  {6, 0, 1, 0, false, false},
        {2, 0, 3, 0, false, false},  {1, 0, 7, 0, false, true},   {7, 0, 9, 0, false, true},
        {7, 0, 7, 2, false, true},   {-1, -1, 9, 2, false, false}, {-1, 1, 7, 2, false, true},
        {7, 0, 9, 0, true, false},   {99, 7, 7, 2, false, true},
    };
    hvx_cfg_ak source;
    for (const check_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.file_type) + "/" + std::to_string(c.file_option) + " into " +
                     std::to_string(c.type) + "/" + std::to_string(c.option));
        const std::string text = saved(source, c.file_type, c.file_option);
        for (const bool ok : {false, true}) {
            hvx_cfg_ak target;
            recording_prompt prompt;
            prompt.answer_yes = ok;
            const bool loaded = load(target, text, prompt, c.type, c.option, c.quiet);
            ASSERT_EQ(prompt.messages.size(), c.asked ? 1u : 0u);
            EXPECT_EQ(loaded, !c.asked || ok);
            EXPECT_EQ(target.record(1)->changed, loaded);
            if (c.asked) {
                EXPECT_EQ(prompt.messages[0].caption, "Target Mismatch");
                EXPECT_EQ(prompt.messages[0].icon, prompt_icon::warning);
                EXPECT_EQ(prompt.messages[0].buttons, "OK/Cancel");
            }
        }
    }
}

TEST(ConfigStream, MismatchTextNamesUnknownCodesSafely)
{
    EXPECT_EQ(config_stream_mismatch_text(9, 0, 7, 2),
              "The selected configuration file is for a HVXC Standard Current, and you are importing to a HVXA High "
              "Current.\n\nLoading a config from the wrong instrument may cause some settings to be wrong\n"
              "Continue anyway?");
    // Codes outside the name lists: "Unknown" types, nameless options.
    EXPECT_EQ(config_stream_mismatch_text(99, 7, 16, -1),
              "The selected configuration file is for a Unknown , and you are importing to a  Unknown.\n\nLoading a "
              "config from the wrong instrument may cause some settings to be wrong\nContinue anyway?");
    EXPECT_STREQ(config_stream_type_name(-5), "Unknown");
    EXPECT_STREQ(config_stream_type_name(14), "KESTRAN PSC");
    EXPECT_STREQ(config_stream_option_name(-2), "");
    EXPECT_STREQ(config_stream_option_name(1), "Low Current");
}

TEST(ConfigStream, DamagedStreamsChangeNothing)
{
    hvx_cfg_ak source;
    source.set_value_int(1, 1);
    const std::vector<std::string> good = lines_of(saved(source));
    const std::size_t mode_line = command_line_of(good, 1);
    const std::size_t window_line = command_line_of(good, 12);
    const std::size_t last_line = good.size() - 1;

    struct damage_case {
        const char* what;
        std::size_t line;         // the line changed (index)
        std::string replacement;  // its new text
        bool cut_after;           // drop everything after that line
        const char* reason;       // part of the message
    };
    const damage_case cases[] = {
        {"another version", 0, "2", false, "line 1 is not the format version 1"},
        {"no version", 0, "", false, "line 1 is not the format version 1"},
        {"type not a number", 1, "HVXA", false, "line 2 is not a whole number"},
        {"ends in the header", 1, "7", true, "it ends after line 2"},
        {"ends after a command number", mode_line, "1", true, "before its last record"},
        {"ends in the second bank", last_line - 1, "0", true, "before its last record"},
        {"command number not a number", mode_line, "one", false, "is not a whole number"},
        {"another record's command number", mode_line, "2", false, "holds command number 2 where 1 belongs"},
        {"choice value not whole", mode_line + 1, "1.5", false, "(parameter 1 is a choice)"},
        {"choice value out of int range", mode_line + 1, "2147483648", false, "is not a whole number"},
        {"a value of 20 characters", window_line + 1, "12345678901234567890", false, "more than 19 characters"},
        {"a line without end", window_line + 1, std::string(5000, '7'), false, "more than 19 characters"},
    };
    for (const damage_case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = good;
        lines[c.line] = c.replacement;
        if (c.cut_after) {
            lines.resize(c.line + 1);
        }
        hvx_cfg_ak target;
        target.set_value_int(1, 4);
        target.record(1)->changed = false;
        const std::string before = saved(target);
        recording_prompt prompt;
        prompt.answer_yes = true;
        EXPECT_FALSE(load(target, joined(lines), prompt));
        EXPECT_EQ(saved(target), before);
        EXPECT_FALSE(target.record(1)->changed);
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].caption, "Load Configuration");
        EXPECT_NE(prompt.messages[0].text.find(c.reason), std::string::npos) << prompt.messages[0].text;
        EXPECT_NE(prompt.messages[0].text.find("Nothing was changed."), std::string::npos);

        // Quiet: refused without a word.
        recording_prompt quiet_prompt;
        EXPECT_FALSE(load(target, joined(lines), quiet_prompt, 7, 2, true));
        EXPECT_TRUE(quiet_prompt.messages.empty());
    }
}

TEST(ConfigStream, ValueLinesReadWhole)
{
    hvx_cfg_ak source;
    std::vector<std::string> lines = lines_of(saved(source));
    const std::size_t window_line = command_line_of(lines, 12) + 1;
    struct value_case {
        std::string line;
        const char* value;
    };
    const value_case cases[] = {
        {" ", ""}, {"", ""}, {"\t1.0000E0  ", "1.0000E0"}, {"1 2", "1 2"}, {"1234567890123456789", "1234567890123456789"},
    };
    for (const value_case& c : cases) {
        lines[window_line] = c.line;
        hvx_cfg_ak target;
        target.set_value_text(12, "9");
        recording_prompt prompt;
        ASSERT_TRUE(load(target, joined(lines), prompt)) << c.line;
        EXPECT_EQ(target.get_value_string(12), c.value) << c.line;
    }
}

}  // namespace
