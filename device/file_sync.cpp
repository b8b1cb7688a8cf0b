#include "device/file_sync.h"

#include <QtGlobal>
#include <cerrno>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace device {

bool syncToDisk(int fd, QString *reason)
{
#ifdef Q_OS_WIN
    const int result = ::_commit(fd);
#else
    const int result = ::fdatasync(fd);
#endif
    // EINVAL: a file that cannot be synced (a pipe, a special file), not a lost row.
    if (result == 0 || errno == EINVAL)
        return true;
    if (reason)
        *reason = qt_error_string(errno);
    return false;
}

} // namespace device
