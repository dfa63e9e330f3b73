#include "framework/Cp1252Fields.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <vector>

namespace {

// The guard's object name marks a field as guarded.
const char* const kGuardName = "cp1252Guard";

// Tells once the edit that brought them has ended: a message box must not open while a field is
// in the middle of changing its text.
void TellRefused(QObject* guard, const std::u32string& characters)
{
    const std::string message = RefusedCharactersMessage(NameCharacters(characters));
    QTimer::singleShot(0, guard, [message] { AppMessageBox(message, MsgOk | MsgIconExclamation, 0); });
}

// A line edit's guard: an edit that would bring in such characters is refused as a whole (Qt
// undoes an edit its validator calls invalid), so the field never holds them.
class CCp1252Validator : public QValidator {
public:
    explicit CCp1252Validator(QObject* parent) : QValidator(parent) { setObjectName(kGuardName); }

    State validate(QString& input, int& /*position*/) const override
    {
        const std::u32string outside = CharactersOutsideCp1252(input);
        if (outside.empty())
            return Acceptable;
        TellRefused(const_cast<CCp1252Validator*>(this), outside);
        return Invalid;
    }
};

// A multi-line field's guard: after each change the characters are taken out again.
class CCp1252TextGuard : public QObject {
public:
    CCp1252TextGuard(QObject* field, QTextDocument* (*document)(QObject*)) : QObject(field), m_document(document)
    {
        setObjectName(kGuardName);
    }

    void Check()
    {
        QTextDocument* document = m_document(parent());
        if (m_removing || !document)
            return;
        const QString text = document->toPlainText();
        const std::u32string outside = CharactersOutsideCp1252(text);
        if (outside.empty())
            return;
        m_removing = true;
        ReplaceOutsideCp1252(*document, QString());
        m_removing = false;
        TellRefused(this, outside);
    }

private:
    QTextDocument* (*m_document)(QObject*);
    bool m_removing = false;
};

bool IsGuarded(const QObject* field)
{
    return field->findChild<QObject*>(QString::fromLatin1(kGuardName), Qt::FindDirectChildrenOnly) != nullptr;
}

void Guard(QLineEdit* edit)
{
    if (!IsGuarded(edit))
        edit->setValidator(new CCp1252Validator(edit));
}

template <class Field>
void Guard(Field* field)
{
    if (IsGuarded(field))
        return;
    auto* guard = new CCp1252TextGuard(field, [](QObject* object) {
        auto* owner = qobject_cast<Field*>(object);
        return owner ? owner->document() : nullptr;
    });
    QObject::connect(field, &Field::textChanged, guard, &CCp1252TextGuard::Check);
}

template <class Field>
void GuardAll(QWidget* root)
{
    std::vector<Field*> fields;
    if (auto* self = qobject_cast<Field*>(root))
        fields.push_back(self);
    for (Field* field : root->findChildren<Field*>())
        fields.push_back(field);
    for (Field* field : fields)
        Guard(field);
}

} // namespace

void ReplaceOutsideCp1252(QTextDocument& document, const QString& replacement)
{
    // Positions in the plain text are positions in the document: each block break is one
    // character in both. From the end, so that the positions before stay where they are.
    const QString text = document.toPlainText();
    const auto fits = [&text](qsizetype i) { return FitsCp1252(text[i].unicode()); };
    qsizetype i = text.size();
    while (i > 0 && fits(i - 1))
        --i;
    if (i == 0)
        return;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    while (i-- > 0) {
        if (fits(i))
            continue;
        cursor.setPosition(static_cast<int>(i));
        cursor.setPosition(static_cast<int>(i + 1), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
}

std::string RefusedCharactersMessage(const std::string& names)
{
    return "These characters cannot be stored in the program's files and were not entered: " + names + ".";
}

void KeepFieldsInCp1252(QWidget* root)
{
    if (!root)
        return;
    GuardAll<QLineEdit>(root);
    GuardAll<QPlainTextEdit>(root);
    GuardAll<QTextEdit>(root);
}
