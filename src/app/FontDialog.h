// The font dialog of the font commands: face, style and size, and beside them the font's colour and
// its character set ("script"), which the editor font carries as well.
#pragma once

#include "platform/FontValue.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QFontDialog;
class QPushButton;

namespace zandor {

// Owns its widgets through Qt parenthood.
class TFontDialog : public QDialog {
    Q_OBJECT
public:
    TFontDialog(const platform::FontValue& initial, QWidget* parent);

    // The font as the dialog shows it now.
    platform::FontValue Font() const;
    // Shows the dialog; the chosen font, or nothing when the user cancelled.
    static std::optional<platform::FontValue> Execute(const platform::FontValue& initial, QWidget* parent);

    QFontDialog* Faces = nullptr;
    QComboBox* Script = nullptr;
    QPushButton* ColorButton = nullptr;

private:
    void SetColor(platform::TColor color);

    platform::TColor color_ = 0;
};

} // namespace zandor
