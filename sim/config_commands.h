// Handlers for the configuration commands and the event status register.
//
//   config,N?     the value of parameter N (config_store::reply_text),
//                 after the configuration reply delay; nothing for an
//                 unknown N. Query knobs may replace the reply.
//   config,N,V    stores V when parameter N accepts it, else sets the
//                 event status register to esr_refused; never answered.
//   *ESR?         the event status register as a whole number; reading
//                 clears it.
//   SUSPEN,ON     suspends the instrument's own processing (refused with
//                 esr_busy under --suspend-busy); never answered. The
//                 screen capture spells it SUSPEND,ON: both are taken.
//   SUSPEN,OFF    resumes it (SUSPEND,OFF too); never answered.
//
// An instrument without a configuration ignores both config commands.
#pragma once

#include "sim/command_table.h"

namespace hvxsim {

reply_lines config_query(command_context& context);
reply_lines config_write(command_context& context);
reply_lines event_status_query(command_context& context);
reply_lines suspend_on(command_context& context);
reply_lines suspend_off(command_context& context);

}  // namespace hvxsim
