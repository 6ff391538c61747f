#include "extras/lists/titledmodel.h"

namespace lists {

TitledModel::TitledModel(std::span<const char* const> titles, QObject* parent)
    : QAbstractTableModel(parent), m_titles(titles) {}

int TitledModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant TitledModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section >= 0 && section < int(m_titles.size())
               ? QString::fromLatin1(m_titles[std::size_t(section)])
               : QString();
}

} // namespace lists
