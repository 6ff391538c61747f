#include "skincheck/check.h"

#include "app/Global.h"
#include "skincheck/layoutscan.h"
#include "skincheck/rawpath.h"
#include "app/skinlayout.h"
#include "platform/profilefile.h"
#include "platform/profiletext.h"
#include "resources/errors.h"
#include "resources/mainform.h"
#include "resources/numbers.h"
#include "resources/screen.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace cli {

namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
const char* const kKeys[] = {"x", "y", "cx", "cy"};
const char* const kDefaults[] = {"0", "0", "20", "20"};

std::optional<double> number(const QString& text) {
    try {
        return ui::CDbl(text);
    } catch (const ui::RuntimeError&) {
        return std::nullopt;
    }
}

// Whether a position or size in twips fits the 32-bit integers in which an element
// keeps its geometry and from which the save computes the keys; the editor refuses
// a value that does not.
bool fitsTwips(double twips) {
    try {
        static_cast<void>(ui::CLng(twips));
        return true;
    } catch (const ui::RuntimeError&) {
        return false;
    }
}

// Elements keep their geometry in whole twips: 0.6 px, not 0.600000000000023 px.
QString pixels(double value) {
    const double k = ui::kTwipsPerPixel;
    return QString::number(std::round(value * k) / k, 'g', 15);
}

// A finding's text in both languages.
struct Said {
    QString en, de;
};

// "view 1", "views 1 and 3", "views 1, 2 and 3"; in German alike.
Said viewList(const std::vector<int>& views) {
    QStringList names;
    for (int v : views)
        names << QString::number(v + 1);
    if (names.size() == 1)
        return {QStringLiteral("view ") + names.front(),
                QStringLiteral("Ansicht ") + names.front()};
    const QString last = names.takeLast();
    const QString head = names.join(QStringLiteral(", "));
    return {QStringLiteral("views ") + head + QStringLiteral(" and ") + last,
            QStringLiteral("Ansichten ") + head + QStringLiteral(" und ") + last};
}

QString lineEndingName(std::string_view ending) {
    if (ending == "\r\n")
        return QStringLiteral("CR LF");
    return ending == "\r" ? QStringLiteral("CR") : QStringLiteral("LF");
}

struct LayoutFile {
    QString path;                     // as read
    QString shown;                    // as printed
    std::unique_ptr<LayoutScan> scan; // none when missing or unreadable
};

// Where an element's picture lies on the screen, in pixels.
struct Box {
    double left, top, width, height;
};

// How a box sticks out of the screen: no sides when it lies within.
struct Overhang {
    bool wholly = false;
    QString sides;  // "3 px beyond the right edge and 1 px beyond the bottom edge"
    QString seiten; // the same in German
    bool operator==(const Overhang&) const = default;
};

Overhang overhang(const Box& b) {
    QStringList sides;
    QStringList seiten;
    const auto side = [&](double by, const char* edge, const char* rand) {
        if (by <= 0)
            return;
        sides << pixels(by) + QStringLiteral(" px beyond the ") + QLatin1String(edge) +
                     QStringLiteral(" edge");
        seiten << pixels(by).replace(QLatin1Char('.'), QLatin1Char(',')) +
                      QStringLiteral(" px über den ") + QLatin1String(rand) +
                      QStringLiteral(" Rand hinaus");
    };
    side(-b.left, "left", "linken");
    side(-b.top, "top", "oberen");
    side(b.left + b.width - kScreenWidth, "right", "rechten");
    side(b.top + b.height - kScreenHeight, "bottom", "unteren");
    const bool wholly = b.left >= kScreenWidth || b.left + b.width <= 0 || b.top >= kScreenHeight ||
                        b.top + b.height <= 0;
    return {!sides.isEmpty() && wholly, sides.join(QStringLiteral(" and ")),
            seiten.join(QStringLiteral(" und "))};
}

class Checker {
public:
    // The skin is read from `folder` and named `shownFolder` in the findings.
    Checker(const QString& folder, const QString& shownFolder)
        : skinFolder_(withSeparator(folder)), shownFolder_(withSeparator(shownFolder)),
          catalogue_(skinlayout::catalogue()) {}

