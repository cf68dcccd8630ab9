// The look of one kind of address: font style, colours and the mouse cursor shown over it. The URL
// highlighter owns one per kind and highlights again whenever one of them changes its look.
#pragma once

#include "platform/Colors.h"
#include "platform/FontValue.h"

#include <cstdint>
#include <functional>

namespace zandor {

// Mouse cursors as the runs of the editor store them: the framework's cursor numbers.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHandPoint = -21;

// Owns nothing; OnChange refers to whoever listens (the highlighter).
class THighlightInfo {
public:
    THighlightInfo() = default;
    THighlightInfo(platform::FontStyles style, platform::TColor background, platform::TColor foreground)
        : FStyle(style), FBackground(background), FForeground(foreground) {}
    THighlightInfo(const THighlightInfo&) = delete;
    THighlightInfo& operator=(const THighlightInfo&) = delete;

    // True: the address is drawn in the editor's alternate font (TArtMemo::AltFont).
    bool AltFont() const { return FAltFont; }
    void SetAltFont(bool value) { Set(FAltFont, value); }
    platform::FontStyles Style() const { return FStyle; }
    void SetStyle(platform::FontStyles value) { Set(FStyle, value); }
    // -1 keeps the background of the surrounding text.
    platform::TColor Background() const { return FBackground; }
    void SetBackground(platform::TColor value) { Set(FBackground, value); }
    platform::TColor Foreground() const { return FForeground; }
    void SetForeground(platform::TColor value) { Set(FForeground, value); }
    // Changing the cursor tells nobody: it is read when the mouse is over an address.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }

    // Copies the look (not the cursor) and reports a change even when nothing differed.
    void Assign(const THighlightInfo& source) {
        FAltFont = source.FAltFont;
        FStyle = source.FStyle;
        FBackground = source.FBackground;
        FForeground = source.FForeground;
        if (OnChange)
            OnChange();
    }

    std::function<void()> OnChange;

private:
    template <typename T> void Set(T& field, T value) {
        if (field == value)
            return;
        field = value;
        if (OnChange)
            OnChange();
    }

    bool FAltFont = false;
    platform::FontStyles FStyle = 0;
    platform::TColor FBackground = -1;
    platform::TColor FForeground = platform::clBlack;
    TCursor FCursor = crHandPoint;
};

} // namespace zandor
