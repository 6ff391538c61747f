// The shell stand-in: special folders, item lists, window handles and functions, and the
// folder dialog driven with keys and clicks through SHBrowseForFolderA.
#include "dialogtesting.h"
#include "platform/foldertree.h"
#include "platform/locationfield.h"
#include "platform/places.h"
#include "platform/shell.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHeaderView>
#include <QScrollBar>
#include <QtTest>
#include <array>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace dialogtesting;

namespace {

QString pathOf(PCIDLIST_ABSOLUTE list, BOOL* ok = nullptr) {
    std::array<char, MAX_PATH> buffer;
    buffer.fill('x');
    const BOOL result = SHGetPathFromIDListA(list, buffer.data());
    if (ok)
        *ok = result;
    return QString::fromLocal8Bit(buffer.data());
}

// The callback of a run: records the messages and may answer them.
struct Recorder {
    QList<QPair<UINT, QString>> messages;
    QByteArray selectAtStart; // a path sent with BFFM_SETSELECTIONA at BFFM_INITIALIZED
    int validateAnswer = 0;

    static int callback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data) {
        auto& self = *reinterpret_cast<Recorder*>(data);
        QString text;
        if (message == BFFM_SELCHANGED)
            text = pathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
        else if (message == BFFM_VALIDATEFAILEDA)
            text = QString::fromLocal8Bit(reinterpret_cast<LPCSTR>(lParam));
        self.messages.append({message, text});
        if (message == BFFM_INITIALIZED && !self.selectAtStart.isEmpty())
            SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(self.selectAtStart.constData()));
        return message == BFFM_VALIDATEFAILEDA ? self.validateAnswer : 0;
    }
    int count(UINT message) const {
        return int(std::count_if(messages.cbegin(), messages.cend(),
                                 [message](const auto& m) { return m.first == message; }));
    }
    QString lastSelection() const {
        for (auto m = messages.crbegin(); m != messages.crend(); ++m)
            if (m->first == BFFM_SELCHANGED)
                return m->second;
        return QStringLiteral("<none>");
    }
};

struct Outcome {
    bool chosen = false;
    QString path;
    QByteArray name;
};

Outcome browse(UINT flags, Recorder& recorder, PCIDLIST_ABSOLUTE root = nullptr) {
    std::array<char, MAX_PATH> name;
    name.fill('\0');
    name[0] = '?';
    BROWSEINFOA request{};
    request.pidlRoot = root;
    request.pszDisplayName = name.data();
    request.lpszTitle = "Bitte wählen";
    request.ulFlags = flags;
    request.lpfn = &Recorder::callback;
    request.lParam = reinterpret_cast<LPARAM>(&recorder);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&request);
    Outcome outcome{chosen != nullptr, pathOf(chosen), QByteArray(name.data())};
    CoTaskMemFree(chosen);
    return outcome;
}

QStringList childNames(const QTreeWidgetItem* item) {
    QStringList names;
    for (int i = 0; item && i < item->childCount(); ++i)
        names << item->child(i)->text(0);
    return names;
}

} // namespace

class tst_ShellDialog : public QObject {
    Q_OBJECT

private slots:
    void init();

    void specialFolders_data();
    void specialFolders();
    void foreignListsHaveNoPath();
    void handlesDieWithTheirWidgets();
    void setWindowPos_data();
    void setWindowPos();

    void listing_data();
    void listing();
    void keysAndReturnInTheTree();
    void selectionByPath_data();
    void selectionByPath();
    void homeSiblingFolder();
    void desktopHasNoPath_data();
    void desktopHasNoPath();
    void typedPath_data();
    void typedPath();
    void newFolders();
    void hiddenFolders();
    void location_data();
    void location();
    void tildeIsHomeOnlyBeforeASeparator();
    void unusableNames_data();
    void unusableNames();
    void largeFolderKeepsEventsFlowing();
    void places_data();
    void places();
    void readable();
    void rename();

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_root;
};

void tst_ShellDialog::init() {
    m_temp = std::make_unique<QTemporaryDir>();
    m_root = makeFolders(*m_temp);
    QVERIFY(!m_root.isEmpty());
}

