#include "interrupt_scope.h"

#include <csignal>

namespace {

std::atomic<bool> pressed{false};
std::atomic<std::atomic<bool>*> cancel_flag{nullptr};
void (*previous_handler)(int) = SIG_DFL;

extern "C" void on_interrupt(int)
{
    pressed = true;
    if (std::atomic<bool>* cancel = cancel_flag.load()) {
        *cancel = true;
    }
}

}  // namespace

interrupt_scope::interrupt_scope(std::atomic<bool>* cancel)
{
    pressed = false;
    cancel_flag = cancel;
    void (*previous)(int) = std::signal(SIGINT, on_interrupt);
    previous_handler = previous == SIG_ERR ? SIG_DFL : previous;
}

interrupt_scope::~interrupt_scope()
{
    std::signal(SIGINT, previous_handler);
    cancel_flag = nullptr;
}

bool interrupt_scope::interrupted()
{
    return pressed;
}