    std::vector<Finding> run() {
        for (const auto& entry : catalogue_)
            if (!files_.contains(entry.iniFile))
                openFile(entry.iniFile);
        infoBarHeight_ = skinlayout::infoBarHeight(skinFolder_, catalogue_);
        for (int i = 0; i < kElementCount; ++i)
            if (files_.at(catalogue_[i].iniFile).scan)
                checkElement(i);
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) {
                             return a.file != b.file ? a.file < b.file : a.line < b.line;
                         });
        return std::move(findings_);
    }

private:
    void add(const LayoutFile& file, int line, bool error, const Said& said, int element = -1) {
        findings_.push_back({file.shown, line, error, said.en, said.de, element});
    }

    void openFile(const QString& name) {
        LayoutFile& file = files_[name];
        file.path = skinFolder_ + name;
        file.shown = shownFolder_ + name;
        const std::optional<std::string> bytes =
            profile::readWholeFile(QFile::encodeName(file.path).constData());
        if (!bytes) {
            const bool exists = QFileInfo(file.path).exists();
            add(file, 0, true,
                exists ? Said{QStringLiteral("unreadable"), QStringLiteral("nicht lesbar")}
                       : Said{QStringLiteral("missing"), QStringLiteral("fehlt")});
            return;
        }
        // In the form the profile functions read it: a UTF-16 file as 8-bit text.
        file.scan = std::make_unique<LayoutScan>(profile::textForReading(*bytes));
        checkBytes(file);
    }

    // What concerns the file as a whole: the byte-order mark and the line endings.
    void checkBytes(const LayoutFile& file) {
        const LayoutScan& scan = *file.scan;
        if (profile::bomLength(scan.bytes()) > 0)
            add(file, 1, false,
                {QStringLiteral("the file starts with a UTF-8 byte-order mark; the editor skips "
                                "it, other programs may not"),
                 QStringLiteral("die Datei beginnt mit einer UTF-8-Bytereihenfolgemarke; der "
                                "Editor überspringt sie, andere Programme vielleicht nicht")});
        std::string_view first;
        int firstLine = 0;
        for (int n = 1; n <= scan.count(); ++n) {
            const profile::Line& line = scan.line(n);
            if (!line.hasEnding())
                continue;
            const std::string_view ending =
                std::string_view(scan.bytes()).substr(line.end, line.next - line.end);
            if (first.empty()) {
                first = ending;
                firstLine = n;
            } else if (ending != first) {
                const auto fill = [&](QString text) {
                    return text.arg(lineEndingName(ending))
                        .arg(firstLine)
                        .arg(lineEndingName(first));
                };
                add(file, n, false,
                    {fill(QStringLiteral("mixed line endings: this line ends with %1, line %2 "
                                         "with %3")),
                     fill(QStringLiteral("gemischte Zeilenenden: diese Zeile endet mit %1, Zeile "
                                         "%2 mit %3"))});
                return;
            }
        }
    }

    void checkElement(int index) {
        const ElementCatalogueEntry& entry = catalogue_[index];
        const LayoutFile& file = files_.at(entry.iniFile);
        const LayoutScan& scan = *file.scan;
        const QByteArray name = entry.iniName.toLocal8Bit();
        const QString tag = QLatin1Char('[') + entry.iniName + QLatin1Char(']');

        const std::vector<int> sections = scan.sections(name.constData());
        if (sections.empty()) {
            add(file, 0, false,
                {QStringLiteral("section %1 missing; the editor uses its defaults").arg(tag),
                 QStringLiteral("Abschnitt %1 fehlt; der Editor nimmt die Vorgabewerte").arg(tag)},
                index);
        } else {
            for (std::size_t k = 1; k < sections.size(); ++k)
                add(file, sections[k], false,
                    {QStringLiteral("section %1 given again; the one in line %2 counts, this one "
                                    "is ignored")
                         .arg(tag)
                         .arg(sections.front()),
                     QStringLiteral("Abschnitt %1 noch einmal; der in Zeile %2 gilt, dieser wird "
                                    "übergangen")
                         .arg(tag)
                         .arg(sections.front())},
                    index);
            bool sizeValid = true;
            for (int k = 0; k < 4; ++k)
                if (!(index == 3 && k == 0)) // "from" takes its x from the dummy
                    sizeValid = checkKey(file, index, sections.front(), k) && sizeValid;
            checkRewrites(file, index, sections.front());
            if (!sizeValid)
                return;
        }
        checkPlacement(file, index, sections.empty() ? 0 : sections.front());
    }

    // What a save writes differently from the file although nothing was edited: "from"
    // takes x 0, routeinfo and nextinfo the height 60 with their bottom edge kept.
    void checkRewrites(const LayoutFile& file, int index, int sectionLine) {
        const ElementCatalogueEntry& entry = catalogue_[index];
        const QString tag = QLatin1Char('[') + entry.iniName + QLatin1Char(']');
        const auto read = [&](const char* key, const char* fallback) {
            return Global::ReadIniValue(file.path, entry.iniName, QLatin1String(key),
                                        QLatin1String(fallback));
        };
        const auto lineOf = [&](const char* key) {
            const std::vector<int> lines = file.scan->keys(sectionLine, key);
            return lines.empty() ? sectionLine : lines.front();
        };
        if (index == 3) {
            const std::vector<int> lines = file.scan->keys(sectionLine, "x");
            const QString x = read("x", "0");
            if (!lines.empty() && x != QLatin1String("0"))
                add(file, lines.front(), false,
                    {QStringLiteral("%1 x=%2 is not used; the save writes x=0").arg(tag, x),
                     QStringLiteral("%1 x=%2 wird nicht benutzt; das Speichern schreibt x=0")
                         .arg(tag, x)},
                    index);
        }
        if (index != 4 && index != 5)
            return;
        const QString cy = read("cy", "20");
        if (cy == QLatin1String("60") || !number(cy) || !number(read("y", "0")))
            return; // a value that is no number is an error of its own
        const QString y = skinlayout::elementValues(skinFolder_, catalogue_, index, 0).y;
        add(file, lineOf("cy"), false,
            {QStringLiteral("%1 cy=%2; the save writes cy=60 and y=%3, keeping the bottom edge")
                 .arg(tag, cy, y),
             QStringLiteral("%1 cy=%2; das Speichern schreibt cy=60 und y=%3, die Unterkante "
                            "bleibt")
                 .arg(tag, cy, y)},
            index);
    }

    // One key of an element's section; false when the key gives a size of 0 or less.
    bool checkKey(const LayoutFile& file, int index, int sectionLine, int k) {
        const ElementCatalogueEntry& entry = catalogue_[index];
        const LayoutScan& scan = *file.scan;
        const QString key = QLatin1String(kKeys[k]);
        const QString tag = QLatin1Char('[') + entry.iniName + QLatin1Char(']');
        const bool anchored = index == 4 || index == 5; // routeinfo, nextinfo

        const std::vector<int> lines = scan.keys(sectionLine, kKeys[k]);
        if (lines.empty()) {
            add(file, sectionLine, false,
                {QStringLiteral("%1 has no key %2; the editor uses %2=%3")
                     .arg(tag, key, QLatin1String(kDefaults[k])),
                 QStringLiteral("%1 hat keinen Schlüssel %2; der Editor nimmt %2=%3")
                     .arg(tag, key, QLatin1String(kDefaults[k]))},
                index);
            return true;
        }
        const int line = lines.front();
        for (std::size_t n = 1; n < lines.size(); ++n)
            add(file, lines[n], false,
                {QStringLiteral("%1 %2 given again; line %3 counts, this one is ignored")
                     .arg(tag, key)
                     .arg(line),
                 QStringLiteral("%1 %2 noch einmal; Zeile %3 gilt, diese wird übergangen")
                     .arg(tag, key)
                     .arg(line)},
                index);
        if (scan.valueHasLeadingBlanks(line))
            add(file, line, false,
                {QStringLiteral("%1 the value of %2 has leading blanks; the editor drops them")
                     .arg(tag, key),
                 QStringLiteral("%1 der Wert von %2 beginnt mit Leerzeichen; der Editor lässt "
                                "sie weg")
                     .arg(tag, key)},
                index);

        const QString value =
            Global::ReadIniValue(file.path, entry.iniName, key, QLatin1String(kDefaults[k]));
        const std::optional<double> read = number(value);
        if (!read) {
            const Said effect = refusalEffect(index, k, true);
            const Said shown = value.isEmpty()
                                   ? Said{QStringLiteral("%1 has no value").arg(key),
                                          QStringLiteral("%1 hat keinen Wert").arg(key)}
                                   : Said{QStringLiteral("%1=%2 is not a number").arg(key, value),
                                          QStringLiteral("%1=%2 ist keine Zahl").arg(key, value)};
            add(file, line, true,
                {QStringLiteral("%1 %2; %3").arg(tag, shown.en, effect.en),
                 QStringLiteral("%1 %2; %3").arg(tag, shown.de, effect.de)},
                index);
            return true;
        }
        if (!keyFits(k, *read, shiftOf(index))) {
            const bool offFits = k == 1 && keyFits(k, *read, 0);
            const Said effect = refusalEffect(index, k, false);
            add(file, line, true,
                {QStringLiteral("%1 %2=%3 is out of range%4; %5")
                     .arg(tag, key, value,
                          offFits ? QStringLiteral(" with the info bar on") : QString(), effect.en),
                 QStringLiteral("%1 %2=%3 liegt außerhalb des Wertebereichs%4; %5")
                     .arg(tag, key, value,
                          offFits ? QStringLiteral(" bei eingeschalteter Infobar") : QString(),
                          effect.de)},
                index);
            return true;
        }
        if (k >= 2 && !(anchored && k == 3) && *read <= 0) {
            add(file, line, false,
                {QStringLiteral("%1 has a %2 of 0 or less (%3=%4)")
                     .arg(tag, k == 2 ? QStringLiteral("width") : QStringLiteral("height"), key,
                          value),
                 QStringLiteral("%1 hat eine %2 von 0 oder weniger (%3=%4)")
                     .arg(tag, k == 2 ? QStringLiteral("Breite") : QStringLiteral("Höhe"), key,
                          value)},
                index);
            return false;
        }
        return true;
    }

    // What the editor does with a value of key k that is no number, or one out of range.
    Said refusalEffect(int index, int k, bool noNumber) const {
        const bool anchored = index == 4 || index == 5; // routeinfo, nextinfo
        if (anchored && k != 0 && noNumber)
            return {QStringLiteral("the editor counts it as 0"),
                    QStringLiteral("der Editor rechnet mit 0")};
        if (index == 1 && k == 3 && infoBarHeight_ == 0)
            return {QStringLiteral("the editor takes 0 as the info bar's height and gives the "
                                   "element its starting height"),
                    QStringLiteral("der Editor nimmt 0 als Höhe der Infobar und gibt dem Element "
                                   "seine Anfangshöhe")};
        if (k < 2 || anchored) // the anchored height moves the element's top
            return {QStringLiteral("the editor puts the element at its starting place"),
                    QStringLiteral("der Editor setzt das Element an seinen Anfangsplatz")};
        return {QStringLiteral("the editor gives the element its starting %1")
                    .arg(k == 2 ? QStringLiteral("width") : QStringLiteral("height")),
                QStringLiteral("der Editor gibt dem Element seine Anfangs%1")
                    .arg(k == 2 ? QStringLiteral("breite") : QStringLiteral("höhe"))};
    }

    // Whether an element can take the value of key k, shown `shift` pixels higher while
    // the info bar is on, with the info bar on and off.
    static bool keyFits(int k, double value, double shift) {
        using ui::MainForm;
        const double perPixel = ui::kTwipsPerPixel;
        switch (k) {
        case 0:
            return fitsTwips(value * perPixel + MainForm::kCanvasLeft);
        case 1:
            return fitsTwips(value * perPixel + MainForm::kCanvasTop) &&
                   fitsTwips((value - shift) * perPixel + MainForm::kCanvasTop);
        default:
            return fitsTwips(value * perPixel);
        }
    }

    // The info-bar shift of the element while the info bar is on, in pixels.
    double shiftOf(int index) const {
        return catalogue_[index].bDepend ? double(infoBarHeight_) - 2 : 0.0;
    }

    // Whether the element's picture stays on the screen in every view that shows it,
    // with the info bar switched on and off.
    void checkPlacement(const LayoutFile& file, int index, int sectionLine) {
        const ElementCatalogueEntry& entry = catalogue_[index];
        enum State { On, Off, OnAndOff };
        // The views in which the element sticks out alike, with the info bar in one state.
        struct Group {
            State state;
            Overhang how;
            std::vector<int> views;
        };
        std::vector<Group> groups;
        const auto note = [&](int view, State state, const Overhang& how) {
            if (how.sides.isEmpty())
                return;
            const auto at = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
                return g.state == state && g.how == how;
            });
            if (at == groups.end())
                groups.push_back({state, how, {view}});
            else
                at->views.push_back(view);
        };
        for (int view = 0; view < 3; ++view) {
            if (!entry.bInView[std::size_t(view)])
                continue;
            const skinlayout::Values values =
                skinlayout::elementValues(skinFolder_, catalogue_, index, view);
            const auto x = number(values.x), y = number(values.y), cx = number(values.cx),
                       cy = number(values.cy);
            if (!x || !y || !cx || !cy || *cx <= 0 || *cy <= 0 || !keyFits(0, *x, 0) ||
                !keyFits(1, *y, shiftOf(index)) || !keyFits(2, *cx, 0) || !keyFits(3, *cy, 0))
                continue; // where the editor puts it depends on what it showed before
            const double shift = shiftOf(index);
            const Overhang on = overhang({*x, *y - shift, *cx, *cy});
            const Overhang off = overhang({*x, *y, *cx, *cy});
            if (on == off) {
                note(view, OnAndOff, on);
            } else {
                note(view, On, on);
                note(view, Off, off);
            }
        }
        static const char* const states[] = {"on", "off", "on and off"};
        static const char* const zustaende[] = {"eingeschalteter", "ausgeschalteter",
                                                "ein- und ausgeschalteter"};
        for (const Group& group : groups) {
            const Said views = viewList(group.views);
            add(file, sectionLine, false,
                {QStringLiteral("[%1] lies %2 outside the 240 x 320 screen in %3 with the info "
                                "bar %4: %5")
                     .arg(entry.iniName,
                          group.how.wholly ? QStringLiteral("wholly") : QStringLiteral("partly"),
                          views.en, QLatin1String(states[group.state]), group.how.sides),
                 QStringLiteral("[%1] liegt %2 außerhalb des Bildschirms 240 x 320 in %3 bei %4 "
                                "Infobar: %5")
                     .arg(entry.iniName,
                          group.how.wholly ? QStringLiteral("ganz") : QStringLiteral("teilweise"),
                          views.de, QLatin1String(zustaende[group.state]), group.how.seiten)},
                index);
        }
    }

    static QString withSeparator(const QString& folder) {
        return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    }

    QString skinFolder_;
    QString shownFolder_;
    skinlayout::Catalogue catalogue_;
    std::map<QString, LayoutFile> files_;
    std::int32_t infoBarHeight_ = 0;
    std::vector<Finding> findings_;
};

