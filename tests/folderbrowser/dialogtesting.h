// Helpers for tests that drive the modal folder dialog.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

namespace dialogtesting {

// Calls interact with the modal dialog once it is shown. The dialog is cancelled when a check
// in interact failed or when it is still open after a long while, so a broken test ends.
inline void whenDialogOpens(std::function<void(QDialog*)> interact) {
    QTimer::singleShot(0, [interact] {
        const QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTest::qFail("no modal dialog is open", __FILE__, __LINE__);
            return;
        }
        QTimer::singleShot(20000, dialog, [dialog] {
            QTest::qFail("the dialog stayed open", __FILE__, __LINE__);
            dialog->reject();
        });
        if (QTest::qWaitForWindowExposed(dialog))
            interact(dialog);
        if (dialog && dialog->isVisible() && QTest::currentTestFailed())
            dialog->reject();
    });
}

inline QTreeWidget* tree(QDialog* dialog) {
    return dialog->findChild<QTreeWidget*>(QStringLiteral("folderTree"));
}
inline QPushButton* button(QDialog* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QLatin1String(name));
}
inline QLabel* status(QDialog* dialog) {
    return dialog->findChild<QLabel*>(QStringLiteral("statusText"));
}
inline QLineEdit* pathEdit(QDialog* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("pathEdit"));
}
inline QString currentPath(QDialog* dialog) {
    const QTreeWidgetItem* item = tree(dialog)->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QStringLiteral("<none>");
}

// A small folder tree: Alpha/inner, beta, gamma, Skins, .hidden and file.txt. Returns its
// path, or "" when it could not be made.
inline QString makeFolders(const QTemporaryDir& temp) {
    const QDir root(temp.path());
    for (const char* sub : {"Alpha/inner", "beta", "gamma", "Skins", ".hidden"})
        if (!root.mkpath(QLatin1String(sub)))
            return QString();
    QFile file(root.filePath(QStringLiteral("file.txt")));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    return QDir::cleanPath(temp.path());
}

} // namespace dialogtesting
