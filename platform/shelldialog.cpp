#include "platform/shelldialog.h"

#include "platform/background.h"
#include "platform/foldertree.h"
#include "platform/locationfield.h"
#include "platform/places.h"
#include "platform/statusline.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <cstring>

namespace platform {

namespace {

const QString kDialogTitle = QStringLiteral("Ordner suchen");
constexpr QSize kOldStyleSize(320, 400);
constexpr QSize kNewStyleSize(360, 440);
constexpr std::chrono::milliseconds kPlacesBudget(300);

QString displayNameOf(const QString& path) {
    return path == QLatin1String("/") ? path : QFileInfo(path).fileName();
}

// Copies a name into the caller's MAX_PATH buffer, cut at a whole character.
void copyDisplayName(QString name, LPSTR buffer) {
    QByteArray bytes = name.toLocal8Bit();
    while (bytes.size() > MAX_PATH - 1) {
        name.chop(1);
        bytes = name.toLocal8Bit();
    }
    std::memcpy(buffer, bytes.constData(), std::size_t(bytes.size()) + 1);
}

// Why an item cannot be chosen, if it cannot.
std::optional<QString> refusalOf(const QTreeWidgetItem* item) {
    if (!item || FolderTree::isDesktop(item))
        return std::nullopt;
    if (!FolderTree::isUsable(item))
        return QStringLiteral("Der Name „%1“ ist kein gültiger Text; der Ordner kann nicht "
                              "geöffnet werden.")
            .arg(item->text(0));
    if (std::size_t(FolderTree::itemPath(item).toLocal8Bit().size()) >= MAX_FS_PATH)
        return QStringLiteral("Der Pfad dieses Ordners ist länger als %1 Bytes; er kann nicht "
                              "geöffnet werden.")
            .arg(MAX_FS_PATH - 1);
    return std::nullopt;
}

ItemListPtr itemListOf(const QTreeWidgetItem* item) {
    return FolderTree::isDesktop(item) ? desktopItemList()
                                       : pathItemList(FolderTree::itemPath(item));
}

} // namespace

PIDLIST_ABSOLUTE ShellDialog::browse(BROWSEINFOA& request) {
    QWidget* owner = WidgetFromHwnd(request.hwndOwner);
    auto dialog = std::make_unique<ShellDialog>(request, owner ? owner->window() : nullptr);
    const QPointer<ShellDialog> alive(dialog.get());
    dialog->initialize();
    const int result = alive ? dialog->exec() : int(QDialog::Rejected);
    if (!alive) { // its owner took it down while it was open
        (void)dialog.release();
        return nullptr;
    }
    if (result != QDialog::Accepted || !dialog->m_chosen)
        return nullptr;
    if (request.pszDisplayName)
        copyDisplayName(dialog->m_chosenName, request.pszDisplayName);
    request.iImage = 0;
    return dialog->m_chosen.release();
}

ShellDialog::ShellDialog(const BROWSEINFOA& request, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      m_callback(request.lpfn), m_callbackData(request.lParam), m_flags(request.ulFlags) {
    setWindowTitle(kDialogTitle);
    const bool newStyle = m_flags & BIF_NEWDIALOGSTYLE;
    auto* layout = new QVBoxLayout(this);

    if (request.lpszTitle) {
        auto* instruction = new QLabel(QString::fromLocal8Bit(request.lpszTitle), this);
        instruction->setObjectName(QStringLiteral("instruction"));
        instruction->setTextFormat(Qt::PlainText);
        instruction->setWordWrap(true);
        layout->addWidget(instruction);
    }
    if (m_flags & BIF_STATUSTEXT) {
        m_status = new StatusLine(this);
        m_status->setObjectName(QStringLiteral("statusText"));
        layout->addWidget(m_status);
    } else { // the dialog's own notes still need a line
        m_note = new StatusLine(this);
        m_note->setObjectName(QStringLiteral("noteText"));
        m_note->hide();
        layout->addWidget(m_note);
    }

    m_location = new LocationField(m_flags & BIF_BROWSEINCLUDEFILES, this);
    m_location->setObjectName(QStringLiteral("locationEdit"));
    m_location->hide();
    layout->addWidget(m_location);
    connect(m_location, &LocationField::submitted, this, &ShellDialog::acceptTyped);
    connect(m_location, &LocationField::dismissed, this, [this] {
        m_location->hide();
        m_tree->setFocus();
    });

    m_tree = new FolderTree(m_flags & BIF_BROWSEINCLUDEFILES, this);
    m_tree->setObjectName(QStringLiteral("folderTree"));
    layout->addWidget(m_tree, 1);
    const std::optional<QString> root = itemListPath(request.pidlRoot);
    if (root && !root->isEmpty() && QFileInfo(*root).isDir())
        m_tree->setFolderRoot(*root);
    else
        setDesktopRoot();
    connect(m_tree, &FolderTree::locationTyped, this,
            [this](const QString& text) { showLocation(text, false); });

    if (m_flags & BIF_EDITBOX) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QStringLiteral("Ordner:"), this);
        m_edit = new QLineEdit(this);
        m_edit->setObjectName(QStringLiteral("pathEdit"));
        label->setBuddy(m_edit);
        row->addWidget(label);
        row->addWidget(m_edit, 1);
        layout->addLayout(row);
    }