void tst_ShellDialog::specialFolders_data() {
    QTest::addColumn<int>("csidl");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("path");

    QTest::newRow("desktop") << CSIDL_DESKTOP << true << QString();
    QTest::newRow("profile, create flag") << (CSIDL_PROFILE | 0x8000) << true << QDir::homePath();
    QTest::newRow("drives") << CSIDL_DRIVES << true << QStringLiteral("/");
    QTest::newRow("windows folder") << 0x0024 << false << QString();
}

void tst_ShellDialog::specialFolders() {
    QFETCH(int, csidl);
    QFETCH(bool, found);
    QFETCH(QString, path);

    PIDLIST_ABSOLUTE list = reinterpret_cast<PIDLIST_ABSOLUTE>(this);
    const HRESULT result = SHGetSpecialFolderLocation(nullptr, csidl, &list);
    const std::unique_ptr<void, void (*)(void*)> release(list, CoTaskMemFree);
    QCOMPARE(SUCCEEDED(result), found);
    QCOMPARE(list != nullptr, found);
    if (found) {
        BOOL hasPath = TRUE;
        QCOMPARE(pathOf(list, &hasPath), path);
        QCOMPARE(hasPath != FALSE, !path.isEmpty());
    }
}

void tst_ShellDialog::foreignListsHaveNoPath() {
    BOOL ok = TRUE;
    QCOMPARE(pathOf(nullptr, &ok), QString());
    QCOMPARE(ok, FALSE);
    const std::array<unsigned char, 12> foreign{10, 0, 'C', ':', '\\', 'x', 0, 0, 0, 0, 0, 0};
    QCOMPARE(pathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(foreign.data()), &ok), QString());
    QCOMPARE(ok, FALSE);
}

void tst_ShellDialog::handlesDieWithTheirWidgets() {
    auto widget = std::make_unique<QWidget>();
    const HWND handle = HwndFromWidget(widget.get());
    QVERIFY(handle);
    QCOMPARE(HwndFromWidget(widget.get()), handle);
    QCOMPARE(WidgetFromHwnd(handle), widget.get());
    QVERIFY(SetWindowTextA(handle, "Titel"));
    QCOMPARE(widget->windowTitle(), QStringLiteral("Titel"));

    widget.reset();
    QCOMPARE(WidgetFromHwnd(handle), nullptr);
    RECT rect{};
    QCOMPARE(SetWindowTextA(handle, "x"), FALSE);
    QCOMPARE(GetWindowRect(handle, &rect), FALSE);
    QCOMPARE(SetWindowPos(handle, nullptr, 1, 1, 1, 1, 0), FALSE);
    QCOMPARE(SendMessageA(handle, BFFM_ENABLEOK, 0, 1), LRESULT(0));

    const auto successor = std::make_unique<QWidget>();
    QVERIFY(HwndFromWidget(successor.get()) != handle);
}

void tst_ShellDialog::setWindowPos_data() {
    QTest::addColumn<UINT>("flags");
    QTest::addColumn<QRect>("expected"); // left, top, width, height of the frame

    QTest::newRow("move") << (SWP_NOSIZE | SWP_NOZORDER) << QRect(30, 40, 200, 150);
    QTest::newRow("size") << (SWP_NOMOVE | SWP_NOZORDER) << QRect(100, 80, 260, 190);
    QTest::newRow("both") << UINT(SWP_NOZORDER) << QRect(30, 40, 260, 190);
    QTest::newRow("neither") << (SWP_NOMOVE | SWP_NOSIZE) << QRect(100, 80, 200, 150);
}

void tst_ShellDialog::setWindowPos() {
    QFETCH(UINT, flags);
    QFETCH(QRect, expected);

    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const HWND handle = HwndFromWidget(&window);
    RECT rect{};
    QVERIFY(SetWindowPos(handle, nullptr, 100, 80, 200, 150, SWP_NOZORDER));
    QVERIFY(SetWindowPos(handle, nullptr, 30, 40, 260, 190, flags));
    const auto frame = [&] {
        GetWindowRect(handle, &rect);
        return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
    };
    QTRY_COMPARE(frame(), expected);
}

