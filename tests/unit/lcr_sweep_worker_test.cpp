// The LCR sweep worker against a scripted instrument on the fake link: the
// layout chosen by what a type-9 instrument measures, the three starts, the
// Piezo view's change of parameter 137 undone on every way out, and the
// download error told only after the link is closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "impedance/cell9a_setup.h"
#include "impedance/lcr_sweep_worker.h"
#include "link/connection.h"
#include "support/fake_link.h"
#include "support/recording_prompt.h"
#include "support/sweep_fakes.h"

namespace {

class LcrSweepWorker : public sweep_worker_fixture<s_lcr_sweep_job> {
public:
    void SetUp() override
    {
        sweep_worker_fixture::SetUp();
        conn.instrument_type = 9;
        conn.sub_model = 2;
        instrument.config[1] = "3";
    }
};

TEST(LcrSweepLayout, FollowsWhatATypeNineInstrumentMeasures)
{
    EXPECT_EQ(lcr_sweep_layout(9, 4), 8);
    EXPECT_EQ(lcr_sweep_layout(9, 3), 7);
    EXPECT_EQ(lcr_sweep_layout(9, 0), 6);
    EXPECT_EQ(lcr_sweep_layout(9, 2), 6);
    EXPECT_EQ(lcr_sweep_layout(7, 4), 3);
}

TEST_F(LcrSweepWorker, AnImpedanceSweepOfFiveValueLines)
{
    instrument.config[137] = "3";
    instrument.sweep_lines = {point_line(10, 5), point_line(100, 5), point_line(1000, 5)};
    EXPECT_EQ(lcr_sweep_worker(job, context), sweep_outcome::delivered);
    EXPECT_EQ(traffic(), (std::vector<std::string>{"out,on", "config,18?", "config,6?", "config,137?", "config,58?",
                                                   "config,1?", "start", "start", "start", "DAV?", "DAV?",
                                                   "LCR,SWEEP?"}));
    EXPECT_EQ(job.layout, 7);
    EXPECT_EQ(job.block->points, 3);
    EXPECT_DOUBLE_EQ(job.block->point[2].value[4], 1004);
    EXPECT_EQ(job.block->point[2].value[5], 0);
    EXPECT_EQ(view.commands, std::vector<int>{LCR_SWEEP_DOWNLOADED_COMMAND});
    EXPECT_FALSE(view.link_open_when_posted);
    EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
}

// The Piezo view measures impedance and gives the instrument its own
// setting back, whether the sweep was delivered, abandoned or failed.
TEST_F(LcrSweepWorker, PiezoPutsTheMeasuredQuantityBackOnEveryWayOut)
{
    struct piezo_case {
        const char* name;
        std::function<void(LcrSweepWorker&)> arrange;
        sweep_outcome outcome;
    };
    const piezo_case cases[] = {
        {"delivered", [](LcrSweepWorker&) {}, sweep_outcome::delivered},
        {"too few steps", [](LcrSweepWorker& t) { t.instrument.config[18] = "1"; }, sweep_outcome::abandoned},
        {"datalog refused", [](LcrSweepWorker& t) { t.instrument.config[58] = "1"; }, sweep_outcome::abandoned},
        {"cancelled while waiting",
         [](LcrSweepWorker& t) {
             t.instrument.polls_before_ready = 1000000;
             t.instrument.on_line = [&t](const std::string& line) {
                 if (line == "DAV?" && t.instrument.polls == 2) {
                     sweep_cancel_routine(t.job, nullptr);
                 }
             };
         },
         sweep_outcome::cancelled},
        {"download failed", [](LcrSweepWorker& t) { t.instrument.sweep_lines = {point_line(1, 5), "bad"}; },
         sweep_outcome::download_failed},
    };
    for (const piezo_case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.tcp.wire.reset();
        answer_from_instrument();
        instrument = scripted_instrument{};
        instrument.config[1] = "3";
        instrument.config[137] = "4";
        instrument.sweep_lines = {point_line(1, 5), point_line(2, 5), point_line(3, 5)};
        model.set_value_int(137, 4);
        progress.reports.clear();
        view.commands.clear();
        prompt.messages.clear();
        job.cancel = false;
        job.piezo_view = true;
        c.arrange(*this);

        EXPECT_EQ(lcr_sweep_worker(job, context), c.outcome);
        const std::vector<std::string> sent = traffic();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.front(), "config,137,3") << "impedance first";
        EXPECT_NE(std::find(sent.begin(), sent.end(), "config,137,4"), sent.end()) << "and the setting back";
        EXPECT_EQ(instrument.config[137], "4");
        EXPECT_EQ(model.get_value_int(137), 4);
        EXPECT_EQ(progress.count(PROGRESS_DONE), 1);
        EXPECT_FALSE(fake.tcp.is_open);
        const bool told_failure = !prompt.messages.empty() && prompt.messages.back().text == LCR_DOWNLOAD_ERROR_TEXT;
        EXPECT_EQ(told_failure, c.outcome == sweep_outcome::download_failed);
        EXPECT_EQ(view.commands.empty(), c.outcome != sweep_outcome::delivered);
    }
}

