#include "device/save_file.h"

#include <QSaveFile>
#include <cerrno>

namespace device {

bool commitSaveFile(QSaveFile &file, QString *error)
{
    if (!file.flush()) {
        *error = qt_error_string(errno); // the system's reason, not Qt's "Unknown error"
        file.cancelWriting();
        return false;
    }
    if (file.commit())
        return true;
    *error = file.errorString();
    return false;
}

bool saveWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return commitSaveFile(file, error);
}

} // namespace device