void tst_ShellDialog::listing_data() {
    QTest::addColumn<UINT>("flags");
    QTest::addColumn<QStringList>("children");
    QTest::addColumn<bool>("filesOpen"); // a folder holding only files can open

    // "delta" is a symbolic link to Alpha; gamma holds a file.
    QTest::newRow("folders") << BIF_RETURNONLYFSDIRS
                             << QStringList{"Alpha", "beta", "delta", "gamma", "Skins"} << false;
    QTest::newRow("files too") << (BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES)
                               << QStringList{"Alpha", "beta",  "delta",
                                              "gamma", "Skins", "file.txt"}
                               << true;
}

void tst_ShellDialog::listing() {
    QFETCH(UINT, flags);
    QFETCH(QStringList, children);
    QFETCH(bool, filesOpen);
    QVERIFY(QFile::link("Alpha", m_root + "/delta"));
    QFile notes(m_root + "/gamma/notes.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly));

    Recorder recorder;
    recorder.selectAtStart = m_root.toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QTreeWidgetItem* folder = tree(dialog)->currentItem();
        QCOMPARE(currentPath(dialog), m_root);
        folder->setExpanded(true);
        QCOMPARE(childNames(folder), children);
        QCOMPARE(folder->child(0)->childCount(), 1); // Alpha holds a folder: it can open
        QCOMPARE(folder->child(1)->childCount(), 0);
        QCOMPARE(folder->child(2)->childCount(), 1); // so does the link to it
        QCOMPARE(folder->child(3)->childCount(), filesOpen ? 1 : 0);
        tree(dialog)->setCurrentItem(folder->child(children.size() - 1));
        QTest::keyClick(tree(dialog), Qt::Key_Return);
    });
    const Outcome outcome = browse(flags, recorder);
    QCOMPARE(outcome.path, m_root + "/" + children.last());
    QCOMPARE(outcome.name, children.last().toLocal8Bit());
}

void tst_ShellDialog::keysAndReturnInTheTree() {
    Recorder recorder;
    recorder.selectAtStart = (m_root + "/beta").toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Ordner suchen"));
        QCOMPARE(dialog->findChild<QLabel*>("instruction")->text(), QStringLiteral("Bitte wählen"));
        QTreeWidget* folders = tree(dialog);
        QVERIFY(folders->hasFocus());
        QTest::keyClick(folders, Qt::Key_Up);
        QCOMPARE(recorder.lastSelection(), m_root + "/Alpha");
        QTest::keyClick(folders, Qt::Key_Right); // opens Alpha
        QTest::keyClick(folders, Qt::Key_Down);
        QCOMPARE(recorder.lastSelection(), m_root + "/Alpha/inner");
        QTest::keyClick(folders, Qt::Key_Return);
    });
    const Outcome outcome = browse(BIF_RETURNONLYFSDIRS, recorder);
    QCOMPARE(outcome.path, m_root + "/Alpha/inner");
    QCOMPARE(outcome.name, QByteArray("inner"));
    QCOMPARE(recorder.messages.value(1), qMakePair(BFFM_SELCHANGED, m_root + "/beta"));
}

void tst_ShellDialog::selectionByPath_data() {
    QTest::addColumn<QString>("request"); // below the test folder, or absolute with a '/'
    QTest::addColumn<QString>("selected");

    const auto row = [](const char* name, const char* request, const char* selected) {
        QTest::newRow(name) << QString(request) << QString(selected);
    };
    row("folder", "beta", "beta");
    row("trailing separator", "beta/", "beta");
    row("deep, closed", "Alpha/inner", "Alpha/inner");
    row("missing", "nowhere", "");
    row("hidden", ".hidden", ".hidden");
    row("file, folders only", "file.txt", "");
    row("root", "/", "/");
}

void tst_ShellDialog::selectionByPath() {
    QFETCH(QString, request);
    QFETCH(QString, selected);
    const auto full = [this](const QString& path) {
        return path.startsWith('/') || path.isEmpty() ? path : m_root + '/' + path;
    };

    Recorder recorder;
    recorder.selectAtStart = full(request).toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QTreeWidget* folders = tree(dialog);
        QCOMPARE(currentPath(dialog), full(selected));
        const QRect shown = folders->visualItemRect(folders->currentItem());
        QVERIFY(shown.isValid() && folders->viewport()->rect().contains(shown.center()));
        QTest::mouseClick(button(dialog, "okButton"), Qt::LeftButton);
    });
    const Outcome outcome = browse(0, recorder);
    QCOMPARE(recorder.lastSelection(), full(selected));
    QVERIFY(outcome.chosen);
    QCOMPARE(outcome.path, full(selected));
}

