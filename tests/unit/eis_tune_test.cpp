// The "Tune EIS Calculation" dialog's rules: the fields read as atof reads
// them, the two refusals in their order, and what Preview, OK and Cancel
// leave in the tuning.
#include <gtest/gtest.h>

#include <string>

#include "impedance/eis_tune.h"
#include "support/recording_prompt.h"

namespace {

struct tune_fixture {
    eis_tuning tuning = EIS_DEFAULT_TUNING;
    recording_prompt prompt;
    std::vector<eis_tuning> calculated;  // the tuning at each "CALCULATE"
    eis_tune_dialog_model open()
    {
        return eis_tune_dialog_model(tuning, prompt, [this] { calculated.push_back(tuning); });
    }
};

TEST(EisTune, OpensWithTheTuningInPercent)
{
    tune_fixture f;
    EXPECT_EQ(f.open().opening_fields().smoothing, "5.000");
    EXPECT_EQ(f.open().opening_fields().sensitivity, "12.000");
    f.tuning = {0.29, 1.0 / 3.0};
    EXPECT_EQ(f.open().opening_fields().smoothing, "29.000");
    EXPECT_EQ(f.open().opening_fields().sensitivity, "33.333");
}

TEST(EisTune, PreviewAcceptsOrRefusesTheTypedFields)
{
    struct row {
        const char* smoothing;
        const char* sensitivity;
        const char* refusal;  // nullptr: accepted
        double stored_smoothing;
        double stored_sensitivity;
    };
    const char* sensitivity = "The Sensitivity can only be between 0% and 100%";
    const char* smoothing = "The Smoothing can only be between 0% and 100%";
    const row rows[] = {
        {"5", "12", nullptr, 0.05, 0.12},
        {"0", "100", nullptr, 0.0, 1.0},
        {"100", "0", nullptr, 1.0, 0.0},
        {"29", "12", nullptr, 0.29, 0.12},
        {"  7.5e0 %", "12abc", nullptr, 0.075, 0.12},  // the leading number counts
        {"abc", "", nullptr, 0.0, 0.0},                // no number reads as 0
        {"-0.001", "12", smoothing, 0, 0},
        {"100.001", "12", smoothing, 0, 0},
        {"5", "-1", sensitivity, 0, 0},
        {"5", "1e3", sensitivity, 0, 0},
        {"-1", "101", sensitivity, 0, 0},  // the sensitivity is checked first
        {"nan", "12", smoothing, 0, 0},
        {"5", "inf", sensitivity, 0, 0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.smoothing) + " / " + r.sensitivity);
        tune_fixture f;
        auto dialog = f.open();
        const bool accepted = dialog.preview({r.smoothing, r.sensitivity});
        EXPECT_EQ(accepted, r.refusal == nullptr);
        if (r.refusal == nullptr) {
            EXPECT_TRUE(f.prompt.messages.empty());
            ASSERT_EQ(f.calculated.size(), 1u);
            EXPECT_EQ(f.tuning.smoothing, r.stored_smoothing);
            EXPECT_EQ(f.tuning.sensitivity, r.stored_sensitivity);
        } else {
            ASSERT_EQ(f.prompt.messages.size(), 1u);
            EXPECT_EQ(f.prompt.messages[0].text, r.refusal);
            EXPECT_EQ(f.prompt.messages[0].caption,
                      r.refusal == sensitivity ? "Invalid Sensitivity" : "Invalid Smoothing");
            EXPECT_TRUE(f.calculated.empty());
            EXPECT_EQ(f.tuning.smoothing, 0.05);  // untouched
            EXPECT_EQ(f.tuning.sensitivity, 0.12);
        }
    }
}

TEST(EisTune, OkKeepsTheLastPreviewAndCancelRestoresTheOpening)
{
    {
        tune_fixture f;
        auto dialog = f.open();
        ASSERT_TRUE(dialog.preview({"20", "30"}));
        ASSERT_FALSE(dialog.preview({"20", "300"}));  // refused: nothing stored
        dialog.ok();                                   // the fields still read 300: not taken
        EXPECT_EQ(f.tuning.smoothing, 0.2);
        EXPECT_EQ(f.tuning.sensitivity, 0.3);
        ASSERT_EQ(f.calculated.size(), 2u);  // the preview, then the close
        EXPECT_EQ(f.calculated[1].sensitivity, 0.3);
    }
    {
        tune_fixture f;
        f.tuning = {0.1, 0.2};
        auto dialog = f.open();
        ASSERT_TRUE(dialog.preview({"50", "60"}));
        dialog.cancel();
        EXPECT_EQ(f.tuning.smoothing, 0.1);
        EXPECT_EQ(f.tuning.sensitivity, 0.2);
        ASSERT_EQ(f.calculated.size(), 2u);
        EXPECT_EQ(f.calculated[1].smoothing, 0.1);  // recalculated with the restored tuning
    }
    {
        tune_fixture f;
        auto dialog = f.open();
        dialog.ok();  // no preview: the tuning stays as it opened
        EXPECT_EQ(f.tuning.smoothing, 0.05);
        EXPECT_EQ(f.calculated.size(), 1u);
    }
}

TEST(EisTune, TheToolChecksPercentagesWithTheSameRefusals)
{
    EXPECT_EQ(eis_tuning_refusal(5.0, 12.0), nullptr);
    EXPECT_EQ(eis_tuning_refusal(101.0, 12.0), &EIS_SMOOTHING_REFUSAL);
    EXPECT_EQ(eis_tuning_refusal(101.0, -12.0), &EIS_SENSITIVITY_REFUSAL);
    const eis_tuning tuning = eis_tuning_from_percent(29.0, 12.0);
    EXPECT_EQ(tuning.smoothing, 0.29);
    EXPECT_EQ(tuning.sensitivity, 0.12);
}

}  // namespace
