// The folder browser class on the real dialog: options, live properties, events, the result
// and the display name.
#include "dialogtesting.h"
#include "folderbrowser/cSHFolder.h"
#include "folderbrowser/likematch.h"
#include "platform/shelldialog.h"

#include <QScreen>
#include <QtTest>
#include <memory>

using namespace dialogtesting;

class tst_SHFolder : public QObject {
    Q_OBJECT

private slots:
    void init();

    void likeMatch_data();
    void likeMatch();
    void flagWords_data();
    void flagWords();
    void mainWindowChoice();
    void secondCancelledRunKeepsName();
    void defaultPathWinsOverPidl();
    void okEnabled();
    void validFolder_data();
    void validFolder();
    void statusText();
    void centring();
    void validationFailed_data();
    void validationFailed();
    void ownerLetsGoDuringTheRun();
    void longPaths_data();
    void longPaths();

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_root;
};

void tst_SHFolder::init() {
    m_temp = std::make_unique<QTemporaryDir>();
    m_root = makeFolders(*m_temp);
    QVERIFY(!m_root.isEmpty());
}

void tst_SHFolder::likeMatch_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");
    const auto row = [](const char* name, const char* text, const char* pattern, bool matches) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(pattern) << matches;
    };
    row("same", "Skins", "Skins", true);
    row("other case", "SKINS", "skins", true);
    row("umlaut, other case", "ÄRGER", "ärger", true);
    row("? one", "abc", "a?c", true);
    row("? not none", "ac", "a?c", false);
    row("* none", "ac", "a*c", true);
    row("* backtracks", "a/b/c/b/x", "*b*x", true);
    row("# digit", "v7", "v#", true);
    row("# letter", "vx", "v#", false);
    row("list", "b", "[abc]", true);
    row("range, other case", "M", "[a-z]", true);
    row("range, miss", "5", "[a-z]", false);
    row("ranges and items", "7", "[a-c0-9_]", true);
    row("negated", "d", "[!abc]", true);
    row("negated, miss", "B", "[!abc]", false);
    row("special in list", "a*b", "a[*]b", true);
    row("special in list, miss", "axb", "a[*]b", false);
    row("dash last", "-", "[a-]", true);
    row("empty list", "ab", "a[]b", true);
    row("unclosed list", "a[b", "a[b", false);
    row("descending range", "b", "[z-a]", false);
    row("path ends with", "/home/u/Skins", "*skins", true);
    row("path goes on", "/home/u/Skins/x", "*skins", false);
}

void tst_SHFolder::likeMatch() {
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    QCOMPARE(folderbrowser::likeMatch(text, pattern), matches);
}

void tst_SHFolder::flagWords_data() {
    QTest::addColumn<bool>("center");
    QTest::addColumn<bool>("statusArea");
    QTest::addColumn<bool>("editBox");
    QTest::addColumn<bool>("includeFiles");
    QTest::addColumn<bool>("newDialog");
    QTest::addColumn<UINT>("flags");

    QTest::newRow("nothing") << false << false << false << false << false << 0x0001u;
    QTest::newRow("main window") << true << true << false << false << true << 0x0045u;
    QTest::newRow("files") << false << false << false << true << false << 0x4001u;
    QTest::newRow("edit box") << false << false << true << false << false << 0x0033u;
    QTest::newRow("everything") << true << true << true << true << true << 0x4077u;
}

void tst_SHFolder::flagWords() {
    QFETCH(bool, center);
    QFETCH(bool, statusArea);
    QFETCH(bool, editBox);
    QFETCH(bool, includeFiles);
    QFETCH(bool, newDialog);
    QFETCH(UINT, flags);

    cSHFolder browser;
    browser.setCenterDialog(center);
    browser.setStatusTextArea(statusArea);
    browser.setEditBox(editBox);
    browser.setIncludeFiles(includeFiles);
    browser.setNewDialog(newDialog);
    whenDialogOpens([&](QDialog* dialog) {
        auto* shell = qobject_cast<platform::ShellDialog*>(dialog);
        QVERIFY(shell);
        QCOMPARE(shell->flags(), flags);
        dialog->reject();
    });
    QCOMPARE(browser.BrowseForFolder(), QString());
}

