#include "languages_help/toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QtGlobal>

namespace sorvane {

namespace {

const char* ToolkitTranslationName(Language language) {
    switch (language) {
    case Language::French: return "qtbase_fr";
    case Language::German: return "qtbase_de";
    case Language::English: break;
    }
    return nullptr;
}

}  // namespace

ToolkitTranslations::~ToolkitTranslations() {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

bool ToolkitTranslations::Use(Language language) {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
    installed_ = false;
    const char* name = ToolkitTranslationName(language);
    if (name == nullptr) return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator_.load(QString::fromLatin1(name), folder)) {
        qWarning("The toolkit's translation %s was not found in %s", name, qPrintable(folder));
        return false;
    }
    installed_ = QCoreApplication::installTranslator(&translator_);
    return installed_;
}

}  // namespace sorvane
