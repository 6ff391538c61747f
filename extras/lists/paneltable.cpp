#include "extras/lists/paneltable.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace lists {

PanelTable::PanelTable(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
}

bool PanelTable::isNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

void PanelTable::showRow(int row) {
    if (!model() || row == currentIndex().row())
        return;
    m_showing = true;
    if (row < 0 || row >= model()->rowCount()) {
        clearSelection();
        setCurrentIndex({});
    } else {
        setCurrentIndex(model()->index(row, 0));
        scrollTo(currentIndex());
    }
    m_showing = false;
}

void PanelTable::keyboardSearch(const QString& search) {
    // Names stand in the first column, whichever column the current cell is in.
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0) {
        m_showing = true;
        setCurrentIndex(current.sibling(current.row(), 0));
        m_showing = false;
    }
    QTableView::keyboardSearch(search);
}

void PanelTable::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit closeRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void PanelTable::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!m_showing && current.isValid() && current.row() != previous.row())
        emit rowChosen(current.row());
}

} // namespace lists
