// A side panel of the editor: a bold title over its table. It passes on the wish to
// close it; the panel says which element the user chose.
#pragma once

#include <QWidget>

class QLabel;

namespace lists {

class PanelTable;

class ListPanel : public QWidget {
    Q_OBJECT

public:
    PanelTable& table() { return *m_table; }

signals:
    // The user chose a row that names this element.
    void elementChosen(int index);
    void closeRequested();

protected:
    // The panel and its table, named for the tests and the window's arrangement.
    ListPanel(const QString& name, const QString& tableName, QWidget* parent);
    void setTitle(const QString& title);

private:
    PanelTable* m_table; // owned by the panel, as Qt children are
    QLabel* m_title;
};

} // namespace lists
