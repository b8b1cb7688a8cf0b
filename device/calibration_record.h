#pragma once
// What a calibration record holds, as text in the operator's language: the
// certificate's sections and tables, the CSV of its points, and its history
// entry. The PDF's layout lives with the windows; the content lives here.

#include "device/calibration_check.h"
#include "device/parameter_file.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QStringList>
#include <array>
#include <optional>

namespace calibration {

struct Instrument {
    QString model;
    QString serial;
    QString due;
};

struct Record {
    QString number;
    QDateTime at;
    QString technician;
    Instrument instrument;
    QString port; // "COM4"
    QString settings;
    int station = 0;
    std::optional<std::array<int, paramfile::kValueCount>> before, after;
    bool input = true;
    int channel = 1;
    double tolerance = 0;
    std::vector<double> points;
    int reads = 0;
    std::vector<PointResult> asFound, asLeft;
    std::optional<Fit> fit; // the adjustment, when one was written
    QString version;
};

// "RV4820-20261207-181530-3F2A9C1B": time and a random part, so two records never share it.
QString newRecordNumber(const QDateTime &at);
QString channelText(bool input, int channel); // "input 1"
// rv4820-cal-station2-input1-20261207-181530.pdf
QString certificateFileName(const Record &record);

struct Table {
    QStringList header;
    QList<QStringList> rows;
};
Table pointTable(const std::vector<PointResult> &points, double tolerance);
QString resultText(bool passed); // "pass", "fail"
// The offset, the non-linearity and the error they leave, in one sentence.
QString leftText(const Fit &fit);

struct Section {
    QString title;
    QList<QPair<QString, QString>> fields;
    Table table;
};
struct Document {
    QString title;
    QList<Section> sections;
};
Document certificate(const Record &record);

// One row per point of both checks, with a header; the point is the decimal mark.
QByteArray csv(const Record &record);

// kind: "check", "adjust" or "restore".
QJsonObject historyEntry(const Record &record, const QString &kind);

} // namespace calibration