// As the main window chooses its skin folder: owner window, default title, centred, and the
// status line following the selection.
void tst_SHFolder::mainWindowChoice() {
    QWidget mainWindow;
    mainWindow.setProperty("hWnd", QVariant::fromValue(quintptr(HwndFromWidget(&mainWindow))));
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

    auto browser = std::make_shared<cSHFolder>();
    cSHFolder* const events = browser.get();
    QStringList seen;
    browser->SelectionChanged = [events, &seen](const QString& path) {
        seen << path;
        events->setStatusText(path.isEmpty() ? QString() : path + " wurde gewählt.");
    };
    browser->setCenterDialog(true);
    browser->setStatusTextArea(true);
    browser->setEditBox(false);
    browser->setIncludeFiles(false);
    browser->setNewDialog(true);
    browser->setDefaultPath(m_root + "/beta/");
    browser->setValidFolder(QString());

    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(dialog->parentWidget(), &mainWindow);
        QCOMPARE(browser->hWnd(), HwndFromWidget(dialog));
        QCOMPARE(dialog->findChild<QLabel*>("instruction")->text(),
                 QStringLiteral("Wählen Sie einen Ordner aus"));
        QCOMPARE(status(dialog)->text(), m_root + "/beta wurde gewählt.");
        QTest::keyClick(tree(dialog), Qt::Key_Up);
        QCOMPARE(status(dialog)->text(), m_root + "/Alpha wurde gewählt.");
        QTest::keyClick(tree(dialog), Qt::Key_Home); // the Desktop
        QCOMPARE(status(dialog)->text(), QString());
        QTest::keyClick(tree(dialog), Qt::Key_Escape);
    });
    QCOMPARE(browser->BrowseForFolder(&mainWindow), QString());
    QCOMPARE(browser->hWnd(), nullptr);
    QCOMPARE(seen, QStringList({m_root + "/beta", m_root + "/Alpha", QString()}));
}

void tst_SHFolder::secondCancelledRunKeepsName() {
    cSHFolder browser;
    int initialized = 0;
    browser.Initialized = [&] {
        ++initialized;
        browser.setCaption(QStringLiteral("Skin-Ordner"));
    };
    browser.setDefaultPath(m_root + "/Alpha");
    whenDialogOpens([](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Skin-Ordner"));
        QTest::mouseClick(button(dialog, "okButton"), Qt::LeftButton);
    });
    QCOMPARE(browser.BrowseForFolder(nullptr, QStringLiteral("Wo?")), m_root + "/Alpha");
    QCOMPARE(browser.DisplayName(), QStringLiteral("Alpha"));

    whenDialogOpens([](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Skin-Ordner")); // kept from the last run
        QTest::keyClick(tree(dialog), Qt::Key_Down);
        QTest::mouseClick(button(dialog, "cancelButton"), Qt::LeftButton);
    });
    QCOMPARE(browser.BrowseForFolder(), QString());
    QCOMPARE(browser.DisplayName(), QStringLiteral("Alpha"));
    QCOMPARE(initialized, 2);
}

void tst_SHFolder::defaultPathWinsOverPidl() {
    cSHFolder browser;
    QStringList seen;
    browser.SelectionChanged = [&seen](const QString& path) { seen << path; };
    browser.setDefaultPIDL(CSIDL_PROFILE);
    browser.setDefaultPath(m_root + "/gamma");
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(currentPath(dialog), m_root + "/gamma");
        dialog->reject();
    });
    browser.BrowseForFolder();
    QCOMPARE(seen, QStringList({QDir::homePath(), m_root + "/gamma"}));
}

void tst_SHFolder::okEnabled() {
    cSHFolder browser;
    browser.setOKEnabled(false); // closed: nothing happens, nothing is kept
    browser.setDefaultPath(m_root);
    whenDialogOpens([&](QDialog* dialog) {
        QPushButton* ok = button(dialog, "okButton");
        QVERIFY(ok->isEnabled());
        browser.setOKEnabled(false);
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(tree(dialog), Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        browser.setOKEnabled(true);
        QTest::keyClick(tree(dialog), Qt::Key_Return);
    });
    QCOMPARE(browser.BrowseForFolder(), m_root);
}

void tst_SHFolder::validFolder_data() {
    QTest::addColumn<QString>("validFolder");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("okEnabled");
    const auto row = [](const char* name, const char* validFolder, const char* folder, bool ok) {
        QTest::newRow(name) << QString(validFolder) << QString(folder) << ok;
    };
    row("none", "", "beta", true);
    row("same name", "Skins", "Skins", true);
    row("other case", "sKINS", "Skins", true);
    row("other folder", "skins", "beta", false);
    row("deeper path", "alpha/inner", "Alpha/inner", true);
}

void tst_SHFolder::validFolder() {
    QFETCH(QString, validFolder);
    QFETCH(QString, folder);
    QFETCH(bool, okEnabled);

    cSHFolder browser;
    browser.setValidFolder(validFolder);
    browser.setDefaultPath(m_root + '/' + folder);
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(currentPath(dialog), m_root + '/' + folder);
        QCOMPARE(button(dialog, "okButton")->isEnabled(), okEnabled);
        QTest::keyClick(tree(dialog), Qt::Key_Home); // the Desktop matches nothing
        QVERIFY(!button(dialog, "okButton")->isEnabled());
        dialog->reject();
    });
    browser.BrowseForFolder();
}

