#include "localisation/DialogTranslation.h"

#include "localisation/LanguageIds.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace zandor {

TDialogTranslation::TDialogTranslation(QString folder)
    : FFolder(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : std::move(folder)) {}

TDialogTranslation::~TDialogTranslation() {
    Remove();
}

void TDialogTranslation::Remove() {
    if (FTranslator)
        QCoreApplication::removeTranslator(FTranslator.get());
    FTranslator.reset();
    FLocale = QLocale::c();
}

bool TDialogTranslation::Follow(const QString& header) {
    Remove();
    // The same form the language detection looks for: "$" and four lower-case hexadecimal digits.
    static const QRegularExpression key(QStringLiteral("\\$([0-9a-f]{4})"));
    for (auto it = key.globalMatch(header); it.hasNext();) {
        const auto id = static_cast<std::uint16_t>(it.next().captured(1).toUInt(nullptr, 16));
        const QLocale locale = LocaleOfLanguageId(id);
        if (locale.language() == QLocale::C)
            continue; // an identifier of no known language
        // English is what the dialogs speak without a catalogue.
        if (locale.language() == QLocale::English)
            return false;
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), FFolder))
            continue;
        QCoreApplication::installTranslator(translator.get());
        FTranslator = std::move(translator);
        FLocale = locale;
        return true;
    }
    return false;
}

} // namespace zandor