// A folder beside the home folder whose name starts with the home folder's is reached
// through "/", not mistaken for a folder inside home.
void tst_ShellDialog::homeSiblingFolder() {
    const QByteArray home = qgetenv("HOME");
    const auto restore = qScopeGuard([&home] { qputenv("HOME", home); });
    QVERIFY(QDir(m_root).mkpath("user") && QDir(m_root).mkpath("user2/skin"));
    qputenv("HOME", QFile::encodeName(m_root + "/user"));

    Recorder recorder;
    recorder.selectAtStart = QFile::encodeName(m_root + "/user2/skin");
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(currentPath(dialog), m_root + "/user2/skin");
        const QTreeWidgetItem* top = tree(dialog)->currentItem();
        while (top->parent() && top->parent()->parent())
            top = top->parent();
        QCOMPARE(top->text(0), QStringLiteral("/"));
        QTest::keyClick(tree(dialog), Qt::Key_Return);
    });
    QCOMPARE(browse(BIF_RETURNONLYFSDIRS, recorder).path, m_root + "/user2/skin");
}

void tst_ShellDialog::desktopHasNoPath_data() {
    QTest::addColumn<UINT>("flags");
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("file-system items only") << BIF_RETURNONLYFSDIRS << false;
    QTest::newRow("any item") << 0u << true;
}

void tst_ShellDialog::desktopHasNoPath() {
    QFETCH(UINT, flags);
    QFETCH(bool, okEnabled);

    Recorder recorder;
    recorder.selectAtStart = m_root.toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        PIDLIST_ABSOLUTE desktop = nullptr;
        QCOMPARE(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop), S_OK);
        SendMessageA(HwndFromWidget(dialog), BFFM_SETSELECTIONA, FALSE,
                     reinterpret_cast<LPARAM>(desktop));
        CoTaskMemFree(desktop);
        QCOMPARE(tree(dialog)->currentItem()->text(0), QStringLiteral("Desktop"));
        QCOMPARE(button(dialog, "okButton")->isEnabled(), okEnabled);
        SendMessageA(HwndFromWidget(dialog), BFFM_ENABLEOK, 0, 1);
        QTest::keyClick(tree(dialog), Qt::Key_Return);
    });
    const Outcome outcome = browse(flags, recorder);
    QCOMPARE(recorder.lastSelection(), QString());
    QVERIFY(outcome.chosen);
    QCOMPARE(outcome.path, QString());
    QCOMPARE(outcome.name, QByteArray("Desktop"));
}

void tst_ShellDialog::typedPath_data() {
    QTest::addColumn<UINT>("flags");
    QTest::addColumn<QString>("typed"); // "@" stands for the test folder
    QTest::addColumn<int>("validateAnswer");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<QString>("result"); // below the test folder; "-" for none
    QTest::addColumn<int>("validateMessages");

    const UINT validating = BIF_EDITBOX | BIF_VALIDATE;
    QTest::newRow("absolute") << validating << "@/gamma" << 0 << false << "gamma" << 0;
    QTest::newRow("relative") << validating << "Alpha/inner" << 0 << false << "Alpha/inner" << 0;
    QTest::newRow("trailing separator") << validating << "@/beta/" << 0 << false << "beta" << 0;
    QTest::newRow("unknown, kept open") << validating << "nirgends" << 1 << true << "-" << 1;
    QTest::newRow("unknown, closed") << validating << "nirgends" << 0 << false << "-" << 1;
    QTest::newRow("unknown, no validation") << BIF_EDITBOX << "nirgends" << 0 << true << "-" << 0;
}

