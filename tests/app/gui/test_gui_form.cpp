#include "TestSupport.h"
#include "app/gui/OVMainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

using namespace testsupport;

namespace {

// What a user's keyboard sends for a character the test tool cannot click (a full-width one).
void typeCharacters(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList partsOf(const OVMainWindow &window)
{
    return {window.controlNumber(0)->text(), window.controlNumber(1)->text(),
            window.controlNumber(2)->text()};
}

} // namespace

// The management number's fields through the real widgets, as a user with a Japanese keyboard meets them.
class TestGuiForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void fieldsTakeLatinOnly();
    void typingMovesOnWhenAPartIsFull();
    void fullWidthAndSpacesBecomePlain();
    void aWholeNumberPastedIsSpread_data();
    void aWholeNumberPastedIsSpread();
    void examplesReadAsExamples();

private:
    std::unique_ptr<OVMainWindow> m_window;
};

void TestGuiForm::init()
{
    m_window = std::make_unique<OVMainWindow>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->controlNumber(0)->setFocus();
}

void TestGuiForm::fieldsTakeLatinOnly()
{
    for (int i = 0; i < 3; ++i) {
        QLineEdit *field = m_window->controlNumber(i);
        QVERIFY(!field->testAttribute(Qt::WA_InputMethodEnabled)); // no input method
        QVERIFY(field->inputMethodHints() & Qt::ImhLatinOnly);
    }
    QVERIFY(m_window->firstName()->testAttribute(Qt::WA_InputMethodEnabled)); // names are Japanese
}

void TestGuiForm::typingMovesOnWhenAPartIsFull()
{
    QTest::keyClicks(QApplication::focusWidget(), "abc");
    QCOMPARE(QApplication::focusWidget(), m_window->controlNumber(1));
    QTest::keyClicks(QApplication::focusWidget(), "12");
    QCOMPARE(QApplication::focusWidget(), m_window->controlNumber(2));
    QTest::keyClicks(QApplication::focusWidget(), "x123");
    QCOMPARE(partsOf(*m_window), (QStringList{"abc", "12", "x123"}));
    QCOMPARE(m_window->formValues().managementNumber(), QStringLiteral("abc-12-x123"));
    // A part takes no more than its length: what goes beyond begins the next part.
    m_window->controlNumber(0)->clear();
    m_window->controlNumber(0)->setFocus();
    QTest::keyClicks(m_window->controlNumber(0), "abcd");
    QCOMPARE(m_window->controlNumber(0)->text(), QStringLiteral("abc"));
    QCOMPARE(m_window->controlNumber(1)->text(), QStringLiteral("d"));
}

void TestGuiForm::fullWidthAndSpacesBecomePlain()
{
    typeCharacters(QApplication::focusWidget(), QStringLiteral("ａｂｃ"));
    QCOMPARE(m_window->controlNumber(0)->text(), QStringLiteral("abc"));
    QCOMPARE(QApplication::focusWidget(), m_window->controlNumber(1));
    typeCharacters(QApplication::focusWidget(), QStringLiteral("１２"));
    typeCharacters(QApplication::focusWidget(), QStringLiteral("ｘ１２３"));
    QCOMPARE(partsOf(*m_window), (QStringList{"abc", "12", "x123"}));
    // Set as they may stand after an edit, the form reads them plain all the same.
    m_window->controlNumber(1)->setText(QStringLiteral(" １２　"));
    QCOMPARE(m_window->formValues().managementNumber(), QStringLiteral("abc-12-x123"));
    // Upper case is no full width: it stays, and the check refuses it as before.
    m_window->controlNumber(0)->setText(QStringLiteral("ＡＢＣ"));
    QCOMPARE(m_window->formValues().controlNumber01, QStringLiteral("ABC"));
}

void TestGuiForm::aWholeNumberPastedIsSpread_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::newRow("as printed") << "abc-12-x123";
    QTest::newRow("full width, with spaces") << "　ａｂｃ－１２－ｘ１２３ ";
    QTest::newRow("without dashes") << "abc12x123";
}

void TestGuiForm::aWholeNumberPastedIsSpread()
{
    QFETCH(QString, pasted);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(m_window->controlNumber(0), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(partsOf(*m_window), (QStringList{"abc", "12", "x123"}));
    QCOMPARE(QApplication::focusWidget(), m_window->controlNumber(2));
}

void TestGuiForm::examplesReadAsExamples()
{
    QCOMPARE(m_window->firstName()->placeholderText(), QStringLiteral("例：山田"));
    QCOMPARE(m_window->lastName()->placeholderText(), QStringLiteral("例：太郎"));
}

QTEST_MAIN(TestGuiForm)
#include "test_gui_form.moc"
