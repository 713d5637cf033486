// The multiple feedback loop response ("Calculate Multiple Feedback Loop
// Response"): two or three measured responses combined into one, open loop
// (their sum) or closed loop.
#pragma once

#include <vector>

#include "fra/test_graph_hooks.h"
#include "graph/test_graph.h"

// Combines the responses point by point, paired by index (not by frequency):
// the result has as many points as the shortest, each at the frequency of
// response1's point. Each point (g dB, p degrees) is taken as
// H = 10^(g/20) (cos phi + j sin phi), phi = p * 0.017453292519943295.
// Open loop: T = H1 + H2 (+ H3). Closed loop, two responses:
// T = (H1 + H2 - 2 H1 H2) / (1 - H1 H2); three: T = N / D with
// N = H1 + H2 + H3 - 2 (H1H2 + H1H3 + H2H3) + 3 H1H2H3 and
// D = 1 - (H1H2 + H1H3 + H2H3) + 2 H1H2H3. Either quotient is computed as
// N conj(D) / |D|^2, so D = 0 gives not-a-number, kept as it is. The result's
// gain is 20 log10 |T| and its phase atan2(Im T, Re T) * 57.29577951308232
// (-180 to +180 degrees). response3 may be null. result becomes present.
void combine_responses(bool open_loop, const std::vector<s_test_graph_point>& response1,
                       const std::vector<s_test_graph_point>& response2,
                       const std::vector<s_test_graph_point>* response3, s_combined_response& result);

// The choice made in the "Select Tests" dialog: plot indices (-1 for none)
// and the "Open Loop" check box.
struct s_loop_choice {
    int response1 = -1;
    int response2 = -1;
    int response3 = -1;
    bool open_loop = false;
};

// The dialog's "OK" (accepted) or "Cancel". With responses 1 and 2 plotted
// and different: no response 3 combines two, a response 3 different from
// both combines three. Any other choice, and "Cancel", removes an earlier
// result. Then the gain range is computed again when it is automatic (the
// result, or its absence, changes it) and the graph is redrawn.
void apply_loop_choice(s_test_graph_state& graph, const s_loop_choice& choice, bool accepted,
                       test_graph_hooks& hooks);