void tst_ShellDialog::typedPath() {
    QFETCH(UINT, flags);
    QFETCH(QString, typed);
    QFETCH(int, validateAnswer);
    QFETCH(bool, staysOpen);
    QFETCH(QString, result);
    QFETCH(int, validateMessages);
    typed.replace('@', m_root);

    Recorder recorder;
    recorder.selectAtStart = m_root.toLocal8Bit();
    recorder.validateAnswer = validateAnswer;
    whenDialogOpens([&](QDialog* dialog) {
        QLineEdit* edit = pathEdit(dialog);
        QCOMPARE(edit->text(), QFileInfo(m_root).fileName());
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dialog->isVisible(), staysOpen);
        if (staysOpen)
            QTest::keyClick(edit, Qt::Key_Escape);
    });
    const Outcome outcome = browse(flags, recorder);
    QCOMPARE(recorder.count(BFFM_VALIDATEFAILEDA), validateMessages);
    if (validateMessages)
        QCOMPARE(recorder.messages.last(), qMakePair(BFFM_VALIDATEFAILEDA, typed));
    QCOMPARE(outcome.chosen, result != "-");
    if (outcome.chosen)
        QCOMPARE(outcome.path, m_root + '/' + result);
}

void tst_ShellDialog::newFolders() {
    Recorder recorder;
    const QString beta = m_root + "/beta";
    recorder.selectAtStart = beta.toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QTreeWidget* folders = tree(dialog);
        QPushButton* create = button(dialog, "newFolderButton");
        QTest::mouseClick(create, Qt::LeftButton);
        QCOMPARE(currentPath(dialog), beta + "/Neuer Ordner");
        QVERIFY(QFileInfo(beta + "/Neuer Ordner").isDir());
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // keeps the name
        QVERIFY(dialog->isVisible());

        QTest::keyClick(folders, Qt::Key_Up);
        QCOMPARE(currentPath(dialog), beta);
        QTest::mouseClick(create, Qt::LeftButton);
        QCOMPARE(currentPath(dialog), beta + "/Neuer Ordner (2)");
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClicks(editor, "Fertig");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QTRY_COMPARE(recorder.lastSelection(), beta + "/Fertig");
        QTRY_VERIFY(folders->hasFocus());
        QTest::keyClick(folders, Qt::Key_Return);
    });
    const Outcome outcome = browse(BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE, recorder);
    QCOMPARE(outcome.path, beta + "/Fertig");
    QCOMPARE(outcome.name, QByteArray("Fertig"));
    QCOMPARE(QDir(beta).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList({"Fertig", "Neuer Ordner"}));
}

// The initial folder lies inside a hidden one: it is selected and can be chosen at once;
// Ctrl+H shows the other hidden folders and hides them again.
void tst_ShellDialog::hiddenFolders() {
    const QString deep = m_root + "/.hidden/skins/deep";
    QVERIFY(QDir().mkpath(deep) && QDir(m_root).mkpath(".other"));
    Recorder recorder;
    recorder.selectAtStart = deep.toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(currentPath(dialog), deep);
        QVERIFY(button(dialog, "okButton")->isEnabled());
        QTreeWidget* folders = tree(dialog);
        QTreeWidgetItem* root = folders->currentItem()->parent()->parent()->parent();
        QCOMPARE(childNames(root), QStringList({".hidden", "Alpha", "beta", "gamma", "Skins"}));
        QTest::keyClick(folders, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(childNames(root),
                 QStringList({".hidden", ".other", "Alpha", "beta", "gamma", "Skins"}));
        QTest::keyClick(folders, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(childNames(root), QStringList({".hidden", "Alpha", "beta", "gamma", "Skins"}));
        QCOMPARE(currentPath(dialog), deep);
        QVERIFY(QDir(m_root).mkdir("delta")); // changes on disk show
        QTRY_COMPARE(childNames(root),
                     QStringList({".hidden", "Alpha", "beta", "delta", "gamma", "Skins"}));
        QTest::keyClick(folders, Qt::Key_Return);
    });
    QCOMPARE(browse(BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE, recorder).path, deep);
}

