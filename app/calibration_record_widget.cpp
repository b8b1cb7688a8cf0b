#include "app/calibration_record_widget.h"

#include "app/calibration_certificate.h"
#include "app/calibration_link.h"
#include "app/calibration_multi_point.h"
#include "app/main_window.h"
#include "app/system_places.h"
#include "device/save_file.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
QSettings remembered()
{
    return QSettings(settingsplaces::userSettingsDir() + QStringLiteral("/calibration.ini"),
                     QSettings::IniFormat);
}

} // namespace

CalibrationRecordWidget::CalibrationRecordWidget(CalibrationLink &link, MultiPointCheck &check,
                                                 QWidget *parent)
    : QWidget(parent), m_link(link), m_check(check)
{
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    m_technician = addField(*form, "technician", tr("Technician:"));
    m_instrument = addField(*form, "instrument", tr("Reference instrument (model):"));
    m_serial = addField(*form, "instrument_serial", tr("Its serial number:"));
    m_due = addField(*form, "instrument_due", tr("Its calibration due date:"));
    const QSettings settings = remembered();
    for (QLineEdit *field : {m_technician, m_instrument, m_serial, m_due}) {
        field->setText(settings.value(field->objectName()).toString());
        connect(field, &QLineEdit::textChanged, this,
                [field](const QString &text) { remembered().setValue(field->objectName(), text); });
    }
    m_saved = new QLabel(this);
    m_saved->setObjectName(QStringLiteral("saved"));
    m_saved->setWordWrap(true);
    m_saved->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_saved);
    layout->addStretch();
    m_certificateButton = new QPushButton(tr("Certificate…"), this);
    m_certificateButton->setObjectName(QStringLiteral("certificate"));
    m_certificateButton->setAutoDefault(false);
    connect(m_certificateButton, &QPushButton::clicked, this,
            &CalibrationRecordWidget::certificate);
    layout->addWidget(m_certificateButton, 0, Qt::AlignLeft);
    updateButtons();
}

QLineEdit *CalibrationRecordWidget::addField(QFormLayout &form, const char *name,
                                             const QString &label)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QLatin1String(name));
    form.addRow(label, field);
    return field;
}

void CalibrationRecordWidget::updateButtons()
{
    m_certificateButton->setEnabled(!m_link.busy() && !m_check.checking() && m_check.hasResults());
}

// The parameters as they are now go in as "after"; then the operator picks the file.
void CalibrationRecordWidget::certificate()
{
    m_link.begin();
    m_link.readParameters([this](const CalibrationLink::Parameters &parameters) {
        m_link.say({});
        m_link.end();
        m_record = m_check.record();
        if (parameters)
            m_record.after = parameters->values;
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        auto *dialog = new QFileDialog(this, tr("Save the calibration certificate"), folder,
                                       tr("PDF files (*.pdf)"));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setDefaultSuffix(QStringLiteral("pdf"));
        dialog->selectFile(calibration::certificateFileName(m_record));
        connect(dialog, &QFileDialog::fileSelected, this, &CalibrationRecordWidget::save);
        dialog->open();
    });
}

void CalibrationRecordWidget::save(const QString &path)
{
    calibration::Record record = m_record;
    record.technician = m_technician->text().trimmed();
    record.instrument = {m_instrument->text().trimmed(), m_serial->text().trimmed(),
                         m_due->text().trimmed()};
    const QString csvPath = QFileInfo(path).path() + QLatin1Char('/') +
                            QFileInfo(path).completeBaseName() + QStringLiteral(".csv");
    QString error;
    if (!saveCertificatePdf(path, calibration::certificate(record), &error))
        return m_link.fail(tr("The certificate %1 could not be saved: %2")
                               .arg(QDir::toNativeSeparators(path), error));
    if (!device::saveWhole(csvPath, calibration::csv(record), &error))
        return m_link.fail(tr("The points %1 could not be saved: %2")
                               .arg(QDir::toNativeSeparators(csvPath), error));
    m_saved->setText(
        tr("Certificate %1 saved as %2, its points as %3.")
            .arg(record.number, QDir::toNativeSeparators(path), QDir::toNativeSeparators(csvPath)));
}
