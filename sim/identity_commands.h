// Handlers for the identification command.
#pragma once

#include "sim/command_table.h"

namespace hvxsim {

// "*IDN?": the identity text, once the request count has reached
// identity_answer_from (an instrument that is slow to wake up); earlier
// requests are counted but not answered.
reply_lines identity_query(command_context& context);

}  // namespace hvxsim
