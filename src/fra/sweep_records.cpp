#include "fra/sweep_records.h"

namespace {

constexpr int type9_instrument = 9;
constexpr int third_channel_sub_model = 3;

}  // namespace

std::unique_ptr<s_fra_sweep> make_fra_sweep()
{
    return std::make_unique<s_fra_sweep>();  // value-initialised: all zero
}

std::unique_ptr<s_lcr_sweep> make_lcr_sweep()
{
    return std::make_unique<s_lcr_sweep>();
}

bool fra_sweep_is_three_channel(const s_fra_sweep& block)
{
    return block.is_type9 == 1 && block.channels == 3;
}

void set_fra_sweep_channels(s_fra_sweep& block, int instrument_type, int sub_model, bool third_channel_on)
{
    block.channels = 2;
    block.is_type9 = instrument_type == type9_instrument ? 1 : 0;
    if (block.is_type9 == 1 && sub_model == third_channel_sub_model && third_channel_on) {
        block.channels = 3;
    }
}

int stored_phase_convention(int value)
{
    return value >= 0 && value < PHASE_CONVENTION_COUNT ? value : 0;
}

bool sweep_point_count_fits(int points)
{
    return points >= SWEEP_MIN_POINTS && points <= SWEEP_MAX_POINTS;
}

int fra_sweep_held_points(const s_fra_sweep& block)
{
    if (block.points < 0) {
        return 0;
    }
    return block.points > SWEEP_MAX_POINTS ? SWEEP_MAX_POINTS : block.points;
}
