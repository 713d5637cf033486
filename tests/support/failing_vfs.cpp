#include "support/failing_vfs.h"

#include <sqlite3.h>

#include <atomic>
#include <cerrno>

namespace {

#ifdef _WIN32
constexpr int disk_full_error = 112;  // ERROR_DISK_FULL
#else
constexpr int disk_full_error = ENOSPC;
#endif

std::atomic<bool> writes_fail{false};
sqlite3_vfs* real_vfs = nullptr;
sqlite3_vfs shim_vfs;

// A file of the shim: the real file's handle follows this header.
struct s_shim_file {
    sqlite3_file base;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

sqlite3_file* real_of(sqlite3_file* file)
{
    return reinterpret_cast<s_shim_file*>(file)->real();
}

int shim_close(sqlite3_file* f)
{
    return real_of(f)->pMethods->xClose(real_of(f));
}
int shim_read(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return real_of(f)->pMethods->xRead(real_of(f), buffer, amount, offset);
}
int shim_write(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (writes_fail.load()) {
        return SQLITE_IOERR_WRITE;
    }
    return real_of(f)->pMethods->xWrite(real_of(f), buffer, amount, offset);
}
int shim_truncate(sqlite3_file* f, sqlite3_int64 size)
{
    return real_of(f)->pMethods->xTruncate(real_of(f), size);
}
int shim_sync(sqlite3_file* f, int flags)
{
    return real_of(f)->pMethods->xSync(real_of(f), flags);
}
int shim_file_size(sqlite3_file* f, sqlite3_int64* size)
{
    return real_of(f)->pMethods->xFileSize(real_of(f), size);
}
int shim_lock(sqlite3_file* f, int level)
{
    return real_of(f)->pMethods->xLock(real_of(f), level);
}
int shim_unlock(sqlite3_file* f, int level)
{
    return real_of(f)->pMethods->xUnlock(real_of(f), level);
}
int shim_check_reserved(sqlite3_file* f, int* out)
{
    return real_of(f)->pMethods->xCheckReservedLock(real_of(f), out);
}
int shim_file_control(sqlite3_file* f, int op, void* argument)
{
    return real_of(f)->pMethods->xFileControl(real_of(f), op, argument);
}
int shim_sector_size(sqlite3_file* f)
{
    return real_of(f)->pMethods->xSectorSize(real_of(f));
}
int shim_device_characteristics(sqlite3_file* f)
{
    return real_of(f)->pMethods->xDeviceCharacteristics(real_of(f));
}

// Version 1 methods: no shared memory (no WAL) and no memory mapping.
sqlite3_io_methods make_methods()
{
    sqlite3_io_methods methods{};
    methods.iVersion = 1;
    methods.xClose = shim_close;
    methods.xRead = shim_read;
    methods.xWrite = shim_write;
    methods.xTruncate = shim_truncate;
    methods.xSync = shim_sync;
    methods.xFileSize = shim_file_size;
    methods.xLock = shim_lock;
    methods.xUnlock = shim_unlock;
    methods.xCheckReservedLock = shim_check_reserved;
    methods.xFileControl = shim_file_control;
    methods.xSectorSize = shim_sector_size;
    methods.xDeviceCharacteristics = shim_device_characteristics;
    return methods;
}

const sqlite3_io_methods shim_methods = make_methods();

int shim_open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out_flags)
{
    s_shim_file* shim = reinterpret_cast<s_shim_file*>(file);
    shim->base.pMethods = nullptr;
    const int code = real_vfs->xOpen(real_vfs, name, shim->real(), flags, out_flags);
    if (code == SQLITE_OK) {
        shim->base.pMethods = &shim_methods;
    }
    return code;
}
int shim_delete(sqlite3_vfs*, const char* name, int sync)
{
    return real_vfs->xDelete(real_vfs, name, sync);
}
int shim_access(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return real_vfs->xAccess(real_vfs, name, flags, out);
}
int shim_full_pathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return real_vfs->xFullPathname(real_vfs, name, size, out);
}
int shim_randomness(sqlite3_vfs*, int size, char* out)
{
    return real_vfs->xRandomness(real_vfs, size, out);
}
int shim_sleep(sqlite3_vfs*, int microseconds)
{
    return real_vfs->xSleep(real_vfs, microseconds);
}
int shim_current_time(sqlite3_vfs*, double* now)
{
    return real_vfs->xCurrentTime(real_vfs, now);
}
int shim_last_error(sqlite3_vfs*, int, char*)
{
    return writes_fail.load() ? disk_full_error : 0;
}

}  // namespace

failing_vfs::failing_vfs()
{
    real_vfs = sqlite3_vfs_find(nullptr);
    shim_vfs = sqlite3_vfs{};
    shim_vfs.iVersion = 1;
    shim_vfs.szOsFile = static_cast<int>(sizeof(s_shim_file)) + real_vfs->szOsFile;
    shim_vfs.mxPathname = real_vfs->mxPathname;
    shim_vfs.zName = "corvexa2-failing-writes";
    shim_vfs.xOpen = shim_open;
    shim_vfs.xDelete = shim_delete;
    shim_vfs.xAccess = shim_access;
    shim_vfs.xFullPathname = shim_full_pathname;
    shim_vfs.xRandomness = shim_randomness;
    shim_vfs.xSleep = shim_sleep;
    shim_vfs.xCurrentTime = shim_current_time;
    shim_vfs.xGetLastError = shim_last_error;
    sqlite3_vfs_register(&shim_vfs, 1);
}

failing_vfs::~failing_vfs()
{
    writes_fail = false;
    sqlite3_vfs_unregister(&shim_vfs);
    sqlite3_vfs_register(real_vfs, 1);
}

void failing_vfs::fail_writes(bool fail)
{
    writes_fail = fail;
}
