// The table of a side panel: one line per row at a fixed height (so that thousands of
// rows fill at once), whole rows selected, Escape asks to close the panel, and typing
// the first letters of a name finds its row.
#pragma once

#include <QTableView>

namespace lists {

class PanelTable : public QTableView {
    Q_OBJECT

public:
    explicit PanelTable(QWidget* parent);

    // Handles a key that moves the current row, before the window sees it: the window
    // would take the arrow keys for nudging the active element.
    void navigate(QKeyEvent* event) { keyPressEvent(event); }
    static bool isNavigationKey(int key);

    // Sets the current row without letting the change be taken for the user's choice.
    void showRow(int row);

    void keyboardSearch(const QString& search) override;

signals:
    void closeRequested();
    // The user made this row the current one.
    void rowChosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool m_showing = false;
};

} // namespace lists
