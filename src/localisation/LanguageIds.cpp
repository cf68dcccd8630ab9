#include "localisation/LanguageIds.h"

#include <cstdio>
#include <iterator>

namespace zandor {

namespace {

struct LocaleId {
    QLocale::Language language;
    QLocale::Territory territory; // AnyTerritory: the language's default identifier
    QLocale::Script script;       // AnyScript unless the script decides the identifier
    std::uint16_t id;
};

using L = QLocale;

// Rows of one language stand together, default row first.
constexpr LocaleId kLocaleIds[] = {
    {L::English, L::AnyTerritory, L::AnyScript, 0x0409},
    {L::English, L::UnitedStates, L::AnyScript, 0x0409},
    {L::English, L::UnitedKingdom, L::AnyScript, 0x0809},
    {L::English, L::Australia, L::AnyScript, 0x0c09},
    {L::English, L::Canada, L::AnyScript, 0x1009},
    {L::English, L::NewZealand, L::AnyScript, 0x1409},
    {L::English, L::Ireland, L::AnyScript, 0x1809},
    {L::English, L::SouthAfrica, L::AnyScript, 0x1c09},
    {L::English, L::Jamaica, L::AnyScript, 0x2009},
    {L::English, L::Belize, L::AnyScript, 0x2809},
    {L::English, L::TrinidadAndTobago, L::AnyScript, 0x2c09},
    {L::English, L::Zimbabwe, L::AnyScript, 0x3009},
    {L::English, L::Philippines, L::AnyScript, 0x3409},
    {L::English, L::India, L::AnyScript, 0x4009},
    {L::English, L::Malaysia, L::AnyScript, 0x4409},
    {L::English, L::Singapore, L::AnyScript, 0x4809},

    {L::German, L::AnyTerritory, L::AnyScript, 0x0407},
    {L::German, L::Germany, L::AnyScript, 0x0407},
    {L::German, L::Switzerland, L::AnyScript, 0x0807},
    {L::German, L::Austria, L::AnyScript, 0x0c07},
    {L::German, L::Luxembourg, L::AnyScript, 0x1007},
    {L::German, L::Liechtenstein, L::AnyScript, 0x1407},

    {L::French, L::AnyTerritory, L::AnyScript, 0x040c},
    {L::French, L::France, L::AnyScript, 0x040c},
    {L::French, L::Belgium, L::AnyScript, 0x080c},
    {L::French, L::Canada, L::AnyScript, 0x0c0c},
    {L::French, L::Switzerland, L::AnyScript, 0x100c},
    {L::French, L::Luxembourg, L::AnyScript, 0x140c},
    {L::French, L::Monaco, L::AnyScript, 0x180c},
    {L::French, L::Reunion, L::AnyScript, 0x200c},
    {L::French, L::CongoKinshasa, L::AnyScript, 0x240c},
    {L::French, L::Senegal, L::AnyScript, 0x280c},
    {L::French, L::Cameroon, L::AnyScript, 0x2c0c},
    {L::French, L::IvoryCoast, L::AnyScript, 0x300c},
    {L::French, L::Mali, L::AnyScript, 0x340c},
    {L::French, L::Morocco, L::AnyScript, 0x380c},
    {L::French, L::Haiti, L::AnyScript, 0x3c0c},

    {L::Spanish, L::AnyTerritory, L::AnyScript, 0x0c0a},
    {L::Spanish, L::Spain, L::AnyScript, 0x0c0a},
    {L::Spanish, L::Mexico, L::AnyScript, 0x080a},
    {L::Spanish, L::Guatemala, L::AnyScript, 0x100a},
    {L::Spanish, L::CostaRica, L::AnyScript, 0x140a},
    {L::Spanish, L::Panama, L::AnyScript, 0x180a},
    {L::Spanish, L::DominicanRepublic, L::AnyScript, 0x1c0a},
    {L::Spanish, L::Venezuela, L::AnyScript, 0x200a},
    {L::Spanish, L::Colombia, L::AnyScript, 0x240a},
    {L::Spanish, L::Peru, L::AnyScript, 0x280a},
    {L::Spanish, L::Argentina, L::AnyScript, 0x2c0a},
    {L::Spanish, L::Ecuador, L::AnyScript, 0x300a},
    {L::Spanish, L::Chile, L::AnyScript, 0x340a},
    {L::Spanish, L::Uruguay, L::AnyScript, 0x380a},
    {L::Spanish, L::Paraguay, L::AnyScript, 0x3c0a},
    {L::Spanish, L::Bolivia, L::AnyScript, 0x400a},
    {L::Spanish, L::ElSalvador, L::AnyScript, 0x440a},
    {L::Spanish, L::Honduras, L::AnyScript, 0x480a},
    {L::Spanish, L::Nicaragua, L::AnyScript, 0x4c0a},
    {L::Spanish, L::PuertoRico, L::AnyScript, 0x500a},
    {L::Spanish, L::UnitedStates, L::AnyScript, 0x540a},

    {L::Italian, L::AnyTerritory, L::AnyScript, 0x0410},
    {L::Italian, L::Switzerland, L::AnyScript, 0x0810},
    {L::Portuguese, L::AnyTerritory, L::AnyScript, 0x0416},
    {L::Portuguese, L::Brazil, L::AnyScript, 0x0416},
    {L::Portuguese, L::Portugal, L::AnyScript, 0x0816},
    {L::Dutch, L::AnyTerritory, L::AnyScript, 0x0413},
    {L::Dutch, L::Belgium, L::AnyScript, 0x0813},
    {L::Swedish, L::AnyTerritory, L::AnyScript, 0x041d},
    {L::Swedish, L::Finland, L::AnyScript, 0x081d},
    {L::Danish, L::AnyTerritory, L::AnyScript, 0x0406},
    {L::NorwegianBokmal, L::AnyTerritory, L::AnyScript, 0x0414},
    {L::NorwegianNynorsk, L::AnyTerritory, L::AnyScript, 0x0814},
    {L::Finnish, L::AnyTerritory, L::AnyScript, 0x040b},
    {L::Icelandic, L::AnyTerritory, L::AnyScript, 0x040f},
    {L::Irish, L::AnyTerritory, L::AnyScript, 0x083c},
    {L::Welsh, L::AnyTerritory, L::AnyScript, 0x0452},
    {L::Luxembourgish, L::AnyTerritory, L::AnyScript, 0x046e},
    {L::Maltese, L::AnyTerritory, L::AnyScript, 0x043a},
    {L::Catalan, L::AnyTerritory, L::AnyScript, 0x0403},
    {L::Basque, L::AnyTerritory, L::AnyScript, 0x042d},
    {L::Galician, L::AnyTerritory, L::AnyScript, 0x0456},
    {L::Afrikaans, L::AnyTerritory, L::AnyScript, 0x0436},

    {L::Polish, L::AnyTerritory, L::AnyScript, 0x0415},
    {L::Czech, L::AnyTerritory, L::AnyScript, 0x0405},
    {L::Slovak, L::AnyTerritory, L::AnyScript, 0x041b},
    {L::Hungarian, L::AnyTerritory, L::AnyScript, 0x040e},
    {L::Romanian, L::AnyTerritory, L::AnyScript, 0x0418},
    {L::Slovenian, L::AnyTerritory, L::AnyScript, 0x0424},
    {L::Croatian, L::AnyTerritory, L::AnyScript, 0x041a},
    {L::Bosnian, L::AnyTerritory, L::AnyScript, 0x141a},
    {L::Serbian, L::AnyTerritory, L::AnyScript, 0x281a},
    {L::Serbian, L::AnyTerritory, L::LatinScript, 0x241a},
    {L::Serbian, L::AnyTerritory, L::CyrillicScript, 0x281a},
    {L::Albanian, L::AnyTerritory, L::AnyScript, 0x041c},
    {L::Macedonian, L::AnyTerritory, L::AnyScript, 0x042f},
    {L::Bulgarian, L::AnyTerritory, L::AnyScript, 0x0402},
    {L::Greek, L::AnyTerritory, L::AnyScript, 0x0408},
    {L::Estonian, L::AnyTerritory, L::AnyScript, 0x0425},
    {L::Latvian, L::AnyTerritory, L::AnyScript, 0x0426},
    {L::Lithuanian, L::AnyTerritory, L::AnyScript, 0x0427},
    {L::Russian, L::AnyTerritory, L::AnyScript, 0x0419},
    {L::Ukrainian, L::AnyTerritory, L::AnyScript, 0x0422},
    {L::Belarusian, L::AnyTerritory, L::AnyScript, 0x0423},
    {L::Turkish, L::AnyTerritory, L::AnyScript, 0x041f},
    {L::Georgian, L::AnyTerritory, L::AnyScript, 0x0437},
    {L::Armenian, L::AnyTerritory, L::AnyScript, 0x042b},
    {L::Azerbaijani, L::AnyTerritory, L::AnyScript, 0x042c},
    {L::Kazakh, L::AnyTerritory, L::AnyScript, 0x043f},

    {L::Arabic, L::AnyTerritory, L::AnyScript, 0x0401},
    {L::Arabic, L::SaudiArabia, L::AnyScript, 0x0401},
    {L::Arabic, L::Iraq, L::AnyScript, 0x0801},
    {L::Arabic, L::Egypt, L::AnyScript, 0x0c01},
    {L::Arabic, L::Libya, L::AnyScript, 0x1001},
    {L::Arabic, L::Algeria, L::AnyScript, 0x1401},
    {L::Arabic, L::Morocco, L::AnyScript, 0x1801},
    {L::Arabic, L::Tunisia, L::AnyScript, 0x1c01},
    {L::Arabic, L::Oman, L::AnyScript, 0x2001},
    {L::Arabic, L::Yemen, L::AnyScript, 0x2401},
    {L::Arabic, L::Syria, L::AnyScript, 0x2801},
    {L::Arabic, L::Jordan, L::AnyScript, 0x2c01},
    {L::Arabic, L::Lebanon, L::AnyScript, 0x3001},
    {L::Arabic, L::Kuwait, L::AnyScript, 0x3401},
    {L::Arabic, L::UnitedArabEmirates, L::AnyScript, 0x3801},
    {L::Arabic, L::Bahrain, L::AnyScript, 0x3c01},
    {L::Arabic, L::Qatar, L::AnyScript, 0x4001},
    {L::Hebrew, L::AnyTerritory, L::AnyScript, 0x040d},
    {L::Persian, L::AnyTerritory, L::AnyScript, 0x0429},
    {L::Urdu, L::AnyTerritory, L::AnyScript, 0x0420},
    {L::Hindi, L::AnyTerritory, L::AnyScript, 0x0439},
    {L::Bengali, L::AnyTerritory, L::AnyScript, 0x0445},
    {L::Bengali, L::Bangladesh, L::AnyScript, 0x0845},
    {L::Tamil, L::AnyTerritory, L::AnyScript, 0x0449},
    {L::Thai, L::AnyTerritory, L::AnyScript, 0x041e},
    {L::Vietnamese, L::AnyTerritory, L::AnyScript, 0x042a},
    {L::Indonesian, L::AnyTerritory, L::AnyScript, 0x0421},
    {L::Malay, L::AnyTerritory, L::AnyScript, 0x043e},
    {L::Filipino, L::AnyTerritory, L::AnyScript, 0x0464},
    {L::Swahili, L::AnyTerritory, L::AnyScript, 0x0441},
    {L::Japanese, L::AnyTerritory, L::AnyScript, 0x0411},
    {L::Korean, L::AnyTerritory, L::AnyScript, 0x0412},

    {L::Chinese, L::AnyTerritory, L::AnyScript, 0x0804},
    {L::Chinese, L::China, L::AnyScript, 0x0804},
    {L::Chinese, L::Taiwan, L::AnyScript, 0x0404},
    {L::Chinese, L::HongKong, L::AnyScript, 0x0c04},
    {L::Chinese, L::Singapore, L::AnyScript, 0x1004},
    {L::Chinese, L::Macau, L::AnyScript, 0x1404},
    {L::Chinese, L::AnyTerritory, L::TraditionalChineseScript, 0x0404},
    {L::Chinese, L::AnyTerritory, L::SimplifiedChineseScript, 0x0804},
};

} // namespace

std::uint16_t WindowsLanguageId(const QLocale& locale) {
    const QLocale::Language language = locale.language();
    const QLocale::Territory territory = locale.territory();
    const QLocale::Script script = locale.script();
    // The country decides first, then the script (Serbian, Chinese without a listed country),
    // then the language alone.
    const LocaleId* byScript = nullptr;
    const LocaleId* byLanguage = nullptr;
    for (const LocaleId& row : kLocaleIds) {
        if (row.language != language)
            continue;
        if (row.territory != QLocale::AnyTerritory) {
            if (row.territory == territory)
                return row.id;
        } else if (row.script != QLocale::AnyScript) {
            if (row.script == script && !byScript)
                byScript = &row;
        } else if (!byLanguage) {
            byLanguage = &row;
        }
    }
    if (byScript)
        return byScript->id;
    return byLanguage ? byLanguage->id : FallbackLanguageId;
}

QLocale LocaleOfLanguageId(std::uint16_t languageId) {
    for (const LocaleId& row : kLocaleIds)
        if (row.id == languageId)
            return QLocale(row.language, row.script, row.territory);
    return QLocale::c();
}

std::uint16_t UserDefaultLanguageId() {
    return WindowsLanguageId(QLocale::system());
}

std::string LanguageKey(std::uint16_t languageId) {
    char key[8];
    std::snprintf(key, sizeof key, "$%04x", static_cast<unsigned>(languageId));
    return key;
}

} // namespace zandor