void tst_SHFolder::statusText() {
    cSHFolder browser;
    browser.setStatusTextArea(true);
    browser.setStatusText(QStringLiteral("vorher"));
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(status(dialog)->text(), QStringLiteral("vorher"));
        browser.setStatusText(QStringLiteral("offen"));
        QCOMPARE(status(dialog)->text(), QStringLiteral("offen"));
        dialog->reject();
    });
    browser.BrowseForFolder();

    browser.setStatusTextArea(false);
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(status(dialog), nullptr);
        browser.setStatusText(QStringLiteral("ohne Zeile"));
        dialog->reject();
    });
    browser.BrowseForFolder();

    browser.setStatusTextArea(true);
    whenDialogOpens([](QDialog* dialog) {
        QCOMPARE(status(dialog)->text(), QStringLiteral("vorher"));
        dialog->reject();
    });
    browser.BrowseForFolder();
}

void tst_SHFolder::centring() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto centred = [&screen](const QWidget* dialog) {
        const QPoint offset = dialog->frameGeometry().center() - screen.center();
        return qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
    };
    QWidget mainWindow; // whose frame tells how large the dialog's will be
    mainWindow.setProperty("hWnd", QVariant::fromValue(quintptr(HwndFromWidget(&mainWindow))));
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    cSHFolder browser;
    browser.setNewDialog(true);
    browser.setCenterDialog(true);
    whenDialogOpens([&](QDialog* dialog) {
        QVERIFY(centred(dialog));
        dialog->move(5, 5);
        browser.setCenterDialog(false);
        QTRY_COMPARE(dialog->frameGeometry().topLeft(), QPoint(5, 5));
        browser.setCenterDialog(true);
        QTRY_VERIFY(centred(dialog));
        dialog->reject();
    });
    browser.BrowseForFolder(&mainWindow);
}

void tst_SHFolder::validationFailed_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("result");
    QTest::newRow("corrected") << false << "gamma";
    QTest::newRow("given up") << true << "";
}

void tst_SHFolder::validationFailed() {
    QFETCH(bool, cancel);
    QFETCH(QString, result);

    cSHFolder browser;
    QStringList invalid;
    browser.ValidationFailed = [&](const QString& path, bool& Cancel) {
        invalid << path;
        QVERIFY(!Cancel);
        Cancel = cancel;
    };
    browser.setEditBox(true);
    browser.setDefaultPath(m_root);
    whenDialogOpens([&](QDialog* dialog) {
        QLineEdit* edit = pathEdit(dialog);
        edit->setText(QStringLiteral("Grüße")); // keyClicks types ASCII only
        QTest::keyClicks(edit, "/nirgends");
        QTest::keyClick(edit, Qt::Key_Return);
        if (!cancel) {
            QVERIFY(dialog->isVisible());
            edit->clear();
            QTest::keyClicks(edit, result);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    });
    QCOMPARE(browser.BrowseForFolder(), result.isEmpty() ? result : m_root + '/' + result);
    QCOMPARE(invalid, QStringList{QStringLiteral("Grüße/nirgends")});
}

void tst_SHFolder::ownerLetsGoDuringTheRun() {
    auto browser = std::make_shared<cSHFolder>();
    const std::weak_ptr<cSHFolder> watch = browser;
    cSHFolder* const running = browser.get();
    browser->SelectionChanged = [&browser](const QString&) { browser.reset(); };
    browser->setDefaultPath(m_root + "/beta");
    whenDialogOpens([](QDialog* dialog) { QTest::keyClick(tree(dialog), Qt::Key_Return); });
    QCOMPARE(running->BrowseForFolder(), m_root + "/beta");
    QVERIFY(watch.expired());
}

void tst_SHFolder::longPaths_data() {
    QTest::addColumn<int>("length"); // bytes of the chosen folder's path
    QTest::newRow("beyond MAX_PATH") << 300;
    QTest::newRow("near the file system's limit") << 4000;
}

void tst_SHFolder::longPaths() {
    QFETCH(int, length);
    QString path = m_root;
    while (path.size() < length)
        path += '/' + QString(std::min(200, int(length - path.size() - 1)), QChar('d'));
    QVERIFY(QDir().mkpath(path));
    QCOMPARE(path.size(), length);

    cSHFolder browser;
    QString selected;
    browser.SelectionChanged = [&selected](const QString& p) { selected = p; };
    browser.setDefaultPath(path);
    whenDialogOpens([&](QDialog* dialog) {
        QCOMPARE(currentPath(dialog), path);
        QVERIFY(button(dialog, "okButton")->isEnabled());
        QTest::keyClick(tree(dialog), Qt::Key_Return);
    });
    QCOMPARE(browser.BrowseForFolder(), path);
    QCOMPARE(selected, path);
    QCOMPARE(browser.DisplayName(), QFileInfo(path).fileName());
}

QTEST_MAIN(tst_SHFolder)
#include "tst_shfolder.moc"