QString counted(int n, const char* word) {
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(word) +
           (n == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

std::vector<Finding> checkSkin(const QString& folder) {
    return Checker(folder, folder).run();
}

QString formatFinding(const Finding& finding) {
    QString text = finding.file;
    if (finding.line > 0)
        text += QLatin1Char(':') + QString::number(finding.line);
    return text + (finding.error ? QStringLiteral(": error: ") : QStringLiteral(": warning: ")) +
           finding.message;
}

QString summaryLine(int errors, int warnings) {
    return counted(errors, "error") + QStringLiteral(", ") + counted(warnings, "warning");
}

int runCheck(const QByteArray& folder, QTextStream& out, QTextStream& err) {
    struct stat st {};
    const bool exists = ::stat(folder.constData(), &st) == 0;
    const rawpath::ReachableFolder reachable(folder);
    if (!exists || !S_ISDIR(st.st_mode) || reachable.path().isEmpty()) {
        err << "tessel: " << rawpath::shown(folder)
            << (!exists               ? ": no such folder\n"
                : S_ISDIR(st.st_mode) ? ": cannot be opened\n"
                                      : ": no folder\n");
        return 2;
    }
    int errors = 0;
    int warnings = 0;
    for (const Finding& finding : Checker(reachable.path(), rawpath::shown(folder)).run()) {
        out << formatFinding(finding) << '\n';
        ++(finding.error ? errors : warnings);
    }
    out << summaryLine(errors, warnings) << '\n';
    out.flush();
    return errors > 0 ? 1 : 0;
}

} // namespace cli
