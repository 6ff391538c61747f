<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Check</name>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>view %1</source>
        <translation>Ansicht %1</translation>
    </message>
    <message>
        <source>views %1</source>
        <translation>Ansichten %1</translation>
    </message>
    <message>
        <source>%1 px beyond the left edge</source>
        <translation>%1 px über den linken Rand hinaus</translation>
    </message>
    <message>
        <source>%1 px beyond the top edge</source>
        <translation>%1 px über den oberen Rand hinaus</translation>
    </message>
    <message>
        <source>%1 px beyond the right edge</source>
        <translation>%1 px über den rechten Rand hinaus</translation>
    </message>
    <message>
        <source>%1 px beyond the bottom edge</source>
        <translation>%1 px über den unteren Rand hinaus</translation>
    </message>
    <message>
        <source>file cannot be read</source>
        <translation>Datei nicht lesbar</translation>
    </message>
    <message>
        <source>file is missing</source>
        <translation>Datei fehlt</translation>
    </message>
    <message>
        <source>the file starts with a UTF-8 byte-order mark; the editor skips it, other programs may not</source>
        <translation>die Datei beginnt mit einer UTF-8-Bytereihenfolgemarke; der Editor überspringt sie, andere Programme vielleicht nicht</translation>
    </message>
    <message>
        <source>mixed line endings: this line ends with %1, line %2 with %3</source>
        <translation>gemischte Zeilenenden: diese Zeile endet mit %1, Zeile %2 mit %3</translation>
    </message>
    <message>
        <source>section %1 missing; the editor uses its defaults</source>
        <translation>Abschnitt %1 fehlt; der Editor nimmt die Vorgabewerte</translation>
    </message>
    <message>
        <source>section %1 given again; the one in line %2 counts, this one is ignored</source>
        <translation>Abschnitt %1 noch einmal; der in Zeile %2 gilt, dieser wird übergangen</translation>
    </message>
    <message>
        <source>%1 x=%2 is not used; the save writes x=0</source>
        <translation>%1 x=%2 wird nicht benutzt; das Speichern schreibt x=0</translation>
    </message>
    <message>
        <source>%1 cy=%2; the save writes cy=60 and y=%3, keeping the bottom edge</source>
        <translation>%1 cy=%2; das Speichern schreibt cy=60 und y=%3, die Unterkante bleibt</translation>
    </message>
    <message>
        <source>%1 has no key %2; the editor uses %2=%3</source>
        <translation>%1 hat keinen Schlüssel %2; der Editor nimmt %2=%3</translation>
    </message>
    <message>
        <source>%1 %2 given again; line %3 counts, this one is ignored</source>
        <translation>%1 %2 noch einmal; Zeile %3 gilt, diese wird übergangen</translation>
    </message>
    <message>
        <source>%1 the value of %2 has leading blanks; the editor drops them</source>
        <translation>%1 der Wert von %2 beginnt mit Leerzeichen; der Editor lässt sie weg</translation>
    </message>
    <message>
        <source>%1 has no value</source>
        <translation>%1 hat keinen Wert</translation>
    </message>
    <message>
        <source>%1=%2 is not a number</source>
        <translation>%1=%2 ist keine Zahl</translation>
    </message>
    <message>
        <source>%1 %2=%3 is out of range with the info bar on; %4</source>
        <translation>%1 %2=%3 liegt außerhalb des Wertebereichs bei eingeschalteter Infobar; %4</translation>
    </message>
    <message>
        <source>%1 %2=%3 is out of range; %4</source>
        <translation>%1 %2=%3 liegt außerhalb des Wertebereichs; %4</translation>
    </message>
    <message>
        <source>%1 has a width of 0 or less (%2=%3)</source>
        <translation>%1 hat eine Breite von 0 oder weniger (%2=%3)</translation>
    </message>
    <message>
        <source>%1 has a height of 0 or less (%2=%3)</source>
        <translation>%1 hat eine Höhe von 0 oder weniger (%2=%3)</translation>
    </message>
    <message>
        <source>the editor counts it as 0</source>
        <translation>der Editor rechnet mit 0</translation>
    </message>
    <message>
        <source>the editor takes 0 as the info bar&apos;s height and gives the element its starting height</source>
        <translation>der Editor nimmt 0 als Höhe der Infobar und gibt dem Element seine Anfangshöhe</translation>
    </message>
    <message>
        <source>the editor puts the element at its starting place</source>
        <translation>der Editor setzt das Element an seinen Anfangsplatz</translation>
    </message>
    <message>
        <source>the editor gives the element its starting width</source>
        <translation>der Editor gibt dem Element seine Anfangsbreite</translation>
    </message>
    <message>
        <source>the editor gives the element its starting height</source>
        <translation>der Editor gibt dem Element seine Anfangshöhe</translation>
    </message>
    <message>
        <source>with the info bar on</source>
        <translation>bei eingeschalteter Infobar</translation>
    </message>
    <message>
        <source>with the info bar off</source>
        <translation>bei ausgeschalteter Infobar</translation>
    </message>
    <message>
        <source>with the info bar on and off</source>
        <translation>bei ein- und ausgeschalteter Infobar</translation>
    </message>
    <message>
        <source>[%1] lies wholly outside the 240 x 320 screen in %2 %3: %4</source>
        <translation>[%1] liegt ganz außerhalb des Bildschirms 240 x 320 in %2 %3: %4</translation>
    </message>
    <message>
        <source>[%1] lies partly outside the 240 x 320 screen in %2 %3: %4</source>
        <translation>[%1] liegt teilweise außerhalb des Bildschirms 240 x 320 in %2 %3: %4</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>%1 error</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>%1 warning</source>
        <translation>%1 Warnung</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 Warnungen</translation>
    </message>
    <message>
        <source>no such folder</source>
        <translation>Ordner nicht gefunden</translation>
    </message>
    <message>
        <source>no folder</source>
        <translation>kein Ordner</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>kann nicht geöffnet werden</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>is no regular file</source>
        <translation>ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>is the skin&apos;s layout file %1</source>
        <translation>ist die Layoutdatei %1 des Skins</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>das Bild ließ sich nicht kodieren</translation>
    </message>
    <message>
        <source>the file cannot be replaced</source>
        <translation>die Datei kann nicht ersetzt werden</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>die Datei ließ sich nicht schreiben</translation>
    </message>
    <message>
        <source>unknown picture format; the name must end in .png or .bmp</source>
        <translation>unbekanntes Bildformat; der Name muss auf .png oder .bmp enden</translation>
    </message>
    <message>
        <source>it is left alone</source>
        <translation>sie bleibt unberührt</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Check the layout files of the skin in FOLDER and list each mistake as FILE:LINE: error|warning: TEXT. Exit status 1 when there are errors.</source>
        <translation>Die Layoutdateien des Skins in ORDNER prüfen und jedes Problem als DATEI:ZEILE: Fehler|Warnung: TEXT auflisten. Rückgabewert 1, wenn es Fehler gibt.</translation>
    </message>
    <message>
        <source>Draw a view of the skin in FOLDER as the canvas shows it, into a PNG or BMP file; needs --view and -o. What --check finds in the skin goes to standard error.</source>
        <translation>Eine Ansicht des Skins in ORDNER so, wie die Zeichenfläche sie zeigt, in eine PNG- oder BMP-Datei zeichnen; braucht --view und -o. Was --check im Skin findet, geht in die Standardfehlerausgabe.</translation>
    </message>
    <message>
        <source>With --render: the view, 1, 2 or 3; all writes FILE-1.png, FILE-2.png and FILE-3.png (or .bmp).</source>
        <translation>Mit --render: die Ansicht, 1, 2 oder 3; all schreibt DATEI-1.png, DATEI-2.png und DATEI-3.png (oder .bmp).</translation>
    </message>
    <message>
        <source>With --render: the info bar switched on or off (default on).</source>
        <translation>Mit --render: die Infobar ein- oder ausgeschaltet (Vorgabe on).</translation>
    </message>
    <message>
        <source>With --render: K x K picture pixels per screen pixel, 1 to 8 (default 1).</source>
        <translation>Mit --render: K x K Bildpixel je Bildschirmpixel, 1 bis 8 (Vorgabe 1).</translation>
    </message>
    <message>
        <source>With --render: when the skin has an error, write nothing and end with exit status 1.</source>
        <translation>Mit --render: wenn der Skin einen Fehler hat, nichts schreiben und mit Rückgabewert 1 enden.</translation>
    </message>
    <message>
        <source>With --render: the picture file to write; its ending .png or .bmp sets the format.</source>
        <translation>Mit --render: die zu schreibende Bilddatei; ihre Endung .png oder .bmp bestimmt das Format.</translation>
    </message>
    <message>
        <source>Tessel edits the screen layout of a navigation device&apos;s map view,
