#include "extras/lists/problemlist.h"

#include "extras/lists/paneltable.h"

#include <QBrush>
#include <QFileInfo>
#include <QHeaderView>
#include <algorithm>

namespace lists {

namespace {

constexpr const char* kTitles[] = {"Art", "Ort", "Meldung"};
static_assert(std::size(kTitles) == ProblemModel::ColumnCount);

} // namespace

ProblemModel::ProblemModel(QObject* parent) : TitledModel(kTitles, parent) {}

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

QString countText(int errors, int warnings) {
    return cli::summaryLine(errors, warnings, texts::Language::German);
}

ProblemPanel::ProblemPanel(QWidget* parent)
    : ListPanel(QStringLiteral("ProblemPanel"), QStringLiteral("ProblemTable"), parent),
      m_model(new ProblemModel(this)) {
    table().setModel(m_model);
    QHeaderView* header = table().horizontalHeader();
    header->resizeSection(ProblemModel::Kind, 60);
    header->resizeSection(ProblemModel::Place, 100);
    setFindings({});
    connect(&table(), &PanelTable::rowChosen, this, [this](int row) {
        const auto& findings = m_model->findings();
        if (row >= 0 && row < int(findings.size()) && findings[std::size_t(row)].element >= 0)
            emit elementChosen(findings[std::size_t(row)].element);
    });
}

void ProblemPanel::setFindings(std::vector<cli::Finding> findings) {
    m_model->setFindings(std::move(findings));
    const int errors = m_model->errors();
    setTitle(QStringLiteral("Probleme: ") + countText(errors, m_model->rowCount() - errors));
}

} // namespace lists
