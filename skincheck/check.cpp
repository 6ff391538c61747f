#include "skincheck/check.h"

#include "app/Global.h"
#include "app/skinlayout.h"
#include "platform/profilefile.h"
#include "platform/profiletext.h"
#include "resources/errors.h"
#include "resources/mainform.h"
#include "resources/numbers.h"
#include "resources/screen.h"
#include "skincheck/layoutscan.h"
#include "skincheck/rawpath.h"
#include "translations/texts.h"

#include <QCoreApplication>
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

// The context of the check's texts in tessel_de.ts.
struct Check {
    Q_DECLARE_TR_FUNCTIONS(Check)
};

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

// A finding's text in both languages, from one English source text of tessel_de.ts.
struct Said {
    QString en, de;

    // Fills the place markers in one go (a value may hold a "%1" of its own): a Said in
    // its language, anything else alike in both.
    template <typename... Values> Said arg(const Values&... values) const {
        return {en.arg(in(values, false)...), de.arg(in(values, true)...)};
    }

private:
    static const QString& in(const Said& part, bool german) { return german ? part.de : part.en; }
    template <typename Value> static const Value& in(const Value& value, bool) { return value; }
};

// The source text (marked with QT_TRANSLATE_NOOP("Check", ...)) and its German.
Said say(const char* source) {
    return {QString::fromUtf8(source), texts::german("Check", source)};
}

// "a and b", "a, b and c"; in German alike.
Said listed(const std::vector<Said>& parts) {
    Said head = parts.front();
    for (std::size_t i = 1; i + 1 < parts.size(); ++i)
        head = Said{QStringLiteral("%1, %2"), QStringLiteral("%1, %2")}.arg(head, parts[i]);
    if (parts.size() == 1)
        return head;
    return say(QT_TRANSLATE_NOOP("Check", "%1 and %2")).arg(head, parts.back());
}

// "view 1", "views 1 and 3", "views 1, 2 and 3"; in German alike.
Said viewList(const std::vector<int>& views) {
    if (views.size() == 1)
        return say(QT_TRANSLATE_NOOP("Check", "view %1")).arg(views.front() + 1);
    std::vector<Said> numbers;
    for (int v : views)
        numbers.push_back(Said{QString::number(v + 1), QString::number(v + 1)});
    return say(QT_TRANSLATE_NOOP("Check", "views %1")).arg(listed(numbers));
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
    std::vector<Said> sides; // "3 px beyond the right edge", "1 px beyond the bottom edge"
    bool operator==(const Overhang& other) const {
        return wholly == other.wholly &&
               std::equal(sides.begin(), sides.end(), other.sides.begin(), other.sides.end(),
                          [](const Said& a, const Said& b) { return a.en == b.en; });
    }
};

