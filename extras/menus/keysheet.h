// "Tastenkürzel" (F1): one sheet of every key and mouse action of the editor. The
// sheet is built the first time it is asked for.
#pragma once

#include <QString>
#include <QStringList>
#include <span>

class QDialog;
class QWidget;

namespace menus {

struct KeyRow {
    QStringList keys; // portable key names ("Ctrl+Z"), shown as the system names them
    QString action;   // shown instead of the keys: a mouse action or a group of keys
    QString effect;
};

std::span<const KeyRow> keyRows();
// What the sheet shows in its first column for a row.
QString keyText(const KeyRow& row);

// Shows the sheet over the window (building it first if needed) and returns it.
QDialog& showKeySheet(QWidget& window);

} // namespace menus
