// COM for the main thread: a single-threaded apartment (the Office automation
// relies on it) with OLE1 DDE disabled.
#pragma once

// Initialises COM on the calling thread. Returns true when the thread now
// owes a CoUninitialize: whenever the call succeeded, and never when the
// thread was already in another apartment (RPC_E_CHANGED_MODE).
bool initialize_main_thread_com();

// Undoes a successful initialize_main_thread_com.
void uninitialize_main_thread_com();