    auto* buttons = new QHBoxLayout;
    if (newStyle && !(m_flags & BIF_NONEWFOLDERBUTTON)) {
        m_newFolder = new QPushButton(QStringLiteral("Neuen &Ordner erstellen"), this);
        m_newFolder->setObjectName(QStringLiteral("newFolderButton"));
        buttons->addWidget(m_newFolder);
        connect(m_newFolder, &QPushButton::clicked, this, &ShellDialog::createFolder);
    }
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &ShellDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onCurrentChanged(current); });
    connect(m_tree, &FolderTree::itemRenamed, this, [this](QTreeWidgetItem* item) {
        if (item == m_tree->currentItem())
            onCurrentChanged(item);
    });
    connect(m_tree, &FolderTree::renameRefused, this, &ShellDialog::showNote);
    onCurrentChanged(m_tree->currentItem());
    m_tree->setFocus();
    addKeysAndMenu();

    // A real size now, so that the callback can place the dialog before it is shown.
    resize(sizeHint().expandedTo(newStyle ? kNewStyleSize : kOldStyleSize));
    if (newStyle)
        setSizeGripEnabled(true);
    else
        setFixedSize(size());
}

ShellDialog::~ShellDialog() = default;

// The Desktop with the places of the mounted volumes. Asking for the volumes asks every file
// system for its size, which a dead network mount does not answer: they come in the
// background, and when they are late, the places are added once they are there.
void ShellDialog::setDesktopRoot() {
    const Background<QList<Volume>> volumes(&mountedVolumes);
    if (volumes.waitFor(kPlacesBudget)) {
        m_tree->setDesktopRoot(userPlaces(volumes.future().result(), QDir::homePath()));
        return;
    }
    m_tree->setDesktopRoot();
    volumes.whenDone(*this, [this](const QList<Volume>& mounted) {
        m_tree->addPlaces(userPlaces(mounted, QDir::homePath()));
    });
}

void ShellDialog::addKeysAndMenu() {
    auto* location = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(location, &QShortcut::activated, this, [this] {
        const QTreeWidgetItem* item = m_tree->currentItem();
        showLocation(FolderTree::isDesktop(item) ? QString() : FolderTree::itemPath(item), true);
    });

    auto* hidden = new QAction(QStringLiteral("&Versteckte Ordner anzeigen"), this);
    hidden->setObjectName(QStringLiteral("showHiddenAction"));
    hidden->setCheckable(true);
    hidden->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    hidden->setShortcutContext(Qt::WindowShortcut);
    connect(hidden, &QAction::toggled, this, [this](bool show) {
        m_tree->setShowHidden(show);
        m_location->setShowHidden(show);
        if (m_tree->currentIndex().isValid())
            m_tree->scrollTo(m_tree->currentIndex());
    });
    addAction(hidden);

    auto* rename = new QAction(QStringLiteral("&Umbenennen"), this);
    rename->setShortcut(QKeySequence(Qt::Key_F2));
    rename->setShortcutContext(Qt::WidgetShortcut); // the tree handles the key itself
    connect(rename, &QAction::triggered, this,
            [this] { m_tree->renameItem(m_tree->currentItem()); });

    m_tree->setContextMenuPolicy(Qt::ActionsContextMenu);
    if (m_newFolder) {
        m_createAction = new QAction(m_newFolder->text(), this);
        m_createAction->setEnabled(m_newFolder->isEnabled());
        connect(m_createAction, &QAction::triggered, this, &ShellDialog::createFolder);
        m_tree->addAction(m_createAction);
    }
    m_tree->addAction(rename);
    m_tree->addAction(hidden);
}

void ShellDialog::showLocation(const QString& text, bool selectAll) {
    m_location->show();
    m_location->setText(text);
    m_location->setFocus();
    if (selectAll)
        m_location->selectAll();
    else
        m_location->end(false);
}

void ShellDialog::acceptTyped(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return;
    const std::optional<QString> path = resolveTyped(typed);
    QTreeWidgetItem* item = path ? m_tree->findPath(*path) : nullptr;
    if (!item) {
        showNote(path ? QStringLiteral("„%1“ liegt außerhalb dieser Auswahl.").arg(*path)
                      : QStringLiteral("„%1“ ist kein Ordner.").arg(typed));
        return;
    }
    const QPointer<ShellDialog> alive(this);
    m_tree->showItem(item); // the callback hears of it as of any other choice
    if (!alive)
        return;
    m_location->hide();
    m_tree->setFocus();
    if (m_tree->currentItem() == item)
        confirm();
}

int ShellDialog::callback(UINT message, LPARAM lParam) {
    return m_callback ? m_callback(HwndFromWidget(this), message, lParam, m_callbackData) : 0;
}