Overhang overhang(const Box& b) {
    std::vector<Said> sides;
    const auto side = [&](double by, const char* source) {
        if (by > 0) // German writes a decimal comma
            sides.push_back(say(source).arg(
                Said{pixels(by), pixels(by).replace(QLatin1Char('.'), QLatin1Char(','))}));
    };
    side(-b.left, QT_TRANSLATE_NOOP("Check", "%1 px beyond the left edge"));
    side(-b.top, QT_TRANSLATE_NOOP("Check", "%1 px beyond the top edge"));
    side(b.left + b.width - kScreenWidth,
         QT_TRANSLATE_NOOP("Check", "%1 px beyond the right edge"));
    side(b.top + b.height - kScreenHeight,
         QT_TRANSLATE_NOOP("Check", "%1 px beyond the bottom edge"));
    const bool wholly = b.left >= kScreenWidth || b.left + b.width <= 0 || b.top >= kScreenHeight ||
                        b.top + b.height <= 0;
    return {!sides.empty() && wholly, std::move(sides)};
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
                exists ? say(QT_TRANSLATE_NOOP("Check", "file cannot be read"))
                       : say(QT_TRANSLATE_NOOP("Check", "file is missing")));
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
                say(QT_TRANSLATE_NOOP("Check", "the file starts with a UTF-8 byte-order mark; "
                                               "the editor skips it, other programs may not")));
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
                add(file, n, false,
                    say(QT_TRANSLATE_NOOP("Check", "mixed line endings: this line ends with %1, "
                                                   "line %2 with %3"))
                        .arg(lineEndingName(ending))
                        .arg(firstLine)
                        .arg(lineEndingName(first)));
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
                say(QT_TRANSLATE_NOOP("Check", "section %1 missing; the editor uses its defaults"))
                    .arg(tag),
                index);
        } else {
            for (std::size_t k = 1; k < sections.size(); ++k)
                add(file, sections[k], false,
                    say(QT_TRANSLATE_NOOP("Check", "section %1 given again; the one in line %2 "
                                                   "counts, this one is ignored"))
                        .arg(tag)
                        .arg(sections.front()),
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
                    say(QT_TRANSLATE_NOOP("Check", "%1 x=%2 is not used; the save writes x=0"))
                        .arg(tag, x),
                    index);
        }
        if (index != 4 && index != 5)
            return;
        const QString cy = read("cy", "20");
        if (cy == QLatin1String("60") || !number(cy) || !number(read("y", "0")))
            return; // a value that is no number is an error of its own
        const QString y = skinlayout::elementValues(skinFolder_, catalogue_, index, 0).y;
        add(file, lineOf("cy"), false,
            say(QT_TRANSLATE_NOOP(
                    "Check", "%1 cy=%2; the save writes cy=60 and y=%3, keeping the bottom edge"))
                .arg(tag, cy, y),
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
                say(QT_TRANSLATE_NOOP("Check", "%1 has no key %2; the editor uses %2=%3"))
                    .arg(tag, key, QLatin1String(kDefaults[k])),
                index);
            return true;
        }
        const int line = lines.front();
        for (std::size_t n = 1; n < lines.size(); ++n)
            add(file, lines[n], false,
                say(QT_TRANSLATE_NOOP("Check", "%1 %2 given again; line %3 counts, this one is "
                                               "ignored"))
                    .arg(tag, key)
                    .arg(line),
                index);
        if (scan.valueHasLeadingBlanks(line))
            add(file, line, false,
                say(QT_TRANSLATE_NOOP("Check", "%1 the value of %2 has leading blanks; the "
                                               "editor drops them"))
                    .arg(tag, key),
                index);

        const QString value =
            Global::ReadIniValue(file.path, entry.iniName, key, QLatin1String(kDefaults[k]));
        const std::optional<double> read = number(value);
        if (!read) {
            const Said effect = refusalEffect(index, k, true);
            const Said shown =
                value.isEmpty()
                    ? say(QT_TRANSLATE_NOOP("Check", "%1 has no value")).arg(key)
                    : say(QT_TRANSLATE_NOOP("Check", "%1=%2 is not a number")).arg(key, value);
            const QString pattern = QStringLiteral("%1 %2; %3");
            add(file, line, true, Said{pattern, pattern}.arg(tag, shown, effect), index);
            return true;
        }
        if (!keyFits(k, *read, shiftOf(index))) {
            const bool offFits = k == 1 && keyFits(k, *read, 0);
            const Said effect = refusalEffect(index, k, false);
            add(file, line, true,
                say(offFits ? QT_TRANSLATE_NOOP("Check", "%1 %2=%3 is out of range with the info "
                                                         "bar on; %4")
                            : QT_TRANSLATE_NOOP("Check", "%1 %2=%3 is out of range; %4"))
                    .arg(tag, key, value, effect),
                index);
            return true;
        }
        if (k >= 2 && !(anchored && k == 3) && *read <= 0) {
            add(file, line, false,
                say(k == 2 ? QT_TRANSLATE_NOOP("Check", "%1 has a width of 0 or less (%2=%3)")
                           : QT_TRANSLATE_NOOP("Check", "%1 has a height of 0 or less (%2=%3)"))
                    .arg(tag, key, value),
                index);
            return false;
        }
        return true;
    }

    // What the editor does with a value of key k that is no number, or one out of range.
    Said refusalEffect(int index, int k, bool noNumber) const {
        const bool anchored = index == 4 || index == 5; // routeinfo, nextinfo
        if (anchored && k != 0 && noNumber)
            return say(QT_TRANSLATE_NOOP("Check", "the editor counts it as 0"));
        if (index == 1 && k == 3 && infoBarHeight_ == 0)
            return say(QT_TRANSLATE_NOOP("Check", "the editor takes 0 as the info bar's height "
                                                  "and gives the element its starting height"));
        if (k < 2 || anchored) // the anchored height moves the element's top
            return say(QT_TRANSLATE_NOOP("Check", "the editor puts the element at its starting "
                                                  "place"));
        return say(k == 2 ? QT_TRANSLATE_NOOP("Check", "the editor gives the element its starting "
                                                       "width")
                          : QT_TRANSLATE_NOOP("Check", "the editor gives the element its starting "
                                                       "height"));
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
            if (how.sides.empty())
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
        static const char* const states[] = {
            QT_TRANSLATE_NOOP("Check", "with the info bar on"),
            QT_TRANSLATE_NOOP("Check", "with the info bar off"),
            QT_TRANSLATE_NOOP("Check", "with the info bar on and off")};
        for (const Group& group : groups)
            add(file, sectionLine, false,
                say(group.how.wholly
                        ? QT_TRANSLATE_NOOP("Check", "[%1] lies wholly outside the 240 x 320 "
                                                     "screen in %2 %3: %4")
                        : QT_TRANSLATE_NOOP("Check", "[%1] lies partly outside the 240 x 320 "
                                                     "screen in %2 %3: %4"))
                    .arg(entry.iniName, viewList(group.views), say(states[group.state]),
                         listed(group.how.sides)),
                index);
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

// A text of the check in the language asked for.
QString said(const char* source, texts::Language language) {
    return language == texts::Language::German ? texts::german("Check", source)
                                               : QString::fromUtf8(source);
}

// "1 error", "2 warnings": German counts alike, so one and many suffice.
QString counted(int n, const char* one, const char* many, texts::Language language) {
    return said(n == 1 ? one : many, language).arg(n);
}

} // namespace

