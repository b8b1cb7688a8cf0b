#pragma once
// A one-line label whose text holds a part that may be long (a file's path):
// that part is shortened in its middle to the width the layout gives, so the
// label never widens its window; text() keeps it whole.

#include <QLabel>

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget *parent = nullptr) : QLabel(parent) {}

    // format with %1 where part goes; the tooltip shows part whole.
    void setText(const QString &format, const QString &part = {});
    QString shown() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_format;
    QString m_part;
};