void tst_ShellDialog::location_data() {
    QTest::addColumn<QString>("opener"); // "ctrl+l", or the key typed into the tree
    QTest::addColumn<QString>("typed");  // "@" stands for the test folder
    QTest::addColumn<QString>("result"); // below the test folder; "-": stays open, then cancelled
    QTest::addColumn<QString>("note");   // what the status line says after Return

    const auto row = [](const char* name, const char* opener, const char* typed, const char* result,
                        const char* note) {
        QTest::newRow(name) << opener << QString::fromUtf8(typed) << result
                            << QString::fromUtf8(note);
    };
    row("absolute", "ctrl+l", "@/gamma", "gamma", "");
    row("typed in the tree", "/", "@/Alpha/inner", "Alpha/inner", "");
    row("hidden, trailing separator", "ctrl+l", "@/.hidden/", ".hidden", "");
    row("relative", "ctrl+l", "beta", "beta", "");
    row("part of a name", "ctrl+l", "@/gamm", "-", "„@/gamm“ ist kein Ordner.");
    row("part of a name at home", "~", "~/gamm", "-", "„~/gamm“ ist kein Ordner.");
    row("part of a hidden name", "ctrl+l", "@/.hid", "-", "„@/.hid“ ist kein Ordner.");
    row("a file", "/", "@/file.txt", "-", "„@/file.txt“ ist kein Ordner.");
}

void tst_ShellDialog::location() {
    QFETCH(QString, opener);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(QString, note);
    typed.replace('@', m_root);
    note.replace('@', m_root);
    const QByteArray home = qgetenv("HOME");
    const auto restore = qScopeGuard([&home] { qputenv("HOME", home); });
    qputenv("HOME", QFile::encodeName(m_root));

    Recorder recorder;
    recorder.selectAtStart = m_root.toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        auto* field = dialog->findChild<QLineEdit*>("locationEdit");
        QVERIFY(field->isHidden());
        if (opener == "ctrl+l") {
            QTest::keyClick(tree(dialog), Qt::Key_L, Qt::ControlModifier);
            QCOMPARE(field->text(), m_root);
            QCOMPARE(field->selectedText(), m_root);
            QTest::keyClicks(field, typed); // replaces the selection
        } else {
            QTest::keyClicks(tree(dialog), opener);
            QCOMPARE(field->text(), opener);
            QTest::keyClicks(field, typed.mid(1));
        }
        QVERIFY(field->isVisible() && field->hasFocus());
        QCOMPARE(field->text(), typed);
        if (typed.endsWith("gamm") ||
            typed.endsWith(".hid")) // a name begun: the list offers the rest
            QTRY_VERIFY(field->completer()->popup()->isVisible());
        QTest::keyClick(field, Qt::Key_Return);
        if (result != "-")
            return;
        QVERIFY(dialog->isVisible());
        QCOMPARE(status(dialog)->text(), note);
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(field->isHidden() && dialog->isVisible());
        QTest::keyClick(tree(dialog), Qt::Key_Escape);
    });
    const Outcome outcome = browse(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT, recorder);
    QCOMPARE(outcome.chosen, result != "-");
    if (outcome.chosen) {
        QCOMPARE(outcome.path, m_root + '/' + result);
        QCOMPARE(recorder.lastSelection(), outcome.path);
    }
}

void tst_ShellDialog::tildeIsHomeOnlyBeforeASeparator() {
    const QByteArray home = qgetenv("HOME");
    const auto restore = qScopeGuard([&home] { qputenv("HOME", home); });
    qputenv("HOME", QFile::encodeName(m_root));
    platform::LocationField field(false);
    field.show();
    field.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&field));
    field.setFocus();
    QTest::keyClicks(&field, "~/gamm");
    QTRY_VERIFY(field.completer()->popup()->isVisible()); // the home folder has been read
    field.clear();
    QTest::keyClicks(&field, "~gamm"); // a user's home in a shell, not a name in ours
    QCOMPARE(field.completer()->completionCount(), 0);
    QVERIFY(!field.completer()->popup()->isVisible());
}

void tst_ShellDialog::unusableNames_data() {
    QTest::addColumn<QByteArray>("parent"); // below the test folder
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("note");

    QTest::newRow("not UTF-8") << QByteArray("beta") << QByteArray("caf\xe9")
                               << QString::fromUtf8("Der Name „caf\xef\xbf\xbd“ ist kein gültiger "
                                                    "Text; der Ordner kann nicht geöffnet werden.");
    QTest::newRow("path too long") << QByteArray("<deep>") << QByteArray(240, 'x')
                                   << "Der Pfad dieses Ordners ist länger als 4095 Bytes; er kann "
                                      "nicht geöffnet werden.";
}

