#include "extras/menus/keysheet.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace menus {

namespace {

const QString kSheetName = QStringLiteral("keySheet");

QDialog* buildSheet(QWidget& window) {
    auto* sheet = new QDialog(&window); // owned by the window
    sheet->setObjectName(kSheetName);
    sheet->setWindowTitle(QStringLiteral("Tastenkürzel"));
    auto* table = new QTableWidget(int(keyRows().size()), 2, sheet);
    table->setObjectName(QStringLiteral("keyTable"));
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Taste oder Maus"), QStringLiteral("Wirkung")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(true);
    table->setAccessibleName(QStringLiteral("Tasten und Mausaktionen"));
    int row = 0;
    for (const KeyRow& r : keyRows()) {
        table->setItem(row, 0, new QTableWidgetItem(keyText(r)));
        table->setItem(row, 1, new QTableWidgetItem(r.effect));
        ++row;
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    // The rows follow the wrapped texts whatever the sheet's width.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, sheet);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Schließen"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, sheet, &QDialog::reject);
    auto* layout = new QVBoxLayout(sheet);
    layout->addWidget(table);
    layout->addWidget(buttons);
    sheet->resize(760, 600);
    return sheet;
}

} // namespace

std::span<const KeyRow> keyRows() {
    // The same keys as the README's table, in its order.
    static const KeyRow rows[] = {
        {{},
         QStringLiteral("Klick auf ein Element"),
         QStringLiteral("macht es zum aktiven Element")},
        {{}, QStringLiteral("Ziehen im Inneren eines Elements"), QStringLiteral("verschiebt es")},
        {{},
         QStringLiteral("Ziehen bis 3 Pixel an einer Kante oder Ecke"),
         QStringLiteral("ändert seine Größe")},
        {{},
         QStringLiteral("Zeiger ruht auf einem Element"),
         QStringLiteral("ein Tipp mit seinem Namen und X, Y, CX, CY")},
        {{},
         QStringLiteral("Pfeiltasten"),
         QStringLiteral("schieben das aktive Element (und die übrigen ausgewählten) um ein Pixel, "
                        "wie die Pfeilknöpfe")},
        {{},
         QStringLiteral("Strg+Klick auf ein Element"),
         QStringLiteral("nimmt es in die Auswahl auf oder aus ihr heraus")},
        {{},
         QStringLiteral("Ziehen auf der Karte außerhalb der Elemente"),
         QStringLiteral("wählt die Elemente, die das Band berührt (mit Umschalt: dazu)")},
        {{},
         QStringLiteral("rechte Maustaste auf der Karte"),
         QStringLiteral("Kontextmenü: ausrichten, gleiche Breite oder Höhe, verteilen, Einrasten, "
                        "die beiden Listen")},
        {{},
         QStringLiteral("Alt beim Ziehen gehalten"),
         QStringLiteral("kein Einrasten: das Element folgt dem Zeiger genau")},
        {{QStringLiteral("Alt+A"), QStringLiteral("Alt+D")},
         {},
         QStringLiteral("linke / rechte Kanten der Auswahl am aktiven Element ausrichten")},
        {{QStringLiteral("Alt+W"), QStringLiteral("Alt+S")},
         {},
         QStringLiteral("obere / untere Kanten am aktiven Element ausrichten")},
        {{QStringLiteral("Alt+H"), QStringLiteral("Alt+V")},
         {},
         QStringLiteral("horizontal / vertikal auf das aktive Element zentrieren")},
        {{QStringLiteral("Alt+Shift+H"), QStringLiteral("Alt+Shift+V")},
         {},
         QStringLiteral("drei oder mehr horizontal / vertikal mit gleichen Abständen verteilen")},
        {{QStringLiteral("Ctrl+A")},
         {},
         QStringLiteral("alle Elemente der Ansicht auswählen (Alles auswählen); in einem Feld "
                        "dessen ganzen Text")},
        {{QStringLiteral("Ctrl+Z")},
         {},
         QStringLiteral("macht die letzte Änderung des Layouts rückgängig, auch in einem Feld")},
        {{QStringLiteral("Ctrl+Shift+Z"), QStringLiteral("Ctrl+Y")},
         {},
         QStringLiteral("stellt sie wieder her (Wiederholen)")},
        {{QStringLiteral("Ctrl+Tab"), QStringLiteral("Ctrl+Shift+Tab")},
         {},
         QStringLiteral("nächstes / voriges Element der Ansicht wird das aktive (eine vergrößerte "
                        "Arbeitsfläche blättert zu ihm)")},
        {{QStringLiteral("Ctrl+S")}, {}, QStringLiteral("speichert (Speichern)")},
        {{QStringLiteral("Ctrl+O")}, {}, QStringLiteral("wählt einen Skin-Ordner (Laden)")},
        {{QStringLiteral("Ctrl+W"), QStringLiteral("Ctrl+Q")},
         {},
         QStringLiteral("schließt das Fenster (fragt vorher nach ungespeicherten Änderungen)")},
        {{QStringLiteral("Tab"), QStringLiteral("Shift+Tab")},
         {},
         QStringLiteral("bewegen den Tastaturfokus zwischen den Bedienelementen und der "
                        "Arbeitsfläche")},
        {{},
         QStringLiteral("Pfeiltasten mit dem Fokus auf der Arbeitsfläche"),
         QStringLiteral("schieben das aktive Element; die Arbeitsfläche zeigt einen Rahmen in der "
                        "Hervorhebungsfarbe")},
        {{QStringLiteral("F6")},
         {},
         QStringLiteral("öffnet die Elementliste mit dem Fokus darin; F6 oder Esc schließt sie")},
        {{QStringLiteral("F7")}, {}, QStringLiteral("öffnet oder schließt die Problemliste")},
        {{QStringLiteral("F8")}, {}, QStringLiteral("schaltet das Einrasten aus und ein")},
        {{},
         QStringLiteral("Rechtsklick auf die freie Fensterfläche"),
         QStringLiteral("ein Menü mit beiden Listen")},
        {{QStringLiteral("Ctrl++"), QStringLiteral("Ctrl+="), QStringLiteral("Ctrl+-")},
         {},
         QStringLiteral("Arbeitsfläche vergrößern / verkleinern: 100, 200, 300, 400, 600, 800 %; "
                        "das aktive Element bleibt im Blick")},
        {{},
         QStringLiteral("Strg+Mausrad über der Arbeitsfläche"),
         QStringLiteral(
             "ebenso, das Pixel unter dem Zeiger bleibt stehen (das Fenster wandert mit, "
             "solange es wächst)")},
        {{},
         QStringLiteral("Ziehen an einem Griff des vergrößerten Rahmens"),
         QStringLiteral("ändert die Größe des aktiven Elements wie an seiner Kante oder Ecke")},
        {{QStringLiteral("Ctrl+0")}, {}, QStringLiteral("zurück auf 100 %")},
        {{QStringLiteral("Ctrl+1")},
         {},
         QStringLiteral("Ganzer Bildschirm: der ganze Gerätebildschirm, so groß er passt")},
        {{QStringLiteral("Ctrl+2")},
         {},
         QStringLiteral("Zoom auf Auswahl: die ausgewählten Elemente, so groß sie passen")},
        {{QStringLiteral("Ctrl+'")},
         {},
         QStringLiteral("schaltet das Pixelraster (ab 400 %) aus und ein")},
        {{},
         QStringLiteral("Mausrad, Umschalt+Mausrad"),
         QStringLiteral("blättert eine vergrößerte Arbeitsfläche auf und ab oder seitwärts")},
        {{QStringLiteral("Alt+T"), QStringLiteral("Alt+B"), QStringLiteral("Alt+N"),
          QStringLiteral("Alt+I")},
         {},
         QStringLiteral("öffnen die Menüs Datei, Bearbeiten, Ansicht und Hilfe")},
        {{QStringLiteral("F1")}, {}, QStringLiteral("diese Übersicht")},
    };
    return rows;
}

QString keyText(const KeyRow& row) {
    if (!row.action.isEmpty())
        return row.action;
    QStringList names;
    for (const QString& keys : row.keys)
        names << QKeySequence::fromString(keys, QKeySequence::PortableText)
                     .toString(QKeySequence::NativeText);
    return names.join(QStringLiteral(", "));
}

QDialog& showKeySheet(QWidget& window) {
    auto* sheet = window.findChild<QDialog*>(kSheetName, Qt::FindDirectChildrenOnly);
    if (!sheet)
        sheet = buildSheet(window);
    sheet->show();
    sheet->raise();
    sheet->activateWindow();
    return *sheet;
}

} // namespace menus
