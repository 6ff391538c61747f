#include "extras/lists/listpanel.h"

#include "extras/lists/paneltable.h"

#include <QLabel>
#include <QVBoxLayout>

namespace lists {

ListPanel::ListPanel(const QString& name, const QString& tableName, QWidget* parent)
    : QWidget(parent), m_table(new PanelTable(this)), m_title(new QLabel(this)) {
    setObjectName(name);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_table->setObjectName(tableName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(m_title);
    layout->addWidget(m_table);
    connect(m_table, &PanelTable::closeRequested, this, &ListPanel::closeRequested);
}

void ListPanel::setTitle(const QString& title) {
    m_title->setText(title);
}

} // namespace lists
