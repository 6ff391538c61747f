// The problem list: what the check of a skin finds in its layout files, in German, one
// row each with its kind, its place (file:line) and its text.
#pragma once

#include "extras/lists/listpanel.h"
#include "extras/lists/titledmodel.h"
#include "skincheck/check.h"

#include <vector>

namespace lists {

class ProblemModel : public TitledModel {
    Q_OBJECT

public:
    enum Column { Kind, Place, Text, ColumnCount };

    explicit ProblemModel(QObject* parent = nullptr);

    void setFindings(std::vector<cli::Finding> findings);
    const std::vector<cli::Finding>& findings() const { return m_findings; }
    int errors() const { return m_errors; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<cli::Finding> m_findings;
    int m_errors = 0;
};

// "2 Fehler, 1 Warnung".
QString countText(int errors, int warnings);

// The panel: a title with the counts and the table.
class ProblemPanel : public ListPanel {
    Q_OBJECT

public:
    explicit ProblemPanel(QWidget* parent);

    void setFindings(std::vector<cli::Finding> findings);
    ProblemModel& model() { return *m_model; }

private:
    ProblemModel* m_model; // owned by the panel, as Qt children are
};

} // namespace lists
