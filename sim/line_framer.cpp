#include "sim/line_framer.h"

namespace hvxsim {

std::vector<framer_event> line_framer::feed(std::string_view bytes)
{
    std::vector<framer_event> events;
    for (char c : bytes) {
        switch (c) {
        case '\0':
            break;
        case reset_byte:
            clear();
            events.push_back({framer_event::kind::reset, {}});
            break;
        case '\n':
            if (discarding_) {
                discarding_ = false;
                break;
            }
            if (!partial_.empty() && partial_.back() == '\r')
                partial_.pop_back();
            if (!partial_.empty())
                events.push_back({framer_event::kind::command, std::move(partial_)});
            partial_.clear();
            break;
        default:
            if (discarding_)
                break;
            if (partial_.size() == max_line_length) {
                partial_.clear();
                partial_.shrink_to_fit();
                discarding_ = true;
                events.push_back({framer_event::kind::overlong, {}});
                break;
            }
            partial_ += c;
            break;
        }
    }
    return events;
}

}  // namespace hvxsim
