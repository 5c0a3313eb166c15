#include "ControlNumberFields.h"

#include "app/InputCheck.h"

#include <QLineEdit>

ControlNumberFields::ControlNumberFields(const std::array<QLineEdit *, 3> &fields, QObject *parent)
    : QObject(parent), m_fields(fields)
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        QLineEdit *field = m_fields[i];
        // Latin only, and no input method: a user who types Japanese elsewhere types plain letters here.
        field->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferLowercase | Qt::ImhNoPredictiveText |
                                   Qt::ImhNoAutoUppercase);
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString &text) { edited(i, text); });
    }
}

void ControlNumberFields::edited(std::size_t index, const QString &text)
{
    const QString plain = normalizedControlNumber(text);
    const bool full = plain.size() >= kLengths[index];
    if (plain == text && !full && !plain.contains(QLatin1Char('-')))
        return; // an ordinary keystroke: the field stays as the user has it
    distribute(index, plain);
}

void ControlNumberFields::distribute(std::size_t first, const QString &text)
{
    QStringList pieces = text.split(QLatin1Char('-'));
    std::size_t index = first;
    QString rest;
    for (qsizetype piece = 0; index < m_fields.size(); ++index) {
        QString part = rest.isEmpty() ? pieces.value(piece++) : rest;
        rest = part.mid(kLengths[index]);
        part.truncate(kLengths[index]);
        m_fields[index]->setText(part);
        const bool more = !rest.isEmpty() || piece < pieces.size();
        if (!more) {
            // The cursor moves on once a part is complete, as a number is read aloud.
            const bool complete = part.size() == kLengths[index] && index + 1 < m_fields.size();
            QLineEdit *next = complete ? m_fields[index + 1] : m_fields[index];
            next->setFocus();
            next->setCursorPosition(int(next->text().size()));
            return;
        }
    }
    m_fields.back()->setFocus();
}
