#include "app/translations.h"

#include "translations/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace translations {

bool installQtGerman(QCoreApplication& app) {
    auto translator = std::make_unique<QTranslator>(&app);
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.release()); // owned by the application
    return true;
}

void useGerman(QCoreApplication& app) {
    installQtGerman(app);
    texts::installGerman(app);
}

void useUsersLanguage(QCoreApplication& app) {
    if (texts::userLanguage() == texts::Language::German)
        useGerman(app);
}

} // namespace translations