void ShellDialog::initialize() {
    const QPointer<ShellDialog> alive(this);
    const int reportsBefore = m_selectionReports;
    m_initialized = true;
    callback(BFFM_INITIALIZED, 0);
    if (alive && m_selectionReports == reportsBefore)
        notifySelection(m_tree->currentItem());
}

void ShellDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Placed anew now that the tree has its real size: from the left edge where the item's
    // start shows there.
    m_tree->horizontalScrollBar()->setValue(0);
    if (m_tree->currentIndex().isValid())
        m_tree->scrollTo(m_tree->currentIndex(), QAbstractItemView::PositionAtCenter);
}

LRESULT ShellDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BFFM_SETSTATUSTEXTA:
        if (m_status) {
            m_status->setStatus(QString::fromLocal8Bit(reinterpret_cast<LPCSTR>(lParam)));
            m_noteShown = false;
        }
        break;
    case BFFM_ENABLEOK:
        m_ok->setEnabled(lParam != 0);
        break;
    case BFFM_SETSELECTIONA:
        if (wParam) {
            const QString typed = QString::fromLocal8Bit(reinterpret_cast<LPCSTR>(lParam));
            if (!typed.isEmpty())
                selectPath(QDir::cleanPath(QDir::current().absoluteFilePath(typed)));
        } else if (const auto path = itemListPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam))) {
            selectPath(*path);
        }
        break;
    default:
        break;
    }
    return 0;
}

void ShellDialog::selectPath(const QString& path) {
    if (QTreeWidgetItem* item = m_tree->findPath(path))
        m_tree->showItem(item);
}

void ShellDialog::onCurrentChanged(QTreeWidgetItem* item) {
    if (!item)
        return;
    if (m_noteShown) // a note speaks of the selection it was given for
        showNote(QString());
    const std::optional<QString> refused = refusalOf(item);
    m_ok->setEnabled(!refused &&
                     (!(m_flags & BIF_RETURNONLYFSDIRS) || !FolderTree::isDesktop(item)));
    if (m_newFolder)
        m_newFolder->setEnabled(FolderTree::isFolder(item) && !refused);
    if (m_createAction)
        m_createAction->setEnabled(m_newFolder->isEnabled());
    if (m_edit)
        m_edit->setText(item->text(0));
    const QPointer<ShellDialog> alive(this);
    notifySelection(item);
    if (alive && refused && item == m_tree->currentItem()) { // after the caller's own text
        m_ok->setEnabled(false);
        showNote(*refused);
    }
}

void ShellDialog::showNote(const QString& text) {
    StatusLine* line = m_status ? m_status : m_note;
    line->setStatus(text);
    if (line == m_note)
        m_note->setVisible(!text.isEmpty());
    m_noteShown = !text.isEmpty();
}

void ShellDialog::notifySelection(QTreeWidgetItem* item) {
    if (!m_initialized || !item)
        return;
    ++m_selectionReports;
    const ItemListPtr list = itemListOf(item);
    callback(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(list.get()));
}

std::optional<QString> ShellDialog::resolveTyped(const QString& typed) const {
    QString path = typed;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/"))) {
        path = QDir::homePath() + path.mid(1);
    } else if (!QDir::isAbsolutePath(path)) {
        const QTreeWidgetItem* item = m_tree->currentItem();
        QString base = FolderTree::itemPath(item);
        if (base.isEmpty())
            base = QDir::homePath();
        else if (!FolderTree::isFolder(item))
            base = QFileInfo(base).path();
        path = QDir(base).filePath(path);
    }
    path = QDir::cleanPath(path);
    const QFileInfo info(path);
    if (info.isDir() || ((m_flags & BIF_BROWSEINCLUDEFILES) && info.isFile()))
        return path;
    return std::nullopt;
}

void ShellDialog::confirm() {
    const QTreeWidgetItem* item = m_tree->currentItem();
    const QString typed = m_edit ? m_edit->text().trimmed() : QString();
    if (!typed.isEmpty() && (!item || typed != item->text(0))) {
        if (const auto path = resolveTyped(typed)) {
            choose(pathItemList(*path), displayNameOf(*path));
            return;
        }
        if (m_flags & BIF_VALIDATE) {
            const QPointer<ShellDialog> alive(this);
            const QByteArray text = m_edit->text().toLocal8Bit();
            const int keepOpen =
                callback(BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(text.constData()));
            if (!alive)
                return;
            if (keepOpen == 0) {
                reject();
                return;
            }
        }
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    if (const std::optional<QString> refused = refusalOf(item)) {
        showNote(*refused);
        return;
    }
    if (item && m_ok->isEnabled())
        choose(itemListOf(item), item->text(0));
}

void ShellDialog::choose(ItemListPtr list, const QString& name) {
    if (!list)
        return;
    m_chosen = std::move(list);
    m_chosenName = name;
    accept();
}

void ShellDialog::createFolder() {
    QTreeWidgetItem* item = m_tree->createFolder(m_tree->currentItem());
    if (!item) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Der Ordner konnte nicht erstellt werden."));
        return;
    }
    m_tree->showItem(item);
    m_tree->setFocus();
    m_tree->renameItem(item);
}

} // namespace platform
