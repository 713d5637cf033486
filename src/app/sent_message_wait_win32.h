// Waiting on the main thread for a worker without shutting out the messages
// the worker sends meanwhile. A message box a worker shows, owned by one of
// this thread's windows, sends to that window (to disable it, to activate
// it); a plain wait would leave the worker waiting for us and us for it.
#pragma once

#include <windows.h>

// Waits until object is signalled or timeout_ms has passed, handling the
// messages other threads send to this thread's windows. Posted messages
// stay queued for the message loop. True when object was signalled.
bool wait_handling_sent_messages(HANDLE object, DWORD timeout_ms);
