#include "app/progress_request.h"

#include <atomic>

#include "graph/bounded_text.h"

namespace {

std::atomic<bool> window_open{false};

}  // namespace

void set_progress_title(progress_request& request, const char* title)
{
    copy_bounded(request.title, sizeof request.title, title != nullptr ? title : "", sizeof request.title);
}

bool progress_window_open()
{
    return window_open.load();
}

progress_window_mark::progress_window_mark()
{
    bool expected = false;
    claimed_ = window_open.compare_exchange_strong(expected, true);
}

progress_window_mark::~progress_window_mark()
{
    if (claimed_) {
        window_open.store(false);
    }
}
