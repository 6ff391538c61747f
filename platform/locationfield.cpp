#include "platform/locationfield.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <utility>

namespace platform {

namespace {

// "~" and "~/..." stand for the home folder, as in a shell.
QString expandHome(const QString& typed) {
    if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        return QDir::homePath() + typed.mid(1);
    return typed;
}

// A name in the typed path begins with a dot: hidden folders are wanted.
bool typesHiddenName(const QString& typed) {
    return typed.startsWith(QLatin1Char('.')) || typed.contains(QLatin1String("/."));
}

// Completes paths that begin with "~" from the home folder.
class FolderCompleter : public QCompleter {
public:
    using QCompleter::QCompleter;
    QStringList splitPath(const QString& path) const override {
        return QCompleter::splitPath(expandHome(path));
    }
};

} // namespace

LocationField::LocationField(bool includeFiles, QWidget* parent)
    : QLineEdit(parent), m_includeFiles(includeFiles) {
    m_model = new QFileSystemModel(this);
    m_model->setOption(QFileSystemModel::DontWatchForChanges);
    m_model->setRootPath(QString());
    setShowHidden(false);
    m_refiltered = false;
    auto* completer = new FolderCompleter(m_model, this);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    setCompleter(completer);
    // The folder of the typed path is read in the background; once it is there, the
    // completion of a path typed or pasted faster than that goes on.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
        applyFilter();
        const QString folder = QFileInfo(expandHome(typed)).path();
        if (!QDir::isAbsolutePath(folder))
            return;
        const QModelIndex at = m_model->index(folder);
        if (at.isValid() && m_model->canFetchMore(at))
            m_model->fetchMore(at);
    });
    // Hidden names that came into the list once a dot was typed are offered at once.
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] {
        if (!std::exchange(m_refiltered, false) || !hasFocus() || text().isEmpty())
            return;
        this->completer()->setCompletionPrefix(text());
        this->completer()->complete();
    });
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString& folder) {
        if (!hasFocus() || !expandHome(text()).startsWith(folder) ||
            this->completer()->popup()->isVisible())
            return;
        this->completer()->setCompletionPrefix(text());
        this->completer()->complete();
    });
    setClearButtonEnabled(true);
    setPlaceholderText(QStringLiteral("Pfad eingeben, z. B. ~/skins"));
}

void LocationField::setShowHidden(bool show) {
    m_showHidden = show;
    applyFilter();
}

// Hidden names are offered when they are shown in the tree, or when the typed path names one.
void LocationField::applyFilter() {
    QDir::Filters filters = QDir::AllDirs | QDir::NoDotAndDotDot;
    if (m_includeFiles)
        filters |= QDir::Files;
    if (m_showHidden || typesHiddenName(text()))
        filters |= QDir::Hidden;
    if (filters == m_model->filter())
        return;
    m_refiltered = true;
    m_model->setFilter(filters);
}

void LocationField::closeCompletions() {
    if (completer() && completer()->popup())
        completer()->popup()->hide();
}

void LocationField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        closeCompletions();
        emit submitted(text());
        return;
    case Qt::Key_Escape:
        event->accept();
        closeCompletions();
        emit dismissed();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace platform
