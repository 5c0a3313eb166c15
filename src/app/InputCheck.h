#pragma once

#include "FormValues.h"

#include <optional>

// Why the form may not be registered: the message shown as both texts of the box.
struct InputRefusal
{
    QString message;
};

extern const QString kInvalidManagementNumber; // message A
extern const QString kUserNameMissing;         // message B

// The first rule the form breaks, in the order management number, given name, family name.
std::optional<InputRefusal> inputCheck(const FormValues &form);
