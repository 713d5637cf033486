#include "app/sent_message_wait_win32.h"

bool wait_handling_sent_messages(HANDLE object, DWORD timeout_ms)
{
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        const DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1) {
            return woke == WAIT_OBJECT_0;  // signalled, timed out or failed
        }
        // Peeking handles every message sent to this thread; nothing is taken.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
