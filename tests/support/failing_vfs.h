// A SQLite file layer over the default one whose writes can be made to fail
// the way a full disk makes them fail on some file systems: SQLITE_IOERR_WRITE,
// with the system's disk-full error as the last error. While it is installed
// it is SQLite's default, so a connection opened then (the program's own
// included) writes through it.
#pragma once

class failing_vfs {
public:
    failing_vfs();   // installs it as the default
    ~failing_vfs();  // puts the previous default back
    failing_vfs(const failing_vfs&) = delete;
    failing_vfs& operator=(const failing_vfs&) = delete;
    // From now on every write fails (true) or passes through (false).
    void fail_writes(bool fail);
};