// Names the program cannot open by are listed, shown disabled and refused with a reason.
void tst_ShellDialog::unusableNames() {
    QFETCH(QByteArray, parent);
    QFETCH(QByteArray, name);
    QFETCH(QString, note);
    if (parent == "<deep>") { // a folder whose own path fits, but not with the new name
        parent = "beta";
        while (m_root.size() + parent.size() < 4000)
            parent += '/' + QByteArray(200, 'd');
    }
    const QByteArray folder = QFile::encodeName(m_root) + '/' + parent;
    QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(fd >= 0 && ::mkdirat(fd, name.constData(), 0755) == 0);
    const auto cleanup = qScopeGuard([fd, &name] {
        ::unlinkat(fd, name.constData(), AT_REMOVEDIR);
        ::close(fd);
    });

    Recorder recorder;
    recorder.selectAtStart = folder;
    whenDialogOpens([&](QDialog* dialog) {
        QTreeWidget* folders = tree(dialog);
        QTest::keyClick(folders, Qt::Key_Right);
        QTest::keyClick(folders, Qt::Key_Down);
        QCOMPARE(folders->currentItem()->text(0), QString::fromLocal8Bit(name));
        QVERIFY(!button(dialog, "okButton")->isEnabled());
        QCOMPARE(status(dialog)->text(), note);
        QTest::keyClick(folders, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QTest::keyClick(folders, Qt::Key_Up); // a usable folder again
        QCOMPARE(status(dialog)->text(), QString());
        QVERIFY(button(dialog, "okButton")->isEnabled());
        dialog->reject();
    });
    QVERIFY(!browse(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT, recorder).chosen);
}

// A folder of 5000 folders is read in the background: a timer keeps ticking meanwhile.
void tst_ShellDialog::largeFolderKeepsEventsFlowing() {
    // In memory where there is room for it: 5000 folders take seconds to remove from a disk.
    const QTemporaryDir memory(QFileInfo("/dev/shm").isWritable() ? "/dev/shm/tessel-XXXXXX"
                                                                  : m_root + "/large-XXXXXX");
    QVERIFY(memory.isValid());
    const QString large = QDir::cleanPath(memory.path());
    for (int i = 0; i < 5000; ++i)
        QVERIFY(QDir(large).mkdir(QString::number(i)));
    QDir(large + "/17").mkdir("inner");

    Recorder recorder;
    recorder.selectAtStart = large.toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QTreeWidgetItem* item = tree(dialog)->currentItem();
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - last);
            last = clock.elapsed();
        });
        clock.start();
        ticker.start(5);
        // Read in the background however fast the disk is.
        qobject_cast<platform::FolderTree*>(tree(dialog))->setExpandBudget({});
        QTest::keyClick(tree(dialog), Qt::Key_Right);
        QCOMPARE(childNames(item), QStringList("Wird gelesen …"));
        QTRY_COMPARE(item->childCount(), 5000);
        QTest::qWait(20);
        QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
        const QStringList names = childNames(item);
        QCOMPARE(names.first(), QStringLiteral("0"));
        QCOMPARE(item->child(int(names.indexOf("17")))->childCount(), 1); // it can open
        dialog->reject();
    });
    browse(BIF_RETURNONLYFSDIRS, recorder);
}

void tst_ShellDialog::places_data() {
    QTest::addColumn<QList<platform::Volume>>("volumes");
    QTest::addColumn<QStringList>("places"); // "label=path"

    const auto volume = [](const char* root, const char* name, const char* type,
                           bool ready = true) {
        return platform::Volume{root, name, type, ready};
    };
    QTest::newRow("system mounts left out")
        << QList<platform::Volume>{volume("/", "", "ext4"),
                                   volume("/proc", "", "proc"),
                                   volume("/sys", "", "sysfs"),
                                   volume("/run/user/1000", "", "tmpfs"),
                                   volume("/home/anna/.cache", "", "tmpfs"),
                                   volume("/mnt/tools/env/python", "", "tmpfs"),
                                   volume("/snap/core/1", "", "squashfs"),
                                   volume("/boot/efi", "", "vfat"),
                                   volume("/home", "", "ext4"),
                                   volume("/home/anna", "", "ext4"),
                                   volume("/mnt2/x", "", "ext4")}
        << QStringList{};
    QTest::newRow("removable and user volumes")
        << QList<platform::Volume>{volume("/media/anna/NAVI", "NAVI", "vfat"),
                                   volume("/run/media/anna/4A2B-1C3D", "", "exfat"),
                                   volume("/mnt/backup/", "Sicherung", "ext4"),
                                   volume("/home/anna/remote", "", "fuse.sshfs"),
                                   volume("/media/anna/gone", "", "vfat", false),
                                   volume("/media/KARTE", "", "tmpfs"),
                                   volume("/media/anna/STICK", "", "tmpfs")}
        << QStringList{"4A2B-1C3D=/run/media/anna/4A2B-1C3D",
                       "KARTE=/media/KARTE",
                       "NAVI=/media/anna/NAVI",
                       "remote=/home/anna/remote",
                       "Sicherung=/mnt/backup",
                       "STICK=/media/anna/STICK"};
}

