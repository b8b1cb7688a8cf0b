#include "app/calibration_dialog.h"

#include "app/calibration_link.h"
#include "app/calibration_multi_point.h"
#include "app/calibration_one_point.h"
#include "app/calibration_record_widget.h"
#include "app/main_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
constexpr int kMinWidth = 640;
constexpr int kMinHeight = 520;
constexpr int kWidth = 760; // the multi-point tables' seven columns side by side

// A page scrolls rather than squeezing its texts when they outgrow the screen.
QScrollArea *scrolled(QWidget *page)
{
    auto *area = new QScrollArea;
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}
} // namespace

CalibrationDialog::CalibrationDialog(MainWindow &window, int index)
    : QDialog(&window), m_link(new CalibrationLink(window, index, this))
{
    setObjectName(QStringLiteral("calibration"));
    setWindowTitle(tr("Calibrate %1").arg(m_link->channelName()));
    auto *layout = new QVBoxLayout(this);
    // The window's own warning, in the operator's language: without CNG linked to GND nothing is
    // kept.
    auto *note = new QLabel(tr("Link CNG to GND on the right terminal block before setting the "
                               "baud rate, the station address or the current parameters; "
                               "otherwise no change is kept."),
                            this);
    note->setObjectName(QStringLiteral("note"));
    if (const auto *warning = window.findChild<QLabel *>(QStringLiteral("Label13_1"))) {
        note->setFont(warning->font());
        note->setPalette(warning->palette());
    }
    note->setWordWrap(true);
    layout->addWidget(note);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    m_onePoint = new OnePointCalibration(*m_link, nullptr);
    m_multiPoint = new MultiPointCheck(*m_link, nullptr);
    m_record = new CalibrationRecordWidget(*m_link, *m_multiPoint, nullptr);
    tabs->addTab(scrolled(m_onePoint), tr("One point"));
    tabs->addTab(scrolled(m_multiPoint), tr("Several points"));
    tabs->addTab(scrolled(m_record), tr("Record"));
    layout->addWidget(tabs, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch();
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancel"));
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("close"));
    for (QPushButton *b : {m_cancelButton, m_closeButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    connect(m_cancelButton, &QPushButton::clicked, this, &CalibrationDialog::cancel);
    connect(m_closeButton, &QPushButton::clicked, this, &CalibrationDialog::reject);
    connect(m_link, &CalibrationLink::said, m_status, &QLabel::setText);
    connect(m_link, &CalibrationLink::failed, this, &CalibrationDialog::showFailure);
    connect(m_link, &CalibrationLink::busyChanged, this, &CalibrationDialog::updateButtons);
    connect(m_multiPoint, &MultiPointCheck::changed, this, &CalibrationDialog::updateButtons);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(kWidth, kMinHeight);
    updateButtons();
}

void CalibrationDialog::cancel()
{
    m_link->cancel();
    m_multiPoint->cancel();
    updateButtons();
}

// Closing drops every step still waiting; only a write already on the line is
// waited for, so that its box shows what the module holds.
void CalibrationDialog::reject()
{
    if (m_link->writing())
        return;
    m_link->cancel();
    QDialog::reject();
}

void CalibrationDialog::updateButtons()
{
    m_onePoint->updateButtons();
    m_multiPoint->updateButtons();
    m_record->updateButtons();
    m_cancelButton->setEnabled((m_link->busy() || m_multiPoint->checking()) && !m_link->writing());
    m_closeButton->setEnabled(!m_link->writing());
}

void CalibrationDialog::showFailure(const QString &text)
{
    m_multiPoint->updateButtons();
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
