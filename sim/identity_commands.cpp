#include "sim/identity_commands.h"

namespace hvxsim {

reply_lines identity_query(command_context& context)
{
    instrument_state& state = context.state;
    ++state.identity_requests;
    if (state.identity_requests < state.identity_answer_from)
        return {};
    return {state.identity};
}

}  // namespace hvxsim