TEST_F(LcrSweepWorker, OtherInstrumentsUseTheBasicLayoutAndTheLcrMode)
{
    conn.instrument_type = 7;
    instrument.config[1] = "1";
    instrument.sweep_lines = {point_line(1, 8), point_line(2, 8), point_line(3, 8)};
    EXPECT_EQ(lcr_sweep_worker(job, context), sweep_outcome::delivered);
    EXPECT_EQ(job.layout, 3);
    const std::vector<std::string> sent = traffic();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "config,137?"), 0);
    EXPECT_NE(std::find(sent.begin(), sent.end(), "config,1,3"), sent.end());
    EXPECT_DOUBLE_EQ(job.block->point[0].value[7], 8);
}

}  // namespace

namespace {

// The EIS view's CELL9A set-up around a sweep: applied before it, and undone
// exactly once after it, whichever way the sweep ended; a type-7
// instrument gets no set-up at all.
TEST_F(LcrSweepWorker, TheCell9aSetupIsUndoneOnceHoweverTheSweepEnds)
{
    struct ending {
        const char* name;
        std::function<void(LcrSweepWorker&)> arrange;
        sweep_outcome outcome;
    };
    const ending endings[] = {
        {"delivered", [](LcrSweepWorker&) {}, sweep_outcome::delivered},
        {"datalog refused", [](LcrSweepWorker& t) { t.instrument.config[58] = "1"; }, sweep_outcome::abandoned},
        {"download failed",
         [](LcrSweepWorker& t) { t.instrument.sweep_lines = {point_line(1, 13), "bad"}; },
         sweep_outcome::download_failed},
    };
    for (const ending& e : endings) {
        SCOPED_TRACE(e.name);
        instrument = scripted_instrument{};
        fake.tcp.wire.sent_lines.clear();
        SetUp();
        conn.instrument_type = 9;
        instrument.config[18] = "3";
        instrument.sweep_lines = {point_line(1, 13), point_line(2, 13), point_line(3, 13)};
        e.arrange(*this);
        {
            const cell9a_setup cell(model, &conn, true);
            EXPECT_TRUE(cell.applied());
            EXPECT_EQ(lcr_sweep_worker(job, context), e.outcome);
        }
        std::vector<std::string> cell_writes;
        for (const std::string& line : traffic()) {
            for (const char* prefix : {"config,25,", "config,37,", "config,40,"}) {
                if (line.rfind(prefix, 0) == 0) {
                    cell_writes.push_back(line);
                }
            }
        }
        EXPECT_EQ(cell_writes, (std::vector<std::string>{"config,25,0", "config,37,1.0", "config,40,0.47",
                                                         "config,25,2", "config,37,2.5", "config,40,0.8"}));
        EXPECT_EQ(model.get_value_int(25), 2);
        EXPECT_EQ(model.get_value_string(40), "0.8");
    }
    fake.tcp.wire.sent_lines.clear();
    conn.instrument_type = 7;
    {
        const cell9a_setup cell(model, &conn, true);
        EXPECT_FALSE(cell.applied());
    }
    EXPECT_TRUE(fake.tcp.wire.sent_lines.empty());
}

}  // namespace

namespace {

// The download error belongs to the view, not to the progress window that
// asks the datalog question.
TEST_F(LcrSweepWorker, TheDownloadErrorGoesToTheViewsMessages)
{
    recording_prompt view_messages;
    context.view_prompt = &view_messages;
    instrument.sweep_lines = {point_line(1, 8), "bad"};
    conn.instrument_type = 7;
    EXPECT_EQ(lcr_sweep_worker(job, context), sweep_outcome::download_failed);
    ASSERT_EQ(view_messages.messages.size(), 1u);
    EXPECT_EQ(view_messages.messages[0].text, LCR_DOWNLOAD_ERROR_TEXT);
    EXPECT_EQ(view_messages.messages[0].caption, LCR_DOWNLOAD_ERROR_CAPTION);
    EXPECT_TRUE(prompt.messages.empty());
}

}  // namespace
