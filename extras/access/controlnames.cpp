#include "extras/access/controlnames.h"

#include "app/Global.h"
#include "resources/mainform.h"

#include <QPushButton>

namespace accessible {

namespace {

void describe(QWidget* control, const QString& name, const QString& description) {
    if (!control)
        return;
    if (!name.isEmpty())
        control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

QString modeName(const QString& caption) {
    return QStringLiteral("Schrittmodus: ") + caption;
}

} // namespace

void nameControls(ui::MainForm& w) {
    const QString box = QStringLiteral(" des aktiven Elements; die Eingabe verschiebt es sofort");
    describe(w.txtX, QStringLiteral("X in Gerätepixeln"), QStringLiteral("Linke Kante") + box);
    describe(w.txtY, QStringLiteral("Y in Gerätepixeln"), QStringLiteral("Obere Kante") + box);
    describe(w.txtCX, QStringLiteral("Breite in Gerätepixeln"), QStringLiteral("Breite") + box);
    describe(w.txtCY, QStringLiteral("Höhe in Gerätepixeln"), QStringLiteral("Höhe") + box);

    const QString pad =
        QStringLiteral("Ein Pixel im Schrittmodus: verschieben, vergrößern oder verkleinern");
    describe(w.MoveN, QStringLiteral("Nach oben"), pad + QStringLiteral(" (Pfeil nach oben)"));
    describe(w.MoveO, QStringLiteral("Nach rechts"), pad + QStringLiteral(" (Pfeil nach rechts)"));
    describe(w.MoveS, QStringLiteral("Nach unten"), pad + QStringLiteral(" (Pfeil nach unten)"));
    describe(w.MoveW, QStringLiteral("Nach links"), pad + QStringLiteral(" (Pfeil nach links)"));
    describe(w.BTNpos, modeName(w.BTNpos->Caption()),
             QStringLiteral("Wechselt, was ein Pfeil tut: pos. verschiebt, scale+ vergrößert, "
                            "scale- verkleinert"));
    // The caption is the mode: the name follows it.
    QObject::connect(w.BTNpos, &QPushButton::clicked, w.BTNpos, [button = w.BTNpos] {
        button->setAccessibleName(modeName(button->Caption()));
    });

    describe(w.BTNLoad, QStringLiteral("Laden"),
             QStringLiteral("Einen Skin-Ordner wählen und seine Layoutdateien laden (Strg+O)"));
    describe(w.BTNSave, QStringLiteral("Speichern"),
             QStringLiteral("Alle Elemente in mapviewlt.ini und defaultlt.ini schreiben (Strg+S)"));
    describe(w.ComboAnsicht, QStringLiteral("Kartenansicht"),
             QStringLiteral("Welche der drei Kartenansichten die Arbeitsfläche zeigt"));
    describe(w.ChkInfobar, QStringLiteral("Infobar eingeschaltet"),
             QStringLiteral("Zeigt die Elemente über der Infobar um deren Höhe verschoben, "
                            "wie das Gerät bei eingeschalteter Infobar"));

    describe(w.Label2, {}, QStringLiteral("Überschrift des aktiven Elements"));
    describe(w.LBLiniName, {}, QStringLiteral("Name des aktiven Elements"));
    describe(w.Label3, {}, QStringLiteral("Programm und Version"));
    describe(w.Label4, {}, QStringLiteral("Lizenz"));
    const char* const boxes[] = {"X", "Y", "Breite", "Höhe"};
    ui::TextBox* const fields[] = {w.txtX, w.txtY, w.txtCX, w.txtCY};
    for (std::size_t i = 0; i < w.Label1.size(); ++i) {
        describe(w.Label1[i], {},
                 QStringLiteral("Beschriftung des Felds ") + QString::fromUtf8(boxes[i]));
        w.Label1[i]->setBuddy(fields[i]); // no mnemonic in the caption: the look stays
    }

    describe(w.Image1, QStringLiteral("Straßenkarte"),
             QStringLiteral("Hintergrund des Gerätebildschirms"));
    describe(w.Shape1, QStringLiteral("Gerätebildschirm 240 × 320"),
             QStringLiteral("Rahmen des Bildschirms, auf den sich alle Werte beziehen"));
    describe(w.Selector, QStringLiteral("Auswahlrahmen"),
             QStringLiteral("Rahmen um das aktive Element"));
    for (int i = 0; i < ui::MainForm::kElementCount; ++i)
        describe(w.elementPicture(i), Global::elementName(i),
                 QStringLiteral("Bildschirmelement ") + Global::elementName(i));
}

} // namespace accessible