void tst_ShellDialog::places() {
    QFETCH(QList<platform::Volume>, volumes);
    QFETCH(QStringList, places);

    const QList<platform::Place> found = platform::userPlaces(volumes, "/home/anna");
    QStringList shown;
    for (const platform::Place& place : found)
        shown << place.label + '=' + place.path;
    QCOMPARE(shown, places);

    // The tree lists them after the home folder and "/", and finds paths through them.
    platform::FolderTree folders(false);
    folders.setDesktopRoot({{m_root, "Karte"}});
    QCOMPARE(childNames(folders.topLevelItem(0)),
             QStringList({"Persönlicher Ordner", "/", "Karte"}));
    QCOMPARE(folders.findPath(m_root + "/beta")->parent()->text(0), QStringLiteral("Karte"));
}

// Long names scroll sideways, every item names its path, the status line stays one line.
void tst_ShellDialog::readable() {
    const QString longName = QString(200, 'w');
    QVERIFY(QDir(m_root).mkdir(longName));
    Recorder recorder;
    recorder.selectAtStart = (m_root + '/' + longName).toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QTreeWidget* folders = tree(dialog);
        QCOMPARE(folders->currentItem()->toolTip(0), m_root + '/' + longName);
        QTRY_VERIFY(folders->horizontalScrollBar()->maximum() > 0);
        const QString text = QString(300, 'z') + "\r\nzweite Zeile";
        const QByteArray bytes = text.toLocal8Bit();
        const int before = status(dialog)->height();
        SendMessageA(HwndFromWidget(dialog), BFFM_SETSTATUSTEXTA, 0, LPARAM(bytes.constData()));
        QCOMPARE(status(dialog)->text(), text);
        QCOMPARE(status(dialog)->toolTip(), text);
        QTest::qWait(10);
        QCOMPARE(status(dialog)->height(), before);
        QVERIFY(status(dialog)->width() < dialog->width());
        dialog->reject();
    });
    browse(BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE, recorder);
}

void tst_ShellDialog::rename() {
    Recorder recorder;
    recorder.selectAtStart = (m_root + "/gamma").toLocal8Bit();
    whenDialogOpens([&](QDialog* dialog) {
        QVERIFY(button(dialog, "okButton")->isDefault());
        QTreeWidget* folders = tree(dialog);
        QTest::keyClick(folders, Qt::Key_F2);
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, "Delta");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(recorder.lastSelection(), m_root + "/Delta");
        QVERIFY(QFileInfo(m_root + "/Delta").isDir() && !QFileInfo::exists(m_root + "/gamma"));
        QTRY_VERIFY(folders->hasFocus());
        for (const char* name : {"beta", "a/b"}) { // refused, and the status line says why
            QTest::keyClick(folders, Qt::Key_F2);
            QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), name);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_VERIFY(dialog->findChild<QLabel*>("noteText")->text().contains(name));
            QCOMPARE(folders->currentItem()->text(0), QStringLiteral("Delta"));
            QTRY_VERIFY(folders->hasFocus());
        }
        QVERIFY(QDir(m_root).rmdir("Delta")); // gone from disk: the selection moves up
        QTRY_COMPARE(recorder.lastSelection(), m_root);
        QCOMPARE(currentPath(dialog), m_root);
        dialog->reject();
    });
    QVERIFY(!browse(BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE, recorder).chosen);
}

QTEST_MAIN(tst_ShellDialog)
#include "tst_shelldialog.moc"
