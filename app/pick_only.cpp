#include "app/pick_only.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

namespace {
// A wheel turned over a list the operator is not working in would switch ports.
class UnfocusedWheelFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        auto *combo = static_cast<QComboBox *>(watched);
        const QWidget *focus = QApplication::focusWidget();
        return focus != combo && !combo->isAncestorOf(focus);
    }
};

// QComboBox keeps its old index when the text is edited; typed text selects nothing.
void unselectOnTyping(QComboBox *combo)
{
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                     [combo](const QString &text) {
                         if (combo->currentIndex() < 0)
                             return;
                         QLineEdit *edit = combo->lineEdit();
                         const int cursor = edit->cursorPosition();
                         const QSignalBlocker block(combo);
                         combo->setCurrentIndex(-1);
                         combo->setEditText(text);
                         edit->setCursorPosition(cursor);
                     });
}
} // namespace

void makePickOnly(QComboBox *combo)
{
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // QComboBox looks the finished text up and selects (and activates) a match.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    QObject::disconnect(combo->lineEdit(), &QLineEdit::returnPressed, combo, nullptr);
    combo->setFocusPolicy(Qt::StrongFocus); // a wheel must not give it the focus either
    combo->installEventFilter(new UnfocusedWheelFilter(combo));
    unselectOnTyping(combo);
}
