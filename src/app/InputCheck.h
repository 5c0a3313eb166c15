#pragma once

#include "FormValues.h"

#include <optional>

// Why the form may not be registered: the specified sentence, what exactly is wrong and what it must be,
// and the field at fault, for the focus.
struct InputRefusal
{
    enum class Field { ControlNumber01, ControlNumber02, ControlNumber03, LastName, FirstName };

    QString message; // message A or B, as ever
    QString detail;  // "管理番号の2番目の部分は数字2桁です（例：abc-12-x123 の 12）"
    Field field;
};

extern const QString kInvalidManagementNumber; // message A
extern const QString kUserNameMissing;         // message B

// The first rule the form breaks, in the order management number, given name, family name.
std::optional<InputRefusal> inputCheck(const FormValues &form);

// A part of the management number as it is meant: full-width letters and digits (an input method left on)
// in their plain forms (NFKC), and the spaces around it gone. Nothing else is changed: an upper-case letter
// is still refused.
QString normalizedControlNumber(const QString &part);
