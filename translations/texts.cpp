#include "translations/texts.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTranslator>
#include <atomic>
#include <memory>
#include <optional>

namespace texts {

namespace {

const QString kGermanFile = QStringLiteral(":/translations/tessel_de.qm");

std::atomic<bool> germanInstalled{false};

// The language code of a locale name such as "de_AT.UTF-8@euro": "de".
QByteArray languageCode(const QByteArray& locale) {
    qsizetype end = 0;
    while (end < locale.size() && locale[end] != '_' && locale[end] != '.' && locale[end] != '@')
        ++end;
    return locale.left(end).toLower();
}

// German or English for a language code Tessel speaks; nothing for the others.
std::optional<Language> spoken(const QByteArray& code) {
    if (code == "de")
        return Language::German;
    if (code == "en")
        return Language::English;
    return std::nullopt;
}

// The translator of Tessel's German texts, loaded once for the whole process (the
// skin check asks for it beside the window, from another thread).
const QTranslator& germanTranslator() {
    static const std::unique_ptr<QTranslator> translator = [] {
        auto loaded = std::make_unique<QTranslator>();
        if (!loaded->load(kGermanFile))
            qFatal("Tessel's German texts are missing from the program");
        return loaded;
    }();
    return *translator;
}

} // namespace

Language languageOf(const QByteArray& lcAll, const QByteArray& lcMessages, const QByteArray& lang,
                    const QByteArray& language) {
    const QByteArray messages = !lcAll.isEmpty()        ? lcAll
                                : !lcMessages.isEmpty() ? lcMessages
                                                        : lang;
    const QByteArray code = languageCode(messages);
    if (code.isEmpty() || code == "c" || code == "posix")
        return Language::English; // gettext ignores LANGUAGE here too
    for (const QByteArray& entry : language.split(':'))
        if (const std::optional<Language> found = spoken(languageCode(entry)))
            return *found;
    return spoken(code).value_or(Language::English);
}

Language userLanguage() {
    return languageOf(qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG"),
                      qgetenv("LANGUAGE"));
}

QString german(const char* context, const char* source) {
    const QString text = germanTranslator().translate(context, source);
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

void installGerman(QCoreApplication& app) {
    auto translator = std::make_unique<QTranslator>(&app);
    if (!translator->load(kGermanFile))
        return;
    QCoreApplication::installTranslator(translator.release()); // owned by the application
    germanInstalled = true;
}

Language language() {
    return germanInstalled ? Language::German : Language::English;
}

} // namespace texts
