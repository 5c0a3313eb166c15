#include "InputCheck.h"

#include <algorithm>

const QString kInvalidManagementNumber = QStringLiteral("管理番号が不正です");
const QString kUserNameMissing = QStringLiteral("使用者氏名を入力してください。");

namespace {

bool isLowerLetter(QChar c)
{
    return c >= u'a' && c <= u'z';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

template <typename Predicate> bool consistsOf(QStringView text, Predicate belongs)
{
    return std::all_of(text.begin(), text.end(), belongs);
}

// Lengths count UTF-16 units, so a character outside the Basic Multilingual Plane counts twice.
bool validControlNumbers(const FormValues &form)
{
    const QString &first = form.controlNumber01;
    const QString &second = form.controlNumber02;
    const QString &third = form.controlNumber03;
    return first.size() == 3 && consistsOf(first, isLowerLetter) && second.size() == 2 &&
           consistsOf(second, isDigit) && third.size() == 4 &&
           (isLowerLetter(third[0]) || isDigit(third[0])) &&
           consistsOf(QStringView(third).sliced(1), isDigit);
}

} // namespace

std::optional<InputRefusal> inputCheck(const FormValues &form)
{
    if (!validControlNumbers(form))
        return InputRefusal{kInvalidManagementNumber};
    if (form.lastName.trimmed().isEmpty() || form.firstName.trimmed().isEmpty())
        return InputRefusal{kUserNameMissing};
    return std::nullopt;
}
