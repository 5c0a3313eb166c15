#pragma once

#include "app/FormValues.h"
#include "app/InputCheck.h"

#include <QWidget>

#include <array>

class OVCustomComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The one-window form: nine combo boxes fed from DAT/, the management number in three parts, family and
// given name, register and end, a progress text and a busy indicator.
class OVMainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit OVMainWindow(QWidget *parent = nullptr);

    // Fills the nine combo boxes from their data-source files, in the order of the form.
    void setupComboBox();
    // All input controls and both buttons; with textFieldsAndEnd false, only the combo boxes and register.
    void setControlsEnabled(bool enabled, bool textFieldsAndEnd);
    // An empty text hides the text and stops the busy indicator.
    void showProgress(const QString &text);
    // The management number's parts normalised (full-width to plain, spaces gone), the names as typed.
    FormValues formValues() const;
    QLineEdit *field(InputRefusal::Field which) const;
    void centreOnScreen();

    // The window may close only when the end has been confirmed; until then a close asks for the end.
    void allowClose() { m_closeAllowed = true; }

    const std::array<OVCustomComboBox *, 9> &comboBoxes() const { return m_comboBoxes; }
    QLineEdit *controlNumber(int part) const { return m_controlNumbers.at(std::size_t(part)); }
    QLineEdit *firstName() const { return m_firstName; }
    QLineEdit *lastName() const { return m_lastName; }
    QPushButton *registButton() const { return m_registButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QLabel *progressLabel() const { return m_progressLabel; }
    QProgressBar *progressIndicator() const { return m_progressIndicator; }

Q_SIGNALS:
    void registRequested();
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Return registers, as the default button promises; only a dialog gives it that by itself.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *makeListGroup();
    QWidget *makeUserGroup();
    QWidget *makeButtonRow();

    std::array<OVCustomComboBox *, 9> m_comboBoxes{};
    std::array<QLineEdit *, 3> m_controlNumbers{};
    QLineEdit *m_firstName = nullptr;
    QLineEdit *m_lastName = nullptr;
    QPushButton *m_registButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QLabel *m_progressLabel = nullptr;
    QProgressBar *m_progressIndicator = nullptr;
    bool m_closeAllowed = false;
};