the files mapviewlt.ini and defaultlt.ini of a skin folder.</source>
        <translation>Tessel bearbeitet den Bildschirmaufbau der Kartenansicht eines Navigationsgeräts,
die Dateien mapviewlt.ini und defaultlt.ini eines Skin-Ordners.</translation>
    </message>
    <message>
        <source>The skin folder to open in the editor.</source>
        <translation>Der Skin-Ordner, den der Editor öffnen soll.</translation>
    </message>
    <message>
        <source>--render needs --view 1, 2, 3 or all</source>
        <translation>--render braucht --view 1, 2, 3 oder all</translation>
    </message>
    <message>
        <source>unknown view &apos;%1&apos;: use 1, 2, 3 or all</source>
        <translation>unbekannte Ansicht &apos;%1&apos;: 1, 2, 3 oder all</translation>
    </message>
    <message>
        <source>--infobar takes on or off, not &apos;%1&apos;</source>
        <translation>--infobar nimmt on oder off, nicht &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--scale takes a whole number from 1 to %1, not &apos;%2&apos;</source>
        <translation>--scale nimmt eine ganze Zahl von 1 bis %1, nicht &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--render needs -o FILE</source>
        <translation>--render braucht -o DATEI</translation>
    </message>
    <message>
        <source>--check and --render go separately</source>
        <translation>--check und --render gehen nur getrennt</translation>
    </message>
    <message>
        <source>%1 belongs to --render</source>
        <translation>%1 gehört zu --render</translation>
    </message>
    <message>
        <source>one folder at most, not %1</source>
        <translation>höchstens ein Ordner, nicht %1</translation>
    </message>
    <message>
        <source>the folder is empty</source>
        <translation>der Ordnername ist leer</translation>
    </message>
    <message>
        <source>Usage: tessel [FOLDER]
       tessel --check FOLDER
       tessel --render FOLDER --view N|all [--infobar on|off] [--scale K] [--strict] -o FILE
</source>
        <translation>Aufruf: tessel [ORDNER]
        tessel --check ORDNER
        tessel --render ORDNER --view N|all [--infobar on|off] [--scale K] [--strict] -o DATEI
</translation>
    </message>
    <message>
        <source>no display found. Start it under X, for example: xvfb-run -s &apos;-screen 0 1024x768x24&apos; tessel</source>
        <translation>keine Anzeige gefunden. Starten Sie es unter X, zum Beispiel: xvfb-run -s &apos;-screen 0 1024x768x24&apos; tessel</translation>
    </message>
    <message>
        <source>FOLDER</source>
        <translation>ORDNER</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
</context>
</TS>
