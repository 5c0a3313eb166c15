#pragma once

#include <QComboBox>

// A combo box whose items come from the site's data-source file DAT/<dataSourceFileName>.TxT.
class OVCustomComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit OVCustomComboBox(QWidget *parent = nullptr);

    const QString &dataSourceFileName() const { return m_dataSourceFileName; }
    void setDataSourceFileName(const QString &name) { m_dataSourceFileName = name; }

    // Appends every item of the file; a missing or unreadable file adds nothing.
    void loadDataSource();

private:
    QString m_dataSourceFileName;
};
