// Language files declare the locales they serve by Windows language identifiers (a 16-bit number:
// primary language in the low 10 bits, sub-language above), so the user's locale is expressed the
// same way before it is looked up.
#pragma once

#include <QLocale>

#include <cstdint>
#include <string>

namespace zandor {

// English (United States), the identifier of a locale that the table does not know.
inline constexpr std::uint16_t FallbackLanguageId = 0x0409;

// The identifier of a locale. A country the table lacks for a known language gives that language's
// default identifier (German in Belgium reads as German (Germany)); an unknown language gives
// FallbackLanguageId.
std::uint16_t WindowsLanguageId(const QLocale& locale);

// The locale an identifier stands for (its language, and the country or script that sets it
// apart); QLocale::c() for an identifier the table does not know.
QLocale LocaleOfLanguageId(std::uint16_t languageId);

// The identifier of the user's locale (QLocale::system()).
std::uint16_t UserDefaultLanguageId();

// "$" followed by four lower-case hexadecimal digits: the form in which language file headers list
// the identifiers they serve.
std::string LanguageKey(std::uint16_t languageId);

} // namespace zandor
