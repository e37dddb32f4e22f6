#include "tests/support/FullDisk.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace testsupport {

namespace {

std::atomic<bool> full{false};
std::atomic<int> refused{0};
sqlite3_vfs* real = nullptr;

struct ShimFile {
    sqlite3_file base;
    sqlite3_file* inner;  // the real file, allocated right after this struct
};

sqlite3_file* inner(sqlite3_file* f)
{
    return reinterpret_cast<ShimFile*>(f)->inner;
}

int shimClose(sqlite3_file* f)
{
    return inner(f)->pMethods ? inner(f)->pMethods->xClose(inner(f)) : SQLITE_OK;
}
int shimRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return inner(f)->pMethods->xRead(inner(f), buffer, amount, offset);
}
int shimWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (full) {
        ++refused;
        return SQLITE_FULL;
    }
    return inner(f)->pMethods->xWrite(inner(f), buffer, amount, offset);
}
int shimTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    return inner(f)->pMethods->xTruncate(inner(f), size);
}
int shimSync(sqlite3_file* f, int flags)
{
    return inner(f)->pMethods->xSync(inner(f), flags);
}
int shimFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return inner(f)->pMethods->xFileSize(inner(f), size);
}
int shimLock(sqlite3_file* f, int level)
{
    return inner(f)->pMethods->xLock(inner(f), level);
}
int shimUnlock(sqlite3_file* f, int level)
{
    return inner(f)->pMethods->xUnlock(inner(f), level);
}
int shimCheckReservedLock(sqlite3_file* f, int* out)
{
    return inner(f)->pMethods->xCheckReservedLock(inner(f), out);
}
int shimFileControl(sqlite3_file* f, int op, void* arg)
{
    return inner(f)->pMethods->xFileControl(inner(f), op, arg);
}
int shimSectorSize(sqlite3_file* f)
{
    return inner(f)->pMethods->xSectorSize(inner(f));
}
int shimDeviceCharacteristics(sqlite3_file* f)
{
    return inner(f)->pMethods->xDeviceCharacteristics(inner(f));
}

const sqlite3_io_methods shimMethods = {
    1,
    shimClose,
    shimRead,
    shimWrite,
    shimTruncate,
    shimSync,
    shimFileSize,
    shimLock,
    shimUnlock,
    shimCheckReservedLock,
    shimFileControl,
    shimSectorSize,
    shimDeviceCharacteristics,
    nullptr,  // version 1: no shared memory
    nullptr,
    nullptr,
    nullptr,
    nullptr,  // nor memory-mapped pages
    nullptr,
};

int shimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->inner = reinterpret_cast<sqlite3_file*>(shim + 1);
    std::memset(shim->inner, 0, size_t(real->szOsFile));
    const int rc = real->xOpen(real, name, shim->inner, flags, outFlags);
    file->pMethods = rc == SQLITE_OK ? &shimMethods : nullptr;
    return rc;
}
int shimDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    return real->xDelete(real, name, syncDir);
}
int shimAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return real->xAccess(real, name, flags, out);
}
int shimFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return real->xFullPathname(real, name, size, out);
}
void* shimDlOpen(sqlite3_vfs*, const char* name)
{
    return real->xDlOpen(real, name);
}
void shimDlError(sqlite3_vfs*, int size, char* out)
{
    real->xDlError(real, size, out);
}
void (*shimDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return real->xDlSym(real, handle, symbol);
}
void shimDlClose(sqlite3_vfs*, void* handle)
{
    real->xDlClose(real, handle);
}
int shimRandomness(sqlite3_vfs*, int size, char* out)
{
    return real->xRandomness(real, size, out);
}
int shimSleep(sqlite3_vfs*, int micro)
{
    return real->xSleep(real, micro);
}
int shimCurrentTime(sqlite3_vfs*, double* out)
{
    return real->xCurrentTime(real, out);
}
int shimGetLastError(sqlite3_vfs*, int size, char* out)
{
    return real->xGetLastError ? real->xGetLastError(real, size, out) : 0;
}

void install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    sqlite3_initialize();
    real = sqlite3_vfs_find(nullptr);
    static sqlite3_vfs shim{};
    shim.iVersion = 1;
    shim.szOsFile = int(sizeof(ShimFile)) + real->szOsFile;
    shim.mxPathname = real->mxPathname;
    shim.zName = "orvane-full-disk";
    shim.xOpen = shimOpen;
    shim.xDelete = shimDelete;
    shim.xAccess = shimAccess;
    shim.xFullPathname = shimFullPathname;
    shim.xDlOpen = shimDlOpen;
    shim.xDlError = shimDlError;
    shim.xDlSym = shimDlSym;
    shim.xDlClose = shimDlClose;
    shim.xRandomness = shimRandomness;
    shim.xSleep = shimSleep;
    shim.xCurrentTime = shimCurrentTime;
    shim.xGetLastError = shimGetLastError;
    sqlite3_vfs_register(&shim, 1);
}

}  // namespace

void FullDisk::prepare()
{
    install();
}

FullDisk::FullDisk()
{
    install();
    refused = 0;
    full = true;
}

FullDisk::~FullDisk()
{
    full = false;
}

int FullDisk::refusedWrites()
{
    return refused;
}

}  // namespace testsupport
