#pragma once
// A module's parameters (registers 8..17) as a text file a person can read and
// edit, so a calibration can be kept and carried to another module.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace paramfile {

constexpr int kValueCount = 10; // registers 8..17, as txtChannel(0) to (9)
constexpr qint64 kMaxFileSize = qint64{64} * 1024;
constexpr int kFirstCoefficient = 2; // after the baud rate and the station address
constexpr int kCoefficientLow = 5000;
constexpr int kCoefficientHigh = 15000;

struct Parameters {
    QDateTime readAt; // when the module was read
    int station = 0;  // the station that was read
    QString port;     // "COM4"
    QString settings; // "19200,N,8,1"
    std::array<int, kValueCount> values{};
};

// The ten values of a well-formed reply to a read of registers 8..17 (station,
// function, byte count 20, data, CRC); false when it is too short to hold them.
bool valuesFromReply(const QByteArray &reply, std::array<int, kValueCount> *values);

// The parameters a well-formed read of registers 8..17 brought, read now from
// the station of request on COM commPort with its line settings; nothing when
// the reply is too short to hold them.
std::optional<Parameters> fromRead(const QByteArray &request, const QByteArray &reply, int commPort,
                                   const QString &settings);

// The name of each value in the file: its box's caption.
QString valueKey(int index);

// The file's text.
QByteArray format(const Parameters &parameters);

// Writes the file atomically (QSaveFile); on failure returns false, leaves any
// earlier file whole and puts the reason into *error.
bool save(const QString &path, const Parameters &parameters, QString *error);

struct ReadResult {
    bool ok = false;
    Parameters parameters;       // when ok; metadata the file lacks stays empty
    std::vector<int> outOfRange; // coefficients outside 5000..15000, by index
    int line = 0;                // when not ok: the line at fault, 0 for the whole file
    QString problem;             // when not ok: what is wrong
};

// Reads a file's text; nothing in it is trusted.
ReadResult parse(const QByteArray &bytes);

// Reads the file at path, refusing one too large to be a parameter file.
ReadResult load(const QString &path);

} // namespace paramfile
