// A table model of fixed columns, each with its title in the horizontal header.
#pragma once

#include <QAbstractTableModel>
#include <span>

namespace lists {

class TitledModel : public QAbstractTableModel {
    Q_OBJECT

public:
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    TitledModel(std::span<const char* const> titles, QObject* parent);

private:
    std::span<const char* const> m_titles;
};

} // namespace lists
