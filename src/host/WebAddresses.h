// Every web address the program opens lives here and nowhere else. An address goes in only when the
// project itself keeps the page behind it; until then it stays empty and the command that would
// open it is hidden, so no item of the program leads to a page that nobody here controls.
#pragma once

namespace zandor::web {

// The translation tool for language files ("Download Translator" in the Language submenu).
inline constexpr const char* TranslatorDownload = "";
// The download page of new versions ("Look for new version").
inline constexpr const char* NewVersion = "";
// The maker's other programs ("Other Veltrane Software").
inline constexpr const char* OtherSoftware = "";
// The donation pages of the Help menu and the reminder (the reminder also offers pounds).
inline constexpr const char* DonatePaypalUsd = "";
inline constexpr const char* DonatePaypalEur = "";
inline constexpr const char* DonatePaypalGbp = "";
inline constexpr const char* DonateBitcoin = "";
// The home page the About window links to.
inline constexpr const char* HomePage = "";

} // namespace zandor::web
