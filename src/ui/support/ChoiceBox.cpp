#include "support/ChoiceBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace {

// The combo box matches its text against the list when its line edit reports editingFinished
// (the field left, Enter pressed). The line edit keeps that report to itself while the user has
// not changed the text since it was last set, so the box takes no item the user did not ask for.
class CChoiceLineEdit : public QLineEdit {
public:
    explicit CChoiceLineEdit(QWidget* parent)
        : QLineEdit(parent)
    {
        // A user's change is announced (textEdited) just before the change itself; the inline
        // completion that follows a typed key extends what was typed. Any other change of the
        // text is the program's.
        connect(this, &QLineEdit::textEdited, this, [this] { m_typed = m_announced = true; });
        connect(this, &QLineEdit::textChanged, this, [this] {
            if (!m_announced && m_keys == 0)
                m_typed = false;
            m_announced = false;
        });
        connect(this, &QLineEdit::editingFinished, this, [this] { m_typed = false; });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const QSignalBlocker quiet(enter && !m_typed ? this : nullptr);
        const QScopedValueRollback<int> keys(m_keys, m_keys + 1);
        QLineEdit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override
    {
        // Text being composed is typed too: leaving the field commits it, and must say so.
        if (!event->preeditString().isEmpty() || !event->commitString().isEmpty())
            m_typed = true;
        const QScopedValueRollback<int> keys(m_keys, m_keys + 1);
        QLineEdit::inputMethodEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        const QSignalBlocker quiet(m_typed ? nullptr : this);
        QLineEdit::focusOutEvent(event);
    }

private:
    bool m_typed = false;     // the user changed the text since it was last set
    bool m_announced = false; // textEdited came, its textChanged not yet
    int m_keys = 0;           // inside the handling of a key or of input-method text
};

} // namespace

void MakeChoiceBox(QComboBox* box)
{
    // Editable first, as Qt sets up an editable box; then the line edit that keeps the rule.
    box->setEditable(true);
    box->setLineEdit(new CChoiceLineEdit(box));
    box->setInsertPolicy(QComboBox::NoInsert);
}
