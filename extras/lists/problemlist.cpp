#include "extras/lists/problemlist.h"

#include "extras/lists/paneltable.h"

#include <QBrush>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace lists {

void ProblemModel::setFindings(std::vector<cli::Finding> findings) {
    beginResetModel();
    m_findings = std::move(findings);
    m_errors = int(std::count_if(m_findings.cbegin(), m_findings.cend(),
                                 [](const cli::Finding& f) { return f.error; }));
    endResetModel();
}

int ProblemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_findings.size());
}

int ProblemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProblemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_findings.size()))
        return {};
    const cli::Finding& finding = m_findings[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Kind:
            return cli::kindName(finding.error, texts::Language::German);
        case Place: {
            const QString file = QFileInfo(finding.file).fileName();
            return finding.line > 0 ? file + QLatin1Char(':') + QString::number(finding.line)
                                    : file;
        }
        case Text:
            return finding.german;
        default:
            return {};
        }
    case Qt::ToolTipRole:
        return index.column() == Text ? finding.german : QVariant();
    case Qt::ForegroundRole:
        if (index.column() == Kind && finding.error)
            return QBrush(QColor(200, 0, 0));
        return {};
    default:
        return {};
    }
}

QVariant ProblemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[] = {"Art", "Ort", "Meldung"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section]) : QString();
}

QString countText(int errors, int warnings) {
    return cli::summaryLine(errors, warnings, texts::Language::German);
}

ProblemPanel::ProblemPanel(QWidget* parent)
    : QWidget(parent), m_model(new ProblemModel(this)), m_table(new PanelTable(this)),
      m_title(new QLabel(this)) {
    setObjectName(QStringLiteral("ProblemPanel"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_table->setObjectName(QStringLiteral("ProblemTable"));
    m_table->setModel(m_model);
    QHeaderView* header = m_table->horizontalHeader();
    header->resizeSection(ProblemModel::Kind, 60);
    header->resizeSection(ProblemModel::Place, 100);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(m_title);
    layout->addWidget(m_table);
    setFindings({});
    connect(m_table, &PanelTable::rowChosen, this, [this](int row) {
        const auto& findings = m_model->findings();
        if (row >= 0 && row < int(findings.size()) && findings[std::size_t(row)].element >= 0)
            emit elementChosen(findings[std::size_t(row)].element);
    });
    connect(m_table, &PanelTable::closeRequested, this, &ProblemPanel::closeRequested);
}

void ProblemPanel::setFindings(std::vector<cli::Finding> findings) {
    m_model->setFindings(std::move(findings));
    const int errors = m_model->errors();
    m_title->setText(QStringLiteral("Probleme: ") +
                     countText(errors, m_model->rowCount() - errors));
}

} // namespace lists
