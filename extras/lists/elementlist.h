// The element list: every element of the catalogue with its name and x, y, cx and cy as
// the coordinate boxes show them, greyed when the current view does not show it, marked
// when it has a problem, with a check box each to hide and to lock it in the editor.
#pragma once

#include "extras/lists/listpanel.h"
#include "extras/lists/titledmodel.h"

#include <QStringList>
#include <array>

namespace lists {

class ElementFlags;

class ElementModel : public TitledModel {
    Q_OBJECT

public:
    enum Column { Name, X, Y, CX, CY, Hide, Lock, ColumnCount };
    static constexpr int kRows = 25;

    explicit ElementModel(ElementFlags& flags, QObject* parent = nullptr);

    // Reads the values and views afresh; rows that changed are announced.
    void refresh();
    // The problem texts of each element (none: no mark).
    void setProblems(const std::array<QStringList, kRows>& problems);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    struct Row {
        std::array<QString, 4> values;
        bool shown = true; // the current view shows it
        bool operator==(const Row&) const = default;
    };
    static Row read(int index);
    void announce(int row, int firstColumn, int lastColumn);

    ElementFlags& m_flags;
    std::array<Row, kRows> m_rows{};
    std::array<QStringList, kRows> m_problems{};
};

// The panel: a title and the table.
class ElementPanel : public ListPanel {
    Q_OBJECT

public:
    ElementPanel(ElementFlags& flags, QWidget* parent);

    ElementModel& model() { return *m_model; }

private:
    ElementModel* m_model; // owned by the panel, as Qt children are
};

} // namespace lists
