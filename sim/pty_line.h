#pragma once
// A pseudo-terminal whose slave side clients open through a symbolic link.

#include "sim/line.h"

#include <QSocketNotifier>
#include <memory>

namespace sim {

class PtyLine : public Line {
    Q_OBJECT
public:
    // Creates the pseudo-terminal and the link to its slave. An existing
    // symbolic link at the path is replaced (a run that was killed leaves one);
    // anything else there is left alone and the call fails.
    static std::unique_ptr<PtyLine> create(const QString &link, int baud, QString &error);
    ~PtyLine() override;

    bool send(const QByteArray &bytes) override;
    // The pseudo-terminal's line settings are the ones its client set.
    bool atModuleBaud() const override;
    QString slaveName() const { return m_slaveName; }

private:
    PtyLine() = default;
    bool makeLink(const QString &link, QString &error);
    void onReadable();

    int m_master = -1;
    // Held open so that the line does not hang up between clients.
    int m_slave = -1;
    int m_baud = 0;
    QString m_slaveName;
    QString m_link;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace sim
