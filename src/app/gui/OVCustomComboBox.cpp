#include "OVCustomComboBox.h"

#include "app/DataSource.h"

OVCustomComboBox::OVCustomComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(24);
}

void OVCustomComboBox::loadDataSource()
{
    if (const auto items = loadDataSourceItems(dataSourcePath(m_dataSourceFileName)))
        addItems(*items);
    setCurrentIndex(-1);
}
