#include "app/calibration_certificate.h"

#include "device/save_file.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {
constexpr int kResolution = 300; // dots per inch
constexpr double kMarginMm = 15;
constexpr int kBodyPoints = 9;
constexpr int kTitlePoints = 16;
constexpr int kSectionPoints = 11;
constexpr double kLabelShare = 0.32; // of the width, for a field's name
constexpr int kGapLines = 1;
constexpr int kCellGap = 24; // dots between columns, 2 mm

class Pages {
public:
    Pages(QPdfWriter &writer, QPainter &painter) : m_writer(writer), m_painter(painter) {}

    void text(const QString &text, int points, bool bold, int x, int width, int &height)
    {
        QFont font = m_painter.font();
        font.setPointSize(points);
        font.setBold(bold);
        m_painter.setFont(font);
        height = m_painter.boundingRect(QRect(x, 0, width, INT_MAX / 4), Qt::TextWordWrap, text)
                     .height();
    }

    // A row of cells side by side, kept on one page.
    void row(const QStringList &cells, const QList<double> &shares, int points, bool bold)
    {
        const int width = m_writer.width();
        QList<QRect> rects;
        int height = 0;
        int x = 0;
        for (int i = 0; i < cells.size(); ++i) {
            const int w = int(width * shares.value(i));
            int h = 0;
            text(cells[i], points, bold, x, w - kCellGap, h);
            rects << QRect(x, 0, w - kCellGap, h);
            height = std::max(height, h);
            x += w;
        }
        if (m_y + height > m_writer.height()) {
            m_writer.newPage();
            m_y = 0;
        }
        for (int i = 0; i < cells.size(); ++i)
            m_painter.drawText(rects[i].translated(0, m_y), Qt::TextWordWrap, cells[i]);
        m_y += height;
    }

    void gap() { m_y += m_painter.fontMetrics().height() * kGapLines; }

private:
    QPdfWriter &m_writer;
    QPainter &m_painter;
    int m_y = 0;
};

void layOut(Pages &pages, const calibration::Document &document)
{
    pages.row({document.title}, {1.0}, kTitlePoints, true);
    pages.gap();
    for (const calibration::Section &section : document.sections) {
        pages.row({section.title}, {1.0}, kSectionPoints, true);
        for (const auto &[name, value] : section.fields)
            pages.row({name, value}, {kLabelShare, 1 - kLabelShare}, kBodyPoints, false);
        const calibration::Table &table = section.table;
        if (!table.header.isEmpty()) {
            QList<double> shares(table.header.size(), 1.0 / table.header.size());
            pages.row(table.header, shares, kBodyPoints, true);
            for (const QStringList &cells : table.rows)
                pages.row(cells, shares, kBodyPoints, false);
        }
        pages.gap();
    }
}
} // namespace

bool saveCertificatePdf(const QString &path, const calibration::Document &document, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                              QPageLayout::Millimeter);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("rv4820-tool"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QCoreApplication::translate("CalibrationCertificate",
                                                 "the PDF writer could not start");
            return false;
        }
        Pages pages(writer, painter);
        layOut(pages, document);
        painter.end();
    }
    return device::commitSaveFile(file, error);
}
