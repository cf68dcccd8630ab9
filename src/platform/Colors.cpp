#include "platform/Colors.h"

#include "platform/AsciiNames.h"
#include "platform/IntegerText.h"
#include "platform/PlatformErrors.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <cstdio>

namespace zandor::platform {

namespace {

struct NamedColor {
    TColor color;
    std::string_view name;
};

constexpr std::array<NamedColor, 52> kNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
}};

struct PaletteRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette role that plays each system colour's part, by system-colour index (25 has none).
constexpr std::array<PaletteRole, 31> kSystemRoles{{
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Dark},            // desktop background
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Mid},           // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Window},          // active border
    {QPalette::Inactive, QPalette::Window},        // inactive border
    {QPalette::Active, QPalette::Mid},             // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlight text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Dark},            // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Inactive, QPalette::WindowText},    // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3D light
    {QPalette::Active, QPalette::ToolTipText},     // info text
    {QPalette::Active, QPalette::ToolTipBase},     // info background
    {QPalette::Active, QPalette::NoRole},          // (unused index)
    {QPalette::Active, QPalette::Link},            // hot-tracked item
    {QPalette::Active, QPalette::Highlight},       // gradient of the active caption
    {QPalette::Inactive, QPalette::Mid},           // gradient of the inactive caption
    {QPalette::Active, QPalette::Highlight},       // highlighted menu item
    {QPalette::Active, QPalette::Window},          // menu bar
}};

} // namespace

bool ColorToIdent(TColor color, std::string& ident) {
    for (const auto& entry : kNames) {
        if (entry.color == color) {
            ident = entry.name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
    for (const auto& entry : kNames) {
        if (SameAsciiName(entry.name, ident)) {
            color = entry.color;
            return true;
        }
    }
    return false;
}

std::string ColorToString(TColor color) {
    std::string name;
    if (ColorToIdent(color, name))
        return name;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", unsigned(uint32_t(color)));
    return buffer;
}

TColor StringToColor(std::string_view text) {
    TColor color = 0;
    if (IdentToColor(text, color))
        return color;
    return StrToInt(text);
}

QColor ColorToQColor(TColor color, const QPalette& palette) {
    if (IsSystemColor(color)) {
        const auto index = uint32_t(color) & 0xFFFFFFu;
        if (index >= kSystemRoles.size() || kSystemRoles[index].role == QPalette::NoRole)
            return {};
        return palette.color(kSystemRoles[index].group, kSystemRoles[index].role);
    }
    if (color == clNone || color == clDefault)
        return {};
    const auto bits = uint32_t(color);
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

QColor ColorToQColor(TColor color) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return ColorToQColor(color, QGuiApplication::palette());
    // Without a GUI application there is no platform theme; a light palette like the usual desktop
    // default keeps system colours meaningful in tools and tests.
    static const QPalette fallback(QColor(0xEF, 0xEF, 0xEF), QColor(0xFF, 0xFF, 0xFF));
    return ColorToQColor(color, fallback);
}

} // namespace zandor::platform
