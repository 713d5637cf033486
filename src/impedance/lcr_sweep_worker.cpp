#include "impedance/lcr_sweep_worker.h"

#include "app/user_prompt.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "fra/lcr_layout.h"
#include "fra/sweep_reply.h"
#include "fra/sweep_worker_steps.h"
#include "link/connection.h"

namespace {

constexpr int MEASURED_QUANTITY_PARAMETER = 137;
constexpr int MEASURES_IMPEDANCE = 3;
constexpr int MEASURES_ADMITTANCE = 4;
constexpr int LCR_MODE = 3;
constexpr int TYPE9 = 9;
constexpr int START_COMMANDS = 3;

// Parameter 137 set to `value` in the model and the instrument; false when
// the write failed.
bool write_measured_quantity(const s_sweep_context& context, int value)
{
    context.config->set_value_int(MEASURED_QUANTITY_PARAMETER, value);
    try {
        return context.config->write_param(MEASURED_QUANTITY_PARAMETER, context.connection, true);
    } catch (const config_transfer_error&) {
        return false;
    }
}

// The instrument's own parameter 137 on type 9 (its layout), the held one
// when it cannot be read.
int read_measured_quantity(const s_sweep_context& context)
{
    try {
        context.config->read_param(MEASURED_QUANTITY_PARAMETER, context.connection, true);
    } catch (const config_transfer_error&) {
    }
    return context.config->get_value_int(MEASURED_QUANTITY_PARAMETER);
}

}  // namespace

int lcr_sweep_layout(int instrument_type, int measured_quantity)
{
    if (instrument_type != TYPE9) {
        return LCR_LAYOUT_BASIC;
    }
    if (measured_quantity == MEASURES_ADMITTANCE) {
        return LCR_LAYOUT_ADMITTANCE;
    }
    return measured_quantity == MEASURES_IMPEDANCE ? LCR_LAYOUT_IMPEDANCE : LCR_LAYOUT_FULL;
}

sweep_outcome lcr_sweep_worker(s_lcr_sweep_job& job, const s_sweep_context& context)
{
    s_connection* conn = context.connection;
    job.download_failed = false;
    sweep_report(context.progress, PROGRESS_TOGGLE_PERCENTAGE);
    const int remembered_quantity = context.config->get_value_int(MEASURED_QUANTITY_PARAMETER);
    if (!sweep_open_link(context)) {
        return sweep_outcome::no_connection;
    }
    const bool quantity_changed = job.piezo_view && remembered_quantity != MEASURES_IMPEDANCE;
    if (quantity_changed) {
        write_measured_quantity(context, MEASURES_IMPEDANCE);
    }

    sweep_wake_instrument(conn);
    s_sweep_setup setup;
    sweep_read_steps(context, setup);
    const int quantity = conn->instrument_type == TYPE9 ? read_measured_quantity(context) : 0;
    job.layout = lcr_sweep_layout(conn->instrument_type, quantity);
    sweep_check_datalog(context, setup);
    s_lcr_sweep& block = *job.block;
    const int layout = job.layout;
    const sweep_outcome outcome =
        sweep_start_and_download(job, context, setup, LCR_MODE, START_COMMANDS, "LCR,SWEEP?\n",
                                 [&](int index) { return read_lcr_point(conn, layout, block.point[index]); });
    if (outcome != sweep_outcome::abandoned) {
        block.points = setup.points;
        block.phase_convention = setup.phase_convention;
    }
    // Whatever happened, the Piezo view's change of what is measured is undone.
    if (quantity_changed) {
        write_measured_quantity(context, remembered_quantity);
    }
    link_close(conn);
    user_prompt* view_prompt = context.view_prompt ? context.view_prompt : context.prompt;
    if (outcome == sweep_outcome::download_failed && view_prompt) {
        view_prompt->tell(LCR_DOWNLOAD_ERROR_TEXT, LCR_DOWNLOAD_ERROR_CAPTION, prompt_icon::warning);
    } else if (outcome == sweep_outcome::delivered && job.view) {
        job.view->post(LCR_SWEEP_DOWNLOADED_COMMAND);
    }
    sweep_report(context.progress, PROGRESS_DONE);
    return outcome;
}
