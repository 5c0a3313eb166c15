#include "InputCheck.h"

#include <algorithm>

const QString kInvalidManagementNumber = QStringLiteral("管理番号が不正です");
const QString kUserNameMissing = QStringLiteral("使用者氏名を入力してください。");

namespace {

using Field = InputRefusal::Field;

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
std::optional<InputRefusal> controlNumberRefusal(const FormValues &form)
{
    const QString &third = form.controlNumber03;
    if (form.controlNumber01.size() != 3 || !consistsOf(form.controlNumber01, isLowerLetter))
        return InputRefusal{
            kInvalidManagementNumber,
            QStringLiteral("管理番号の最初の部分は英小文字3文字です（例：abc-12-x123 の abc）"),
            Field::ControlNumber01};
    if (form.controlNumber02.size() != 2 || !consistsOf(form.controlNumber02, isDigit))
        return InputRefusal{kInvalidManagementNumber,
                            QStringLiteral("管理番号の2番目の部分は数字2桁です（例：abc-12-x123 の 12）"),
                            Field::ControlNumber02};
    if (third.size() != 4 || !(isLowerLetter(third[0]) || isDigit(third[0])) ||
        !consistsOf(QStringView(third).sliced(1), isDigit))
        return InputRefusal{
            kInvalidManagementNumber,
            QStringLiteral(
                "管理番号の3番目の部分は英小文字か数字1文字と数字3桁です（例：abc-12-x123 の x123）"),
            Field::ControlNumber03};
    return std::nullopt;
}

} // namespace

std::optional<InputRefusal> inputCheck(const FormValues &form)
{
    if (auto refusal = controlNumberRefusal(form))
        return refusal;
    const QString both = QStringLiteral("姓と名の両方を入力してください");
    if (form.lastName.trimmed().isEmpty())
        return InputRefusal{kUserNameMissing, both, Field::LastName};
    if (form.firstName.trimmed().isEmpty())
        return InputRefusal{kUserNameMissing, both, Field::FirstName};
    return std::nullopt;
}

QString normalizedControlNumber(const QString &part)
{
    return part.normalized(QString::NormalizationForm_KC).trimmed();
}
