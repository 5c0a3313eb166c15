#pragma once

#include <QObject>

#include <array>

class QLineEdit;

// The three fields of the management number as a user with a Japanese keyboard meets them: the input method
// off, full-width letters and digits and spaces made plain as they are typed, each field taking no more than
// its part and moving on to the next when full, and a whole number typed or pasted into one field spread
// over the three.
class ControlNumberFields : public QObject
{
    Q_OBJECT

public:
    static constexpr std::array<int, 3> kLengths{3, 2, 4};

    ControlNumberFields(const std::array<QLineEdit *, 3> &fields, QObject *parent = nullptr);

    // Puts `text` into the fields from field `first` on, by its "-" where it has them, else by the parts'
    // lengths, and gives the focus to the field where it ended.
    void distribute(std::size_t first, const QString &text);

private:
    void edited(std::size_t index, const QString &text);

    std::array<QLineEdit *, 3> m_fields;
};
