// The generator monitor's read of the instrument and the values it hands on.
#include "config/monitor_read.h"

#include <exception>
#include <optional>
#include <string>

#include "config/instrument_config.h"
#include "config/monitor_display.h"
#include "link/connection.h"
#include "link/restored_link_timeout.h"

namespace {

constexpr int FAMILY_C_TYPE = 9;
constexpr int PHASE_RESET_TYPE = 7;
constexpr int FAMILY_C_TIMEOUT_MS = 500;
constexpr float FAMILY_C_CEILING = 15.0f;
constexpr float OTHER_CEILING = 10.0f;

constexpr int DEVICE_FLAG_PARAM = 122;
constexpr int OUTPUT_PARAM = 7;
constexpr int WAVEFORM_PARAM = 51;
constexpr int AMPLITUDE_PARAM = 49;
constexpr int FREQUENCY_PARAM = 48;
constexpr int OFFSET_PARAM = 50;
constexpr int PHASE_RESET_PARAM = 56;

// In the order the instrument is asked.
constexpr int generator_params[] = {DEVICE_FLAG_PARAM, OUTPUT_PARAM,    WAVEFORM_PARAM,
                                    AMPLITUDE_PARAM,   FREQUENCY_PARAM, OFFSET_PARAM};

bool reads_phase_reset(const s_connection& conn)
{
    return conn.instrument_type == PHASE_RESET_TYPE && conn.current_option == 0;
}

monitor_read_result read_all(instrument_config& config, s_connection* conn, std::atomic<bool>& run)
{
    bool first = true;
    for (int id : generator_params) {
        if (!first && !run.load()) {
            return monitor_read_result::stopped;
        }
        first = false;
        config.read_param(id, conn, true);
    }
    if (reads_phase_reset(*conn)) {
        if (!run.load()) {
            return monitor_read_result::stopped;
        }
        config.read_param(PHASE_RESET_PARAM, conn, true);
    }
    return monitor_read_result::complete;
}

float number_of(const instrument_config& config, int id)
{
    return monitor_number_of_text(config.get_value_string(id).c_str());
}

}  // namespace

monitor_read_result monitor_read_generator(instrument_config& config, s_connection* conn, std::atomic<bool>& run)
{
    std::optional<restored_link_timeout> restore;
    if (conn->instrument_type == FAMILY_C_TYPE) {
        restore.emplace(conn);
        link_set_timeout(conn, FAMILY_C_TIMEOUT_MS);
    }
    try {
        return read_all(config, conn, run);
    } catch (const std::exception&) {
        // A transfer error (or anything else a read throws) ends the polling;
        // the display keeps its last values.
        run = false;
        return monitor_read_result::failed;
    }
}

s_monitor_values monitor_values_of(const instrument_config& config, const s_connection& conn)
{
    s_monitor_values values;
    values.device_flag = config.get_value_int(DEVICE_FLAG_PARAM) >= 1;
    values.output_state = static_cast<std::int16_t>(config.get_value_int(OUTPUT_PARAM));
    values.waveform = static_cast<std::int16_t>(config.get_value_int(WAVEFORM_PARAM));
    values.amplitude = number_of(config, AMPLITUDE_PARAM);
    values.frequency = number_of(config, FREQUENCY_PARAM);
    values.offset = number_of(config, OFFSET_PARAM);
    values.has_phase_reset = reads_phase_reset(conn);
    if (values.has_phase_reset) {
        values.phase_reset = number_of(config, PHASE_RESET_PARAM);
    }
    values.amplitude_ceiling = conn.instrument_type == FAMILY_C_TYPE ? FAMILY_C_CEILING : OTHER_CEILING;
    return values;
}
