#include "extras/lists/elementlist.h"

#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "extras/lists/elementflags.h"
#include "extras/lists/paneltable.h"
#include "extras/lists/problemmarks.h"
#include "resources/errors.h"

#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <algorithm>

namespace lists {

namespace {

constexpr const char* kTitles[] = {"Element", "X", "Y", "CX", "CY", "Ausblenden", "Sperren"};
static_assert(std::size(kTitles) == ElementModel::ColumnCount);

} // namespace

ElementModel::ElementModel(ElementFlags& flags, QObject* parent)
    : TitledModel(kTitles, parent), m_flags(flags) {
    for (int i = 0; i < kRows; ++i)
        m_rows[std::size_t(i)] = read(i);
    connect(&m_flags, &ElementFlags::changed, this, [this](int index) {
        if (index < 0)
            emit dataChanged(this->index(0, Hide), this->index(kRows - 1, Lock));
        else
            announce(index, Hide, Lock);
    });
}

ElementModel::Row ElementModel::read(int index) {
    const ProgramState& state = programState();
    Row row;
    row.shown = state.ElementCatalogue[std::size_t(index)]
                    .bInView[std::size_t(std::clamp<int>(state.CurrentView, 0, 2))];
    if (std::size_t(index) < state.Elements.size() && state.Elements[std::size_t(index)]) {
        try {
            row.values = state.Elements[std::size_t(index)]->coordinateTexts();
        } catch (const ui::RuntimeError&) {
            // an element not bound to its controls yet shows no values
        }
    }
    return row;
}

void ElementModel::announce(int row, int firstColumn, int lastColumn) {
    emit dataChanged(index(row, firstColumn), index(row, lastColumn));
}

void ElementModel::refresh() {
    for (int i = 0; i < kRows; ++i) {
        Row now = read(i);
        if (now == m_rows[std::size_t(i)])
            continue;
        m_rows[std::size_t(i)] = std::move(now);
        announce(i, Name, Lock);
    }
}

void ElementModel::setProblems(const std::array<QStringList, kRows>& problems) {
    for (int i = 0; i < kRows; ++i) {
        if (problems[std::size_t(i)] == m_problems[std::size_t(i)])
            continue;
        m_problems[std::size_t(i)] = problems[std::size_t(i)];
        announce(i, Name, Name);
    }
}

int ElementModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRows;
}

QVariant ElementModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int i = index.row();
    const Row& row = m_rows[std::size_t(i)];
    const QStringList& problems = m_problems[std::size_t(i)];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == Name)
            return programState().ElementCatalogue[std::size_t(i)].iniName;
        if (column >= X && column <= CY)
            return row.values[std::size_t(column - X)];
        return {};
    case Qt::CheckStateRole:
        if (column == Hide)
            return m_flags.hidden(i) ? Qt::Checked : Qt::Unchecked;
        if (column == Lock)
            return m_flags.locked(i) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole:
        if (column == Name && !problems.isEmpty())
            return CornerMark::icon();
        return {};
    case Qt::ToolTipRole:
        if (column == Name && !problems.isEmpty())
            return problems.join(QLatin1Char('\n'));
        if (column == Hide)
            return QStringLiteral("Im Editor nicht zeichnen");
        if (column == Lock)
            return QStringLiteral("Maus geht hindurch; Liste, Felder und Pfeile wirken weiter");
        return {};
    case Qt::ForegroundRole:
        if (!row.shown)
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::TextAlignmentRole:
        if (column >= X && column <= CY)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags ElementModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Hide || index.column() == Lock)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ElementModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    const bool on = value.toInt() == Qt::Checked;
    if (index.column() == Hide)
        m_flags.setHidden(index.row(), on);
    else if (index.column() == Lock)
        m_flags.setLocked(index.row(), on);
    else
        return false;
    return true;
}

ElementPanel::ElementPanel(ElementFlags& flags, QWidget* parent)
    : ListPanel(QStringLiteral("ElementPanel"), QStringLiteral("ElementTable"), parent),
      m_model(new ElementModel(flags, this)) {
    setTitle(QStringLiteral("Elemente"));
    table().setModel(m_model);
    QHeaderView* header = table().horizontalHeader();
    const QFontMetrics metrics = table().fontMetrics();
    const int digits = metrics.horizontalAdvance(QStringLiteral("-0000")) + 6;
    header->resizeSection(ElementModel::Name,
                          metrics.horizontalAdvance(QStringLiteral("schematic2")) + 30);
    for (int c = ElementModel::X; c <= ElementModel::CY; ++c)
        header->resizeSection(c, digits);
    header->resizeSection(ElementModel::Hide,
                          metrics.horizontalAdvance(QStringLiteral("Ausblenden")) + 14);
    connect(&table(), &PanelTable::rowChosen, this, &ElementPanel::elementChosen);
}

} // namespace lists