std::vector<Finding> checkSkin(const QString& folder) {
    return Checker(folder, folder).run();
}

std::vector<Finding> checkSkin(const rawpath::ReachableFolder& folder, const QByteArray& given) {
    return Checker(folder.path(), rawpath::shown(given)).run();
}

QString kindName(bool error, texts::Language language) {
    return error ? said(QT_TRANSLATE_NOOP("Check", "error"), language)
                 : said(QT_TRANSLATE_NOOP("Check", "warning"), language);
}

QString formatFinding(const Finding& finding, texts::Language language) {
    QString text = finding.file;
    if (finding.line > 0)
        text += QLatin1Char(':') + QString::number(finding.line);
    return text + QStringLiteral(": ") + kindName(finding.error, language) + QStringLiteral(": ") +
           (language == texts::Language::German ? finding.german : finding.message);
}

QString summaryLine(int errors, int warnings, texts::Language language) {
    return counted(errors, QT_TRANSLATE_NOOP("Check", "%1 error"),
                   QT_TRANSLATE_NOOP("Check", "%1 errors"), language) +
           QStringLiteral(", ") +
           counted(warnings, QT_TRANSLATE_NOOP("Check", "%1 warning"),
                   QT_TRANSLATE_NOOP("Check", "%1 warnings"), language);
}

int printFindings(const std::vector<Finding>& findings, QTextStream& out,
                  texts::Language language) {
    int errors = 0;
    for (const Finding& finding : findings) {
        out << formatFinding(finding, language) << '\n';
        errors += finding.error ? 1 : 0;
    }
    out << summaryLine(errors, int(findings.size()) - errors, language) << '\n';
    out.flush();
    return errors;
}

QString folderProblem(const QByteArray& folder) {
    struct stat st {};
    if (::stat(folder.constData(), &st) != 0)
        return Check::tr("no such folder");
    if (!S_ISDIR(st.st_mode))
        return Check::tr("no folder");
    return rawpath::ReachableFolder(folder).path().isEmpty() ? Check::tr("cannot be opened")
                                                             : QString();
}

int runCheck(const QByteArray& folder, QTextStream& out, QTextStream& err) {
    const QString problem = folderProblem(folder);
    if (!problem.isEmpty()) {
        err << "tessel: " << rawpath::shown(folder) << ": " << problem << '\n';
        return 2;
    }
    const rawpath::ReachableFolder reachable(folder);
    return printFindings(checkSkin(reachable, folder), out, texts::language()) > 0 ? 1 : 0;
}

} // namespace cli
