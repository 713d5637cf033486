// Handlers for the measurement commands (instruments with a
// configuration; the others ignore them). Values come from the devices
// under test (dut_models.h) at the frequencies the configuration sets:
// steps 18, start 19, end 20, generator frequency 48, amplitude 49, phase
// convention 6, third channel 84, LCR parameter 137 and series/parallel
// 138. Every value is written as sweep_number_text.h says.
//
//   DAV?            the data-ready bits (sweep_state.h) as a whole number
//   out,on          generator output on; never answered
//   start           starts a sweep: clears the sweep-ready bit for
//                   steps x point time; never answered
//   *wai            holds the rest of the line's replies until the point
//                   is ready (so "*wai;fra?" answers the settled reading)
//   gainph,sweep?   one line per step of the transfer points; 6 values,
//                   10 on a three-channel instrument (family C, CM
//                   variant, with 84 on)
//   fra?            one transfer point at the generator frequency
//   LCR,SWEEP?      one line per step of impedance points in the layout
//                   the instrument chooses: family C by 137 (4 Admittance:
//                   5 admittance values; 3 Impedance: 5 impedance values;
//                   otherwise 13 values), families A and B always 8 (L, C
//                   and R series or parallel by 138)
//   lcr?            one impedance reading at the generator frequency:
//                   11 values when 137 is Impedance or Admittance, else 14
//   config,N,V      as config_write; an accepted write of 48 also clears
//                   the point-ready bits for the settle time
#pragma once

#include "sim/command_table.h"

namespace hvxsim {

reply_lines data_ready_query(command_context& context);
reply_lines output_on(command_context& context);
reply_lines sweep_start(command_context& context);
reply_lines wait_for_point(command_context& context);
reply_lines transfer_sweep_query(command_context& context);
reply_lines transfer_reading_query(command_context& context);
reply_lines impedance_sweep_query(command_context& context);
reply_lines impedance_reading_query(command_context& context);
reply_lines config_write_retuning(command_context& context);

}  // namespace hvxsim
