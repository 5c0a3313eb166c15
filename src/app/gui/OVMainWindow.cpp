#include "OVMainWindow.h"

#include "ControlNumberFields.h"
#include "OVCustomComboBox.h"
#include "OVMessageWindowController.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Label and data-source file of each combo box, in the order of the form.
constexpr std::array<std::pair<const char *, const char *>, 9> kLists{{{"部署", "Busho"},
                                                                       {"設置場所", "Basho"},
                                                                       {"使用者", "User"},
                                                                       {"使用者（フリガナ）", "Kana"},
                                                                       {"メールアドレス", "Mail"},
                                                                       {"用途", "Youto"},
                                                                       {"資産区分", "Shisan"},
                                                                       {"管理番号一覧", "Kanri_no"},
                                                                       {"備考", "Bikou"}}};

QLineEdit *makeField(const QString &objectName, const QString &placeholder, int characters)
{
    auto *field = new QLineEdit;
    field->setObjectName(objectName);
    field->setPlaceholderText(placeholder);
    if (characters > 0)
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('m')) * (characters + 3));
    return field;
}

QLabel *makeDash()
{
    return new QLabel(QStringLiteral("－"));
}

} // namespace

OVMainWindow::OVMainWindow(QWidget *parent) : QWidget(parent)
{
    initGuiResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("インベントリ収集"));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(12);
    layout->addWidget(makeListGroup());
    layout->addWidget(makeUserGroup());
    layout->addWidget(makeButtonRow());
    showProgress(QString());
    m_controlNumbers[0]->setFocus();
}

QWidget *OVMainWindow::makeListGroup()
{
    auto *group = new QGroupBox(QStringLiteral("資産の情報"));
    auto *form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        m_comboBoxes[i] = new OVCustomComboBox;
        m_comboBoxes[i]->setObjectName(QString::fromLatin1(kLists[i].second));
        form->addRow(QString::fromUtf8(kLists[i].first), m_comboBoxes[i]);
    }
    return group;
}

QWidget *OVMainWindow::makeUserGroup()
{
    auto *group = new QGroupBox(QStringLiteral("管理番号と使用者"));
    auto *form = new QFormLayout(group);
    auto *number = new QHBoxLayout;
    const std::array<const char *, 3> examples{"abc", "12", "x123"};
    for (std::size_t i = 0; i < examples.size(); ++i) {
        m_controlNumbers[i] = makeField(QStringLiteral("ControlNumber0%1").arg(i + 1),
                                        QString::fromLatin1(examples[i]), ControlNumberFields::kLengths[i]);
        if (i > 0)
            number->addWidget(makeDash());
        number->addWidget(m_controlNumbers[i]);
    }
    new ControlNumberFields(m_controlNumbers, this);
    number->addWidget(new QLabel(QStringLiteral("（英小文字3字－数字2字－英小文字か数字1字と数字3字）")));
    number->addStretch();
    form->addRow(QStringLiteral("管理番号"), number);
    auto *name = new QHBoxLayout;
    // Read as examples, not as names already filled in.
    m_firstName = makeField(QStringLiteral("FirstName"), QStringLiteral("例：山田"), 0);
    m_lastName = makeField(QStringLiteral("LastName"), QStringLiteral("例：太郎"), 0);
    name->addWidget(new QLabel(QStringLiteral("姓")));
    name->addWidget(m_firstName);
    name->addSpacing(12);
    name->addWidget(new QLabel(QStringLiteral("名")));
    name->addWidget(m_lastName);
    form->addRow(QStringLiteral("使用者氏名"), name);
    return group;
}

QWidget *OVMainWindow::makeButtonRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_progressIndicator = new QProgressBar;
    m_progressIndicator->setRange(0, 0); // busy: it turns without a known end
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->setFixedWidth(120);
    QSizePolicy keepPlace = m_progressIndicator->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true); // the form does not shift when the run starts
    m_progressIndicator->setSizePolicy(keepPlace);
    m_progressLabel = new QLabel;
    m_registButton = new QPushButton(QStringLiteral("登録"));
    m_registButton->setObjectName(QStringLiteral("registButton"));
    m_registButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("終了"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton *button : {m_registButton, m_cancelButton})
        button->setMinimumWidth(96);
    layout->addWidget(m_progressIndicator);
    layout->addWidget(m_progressLabel, 1);
    layout->addWidget(m_registButton);
    layout->addWidget(m_cancelButton);
    connect(m_registButton, &QPushButton::clicked, this, &OVMainWindow::registRequested);
    connect(m_cancelButton, &QPushButton::clicked, this, &OVMainWindow::cancelRequested);
    return row;
}

void OVMainWindow::setupComboBox()
{
    for (std::size_t i = 0; i < kLists.size(); ++i)
        m_comboBoxes[i]->setDataSourceFileName(QString::fromLatin1(kLists[i].second));
    for (OVCustomComboBox *box : m_comboBoxes)
        box->loadDataSource();
}

void OVMainWindow::setControlsEnabled(bool enabled, bool textFieldsAndEnd)
{
    for (OVCustomComboBox *box : m_comboBoxes)
        box->setEnabled(enabled);
    m_registButton->setEnabled(enabled);
    if (!textFieldsAndEnd)
        return;
    for (QLineEdit *field :
         {m_controlNumbers[0], m_controlNumbers[1], m_controlNumbers[2], m_firstName, m_lastName})
        field->setEnabled(enabled);
    m_cancelButton->setEnabled(enabled);
}

void OVMainWindow::showProgress(const QString &text)
{
    m_progressLabel->setText(text);
    // An indeterminate bar animates while it is visible.
    m_progressIndicator->setVisible(!text.isEmpty());
}

FormValues OVMainWindow::formValues() const
{
    return FormValues{normalizedControlNumber(m_controlNumbers[0]->text()),
                      normalizedControlNumber(m_controlNumbers[1]->text()),
                      normalizedControlNumber(m_controlNumbers[2]->text()), m_firstName->text(),
                      m_lastName->text()};
}

QLineEdit *OVMainWindow::field(InputRefusal::Field which) const
{
    switch (which) {
    case InputRefusal::Field::ControlNumber01:
    case InputRefusal::Field::ControlNumber02:
    case InputRefusal::Field::ControlNumber03:
        return m_controlNumbers[std::size_t(which)];
    case InputRefusal::Field::LastName:
        return m_lastName;
    case InputRefusal::Field::FirstName:
        break;
    }
    return m_firstName;
}

void OVMainWindow::centreOnScreen()
{
    adjustSize();
    if (const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void OVMainWindow::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_registButton->isEnabled())
        m_registButton->click();
}

void OVMainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeAllowed) {
        event->accept();
        return;
    }
    event->ignore();
    Q_EMIT cancelRequested();
}
