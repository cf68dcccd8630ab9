#include "localisation/LanguageIds.h"

#include <gtest/gtest.h>

namespace zandor {
namespace {

struct LocaleRow {
    const char* locale;
    std::uint16_t id;
};

class WindowsLanguageIdTest : public ::testing::TestWithParam<LocaleRow> {};

TEST_P(WindowsLanguageIdTest, MapsTheLocale) {
    EXPECT_EQ(WindowsLanguageId(QLocale(QString::fromLatin1(GetParam().locale))), GetParam().id)
        << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, WindowsLanguageIdTest,
    ::testing::Values(LocaleRow{"de_DE", 0x0407}, LocaleRow{"de_CH", 0x0807}, LocaleRow{"de_AT", 0x0c07},
                      LocaleRow{"de_LU", 0x1007}, LocaleRow{"de_LI", 0x1407},
                      // A country without an identifier of its own takes the language's default.
                      LocaleRow{"de_BE", 0x0407}, LocaleRow{"fr_FR", 0x040c}, LocaleRow{"fr_BE", 0x080c},
                      LocaleRow{"fr_CA", 0x0c0c}, LocaleRow{"fr_CH", 0x100c}, LocaleRow{"fr_LU", 0x140c},
                      LocaleRow{"fr_MC", 0x180c}, LocaleRow{"en_US", 0x0409}, LocaleRow{"en_GB", 0x0809},
                      LocaleRow{"en_AU", 0x0c09}, LocaleRow{"en_CA", 0x1009}, LocaleRow{"en_NZ", 0x1409},
                      LocaleRow{"en_IE", 0x1809}, LocaleRow{"en_ZA", 0x1c09}, LocaleRow{"en_IN", 0x4009},
                      LocaleRow{"es_ES", 0x0c0a}, LocaleRow{"es_MX", 0x080a}, LocaleRow{"it_IT", 0x0410},
                      LocaleRow{"it_CH", 0x0810}, LocaleRow{"pt_BR", 0x0416}, LocaleRow{"pt_PT", 0x0816},
                      LocaleRow{"nl_NL", 0x0413}, LocaleRow{"nl_BE", 0x0813}, LocaleRow{"ru_RU", 0x0419},
                      LocaleRow{"pl_PL", 0x0415}, LocaleRow{"ja_JP", 0x0411}, LocaleRow{"zh_CN", 0x0804},
                      LocaleRow{"zh_TW", 0x0404}, LocaleRow{"zh_HK", 0x0c04}, LocaleRow{"sr_Latn_RS", 0x241a},
                      LocaleRow{"sr_Cyrl_RS", 0x281a}, LocaleRow{"sv_FI", 0x081d}, LocaleRow{"nb_NO", 0x0414},
                      // The C locale has no language: English (United States).
                      LocaleRow{"C", 0x0409}));

TEST(LanguageKey, IsDollarAndFourLowerCaseHexDigits) {
    EXPECT_EQ(LanguageKey(0x0407), "$0407");
    EXPECT_EQ(LanguageKey(0x0c07), "$0c07");
    EXPECT_EQ(LanguageKey(0x3c0c), "$3c0c");
    EXPECT_EQ(LanguageKey(0x000a), "$000a");
}

} // namespace
} // namespace zandor
