#include "app/FontDialog.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/ScreenCells.h"
#include "platform/ScreenFonts.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

namespace zandor {

using namespace platform;

namespace {

// The platform's font dialog as a part of this one. Left to itself it is still a dialog of its own:
// Escape, or choosing an entry of its lists, would end it, hiding it and leaving the window around it
// half empty. What would end it ends the whole dialog instead, and Enter goes on to the whole
// dialog's OK.
class TFacesPart : public QFontDialog {
public:
    explicit TFacesPart(QDialog& whole) : QFontDialog(&whole), whole_(whole) {}

protected:
    void done(int result) override { whole_.done(result); }

    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const bool plain = event->modifiers() == Qt::NoModifier ||
                           (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
        // This part has no buttons of its own, so its dialog handling would swallow the key.
        if (enter && plain) {
            event->ignore();
            return;
        }
        QFontDialog::keyPressEvent(event);
    }

private:
    QDialog& whole_;
};

// The nine-pixel and DOS-aspect forms of the screen faces are families of their own for the font
// matcher, but to the user they are the face drawn another way (the Art menu): the lists leave
// them out. The dialog fills its lists itself and picks its entry by row first, so the rows go
// after it is done.
void HideScreenFontForms(QFontDialog& dialog) {
    for (QListView* list : dialog.findChildren<QListView*>()) {
        auto* names = qobject_cast<QStringListModel*>(list->model());
        if (!names)
            continue;
        const auto prune = [names] {
            const QStringList all = names->stringList();
            for (int row = int(all.size()) - 1; row >= 0; --row)
                if (IsScreenFontForm(all[row].toStdString()))
                    names->removeRows(row, 1);
        };
        QObject::connect(names, &QAbstractItemModel::modelReset, list, prune, Qt::QueuedConnection);
        prune();
    }
}

} // namespace

TFontDialog::TFontDialog(const FontValue& initial, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Font"));
    // The platform's font dialog as a part of this one, without its own buttons.
    Faces = new TFacesPart(*this);
    Faces->setWindowFlags(Qt::Widget);
    Faces->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    Faces->setCurrentFont(ToQFont(initial));
    HideScreenFontForms(*Faces);

    ColorButton = new QPushButton(this);
    // Enter means OK wherever the focus is; the colour button answers to Space and clicks.
    ColorButton->setAutoDefault(false);
    connect(ColorButton, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(ColorToQColor(color_), this);
        if (chosen.isValid())
            SetColor(static_cast<TColor>(static_cast<uint32_t>(chosen.red()) |
                                         (static_cast<uint32_t>(chosen.green()) << 8) |
                                         (static_cast<uint32_t>(chosen.blue()) << 16)));
    });
    SetColor(initial.Color);

    Script = new QComboBox(this);
    Script->addItem(QStringLiteral("Western (Windows-1252)"), int(ANSI_CHARSET));
    Script->addItem(QStringLiteral("OEM/DOS (code page 437)"), int(OEM_CHARSET));
    Script->setCurrentIndex(initial.Charset == OEM_CHARSET ? 1 : 0);
    // A screen face shows code page 437 whatever is chosen here; the choice says so.
    const auto followFace = [this](const QFont& face) {
        const bool screenFace = IsScreenFontFace(face.family().toStdString());
        if (screenFace)
            Script->setCurrentIndex(Script->findData(int(WithFaceCharset(Font()).Charset)));
        Script->setEnabled(!screenFace);
    };
    connect(Faces, &QFontDialog::currentFontChanged, this, followFace);
    followFace(Faces->currentFont());

    auto* extras = new QFormLayout;
    extras->addRow(QStringLiteral("Colour:"), ColorButton);
    extras->addRow(QStringLiteral("Script:"), Script);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Faces);
    layout->addLayout(extras);
    layout->addWidget(buttons);
}

void TFontDialog::SetColor(TColor color) {
    color_ = color;
    const QColor shown = ColorToQColor(color);
    QPixmap swatch(32, 14);
    swatch.fill(shown);
    ColorButton->setIcon(QIcon(swatch));
    ColorButton->setText(shown.name(QColor::HexRgb).toUpper());
}

FontValue TFontDialog::Font() const {
    const QFont chosen = Faces->currentFont();
    FontValue font;
    font.Name = chosen.family().toStdString();
    font.Size = chosen.pointSize() > 0 ? chosen.pointSize() : PixelsToPoints(chosen.pixelSize());
    font.Height = 0;
    font.Style = static_cast<FontStyles>((chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
                                         (chosen.underline() ? fsUnderline : 0) |
                                         (chosen.strikeOut() ? fsStrikeOut : 0));
    font.Color = color_;
    font.Charset = static_cast<uint8_t>(Script->currentData().toInt());
    return font;
}

std::optional<FontValue> TFontDialog::Execute(const FontValue& initial, QWidget* parent) {
    TFontDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Font();
}

} // namespace zandor
