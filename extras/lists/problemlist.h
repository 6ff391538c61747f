// The problem list: what the check of a skin finds in its layout files, in German, one
// row each with its kind, its place (file:line) and its text.
#pragma once

#include "skincheck/check.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

class QLabel;

namespace lists {

class PanelTable;

class ProblemModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Kind, Place, Text, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setFindings(std::vector<cli::Finding> findings);
    const std::vector<cli::Finding>& findings() const { return m_findings; }
    int errors() const { return m_errors; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<cli::Finding> m_findings;
    int m_errors = 0;
};

// "2 Fehler, 1 Warnung".
QString countText(int errors, int warnings);

// The panel: a title with the counts and the table.
class ProblemPanel : public QWidget {
    Q_OBJECT

public:
    explicit ProblemPanel(QWidget* parent);

    void setFindings(std::vector<cli::Finding> findings);
    ProblemModel& model() { return *m_model; }
    PanelTable& table() { return *m_table; }

signals:
    // The user chose a row that names this element.
    void elementChosen(int index);
    void closeRequested();

private:
    ProblemModel* m_model; // owned by the panel, as Qt children are
    PanelTable* m_table;
    QLabel* m_title;
};

} // namespace lists
