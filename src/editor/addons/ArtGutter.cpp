#include "editor/addons/ArtGutter.h"

#include "editor/control/ArtMemo.h"
#include "editor/control/MemoMessages.h"
#include "editor/control/MemoSinks.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace zandor {

namespace {

constexpr int kImageSize = 10;

// Rows of a 3 x 5 pixel digit, the leftmost pixel in bit 2.
constexpr uint8_t kDigitRows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

QImage MakeBookmarkImages() {
    QImage strip(kImageSize * 10, kImageSize, QImage::Format_RGB32);
    strip.fill(Qt::white);
    const QRgb frame = qRgb(0, 0, 128);
    const QRgb face = qRgb(0, 128, 255);
    const QRgb digit = qRgb(255, 255, 0);
    for (int n = 0; n < 10; ++n) {
        const int left = n * kImageSize;
        for (int y = 0; y < kImageSize; ++y)
            for (int x = 0; x < kImageSize; ++x) {
                const bool corner = (x == 0 || x == kImageSize - 1) && (y == 0 || y == kImageSize - 1);
                if (corner)
                    continue;
                const bool edge = x == 0 || y == 0 || x == kImageSize - 1 || y == kImageSize - 1;
                strip.setPixel(left + x, y, edge ? frame : face);
            }
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (kDigitRows[n][row] & (4 >> col)) {
                    // Each digit pixel is doubled across, so the digit reads at 6 x 5 in the middle.
                    strip.setPixel(left + 2 + col * 2, 2 + row, digit);
                    strip.setPixel(left + 3 + col * 2, 2 + row, digit);
                }
    }
    return strip;
}

// The strip with its white made transparent, as the images are drawn.
const QImage& TransparentImages() {
    static const QImage images = [] {
        QImage argb = TArtGutter::BookmarkImages().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                if (argb.pixel(x, y) == qRgb(255, 255, 255))
                    argb.setPixel(x, y, qRgba(0, 0, 0, 0));
        return argb;
    }();
    return images;
}

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

const QImage& TArtGutter::BookmarkImages() {
    static const QImage images = MakeBookmarkImages();
    return images;
}

TArtGutter::TArtGutter(QWidget* parent) : QWidget(parent) {
    resize(30, 50);
    // The gutter covers its area completely; moving its pixels then repaints only what it uncovers.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    BookmarkImages();
    FModel.OnSetBookmark = [this](TBookmarkRange index, TArtNavigator& nav, bool& accept) {
        if (OnSetBookmark)
            OnSetBookmark(this, index, nav, accept);
    };
    FModel.OnClearBookmark = [this](TBookmarkRange index, TArtNavigator& nav, bool& accept) {
        if (OnClearBookmark)
            OnClearBookmark(this, index, nav, accept);
    };
}

TArtGutter::~TArtGutter() {
    Detach();
}

// ---- attaching -------------------------------------------------------------------------------------

void TArtGutter::Detach() {
    if (FMemo) {
        FMemo->MessageHooks().Remove(this);
        FMemo->EventSinks().Remove(this);
        FMemo->removeEventFilter(this);
        disconnect(FDestroyed);
        FModel.SetMemo(nullptr);
    }
    FMemo = nullptr;
}

void TArtGutter::SetArtMemo(TArtMemo* memo) {
    if (memo == FMemo)
        return;
    Detach();
    FMemo = memo;
    if (memo) {
        memo->MessageHooks().Add(this);
        memo->EventSinks().Add(this);
        memo->installEventFilter(this);
        FDestroyed = connect(memo, &QObject::destroyed, this, [this] { MemoDestroyed(); });
        FModel.SetMemo(&memo->Core());
        FTopOrigin = memo->TopOrigin();
        FWordWrap = memo->WordWrap();
    }
    update();
}

void TArtGutter::MemoDestroyed() {
    FModel.MemoDestroyed();
    FMemo = nullptr;
    update();
}

// ---- properties --------------------------------------------------------------------------------

void TArtGutter::SetAlignment(TAlignment value) {
    FAlignment = value;
    update();
}

void TArtGutter::SetIgnoreLastLineIfEmpty(bool value) {
    FModel.SetIgnoreLastLineIfEmpty(value);
    update();
}

void TArtGutter::SetLineNumbers(bool value) {
    FLineNumbers = value;
    update();
}

void TArtGutter::SetParagraphNumbers(bool value) {
    FParagraphNumbers = value;
    update();
}

void TArtGutter::SetRightBorder(bool value) {
    FRightBorder = value;
    update();
}

void TArtGutter::SetColor(platform::TColor value) {
    FColor = value;
    update();
}

void TArtGutter::SetFontColor(platform::TColor value) {
    FFontColor = value;
    update();
}

void TArtGutter::SetOnDrawItem(TpgDrawItemEvent handler) {
    FOnDrawItem = std::move(handler);
    if (FMemo)
        update();
}

void TArtGutter::SetAutoWidth(bool value) {
    FAutoWidth = value;
    if (value && parentWidget()) {
        if (FDigitWidth == 0)
            MeasureDigit();
        AutoResize();
    }
}

void TArtGutter::MeasureDigit() {
    FDigitWidth = QFontMetrics(font()).horizontalAdvance(QLatin1Char('0'));
}

void TArtGutter::AutoResize() {
    if (!FAutoWidth || FDigitWidth == 0)
        return;
    const int width = TGutterModel::AutoWidthChars(FModel.CachedLineCount()) * FDigitWidth + 3;
    if (width != this->width())
        setFixedWidth(width);
    update();
}

void TArtGutter::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        if (parentWidget()) {
            MeasureDigit();
            AutoResize();
        } else {
            FDigitWidth = 0;
        }
        update();
    }
    QWidget::changeEvent(event);
}

// ---- bookmarks ---------------------------------------------------------------------------------

bool TArtGutter::ToggleBookmark(int32_t line, TBookmarkRange index) {
    const bool done = FModel.ToggleBookmark(line, index);
    if (done)
        update();
    return done;
}

void TArtGutter::SetBookmark(int32_t pos, TBookmarkRange index) {
    FModel.SetBookmark(pos, index);
    update();
}

void TArtGutter::ClearBookmarks() {
    FModel.ClearBookmarks();
    update();
}

// ---- following the editor ----------------------------------------------------------------------

bool TArtGutter::eventFilter(QObject* watched, QEvent* event) {
    // Only looked at: the editor handles the key first, and the gutter acts after it (AfterMessage).
    if (watched == FMemo && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        FKeyModifiers = key->modifiers();
        FKeyDigit = TGutterModel::BookmarkDigit(key->key(), key->nativeScanCode(),
                                                key->modifiers() & Qt::KeypadModifier);
    }
    return QWidget::eventFilter(watched, event);
}

void TArtGutter::Notify(TArtMemoCore* sender, int32_t codes) {
    // A control that is being destroyed has left the live instances already; nothing of it is read.
    if (!FMemo || TArtMemo::FromCore(sender) != FMemo)
        return;
    if (codes & nc::AfterMessage)
        AfterMessage();
    if (codes & nc::FontChanged)
        update();
    if (codes & nc::Change) {
        switch (FModel.TextChanged(FAutoWidth)) {
        case TGutterUpdate::None:
            break;
        case TGutterUpdate::Repaint:
            update();
            break;
        case TGutterUpdate::Resize:
            AutoResize();
            break;
        }
    }
    if (codes & nc::AfterLoad)
        ClearBookmarks();
    if (codes & nc::TopOriginChanged) {
        const int top = FMemo->TopOrigin();
        if (FModel.LineCount() == FModel.CachedLineCount() &&
            FModel.ParagraphCount() == FModel.CachedParagraphCount()) {
            const int dy = FTopOrigin - top;
            FTopOrigin = top;
            if (dy != 0)
                scroll(0, dy);
        } else {
            update();
        }
    }
}

void TArtGutter::AfterMessage() {
    const TMessageRecord& message = FMemo->CurrentMessage();
    if (message.Msg == wm::PAINT) {
        if (FMemo->WordWrap() != FWordWrap || FMemo->TopOrigin() != FTopOrigin ||
            FModel.LineCount() != FModel.CachedLineCount())
            update();
        return;
    }
    if (message.Msg != wm::KEYDOWN || !FBookmarks || FKeyDigit < 0)
        return;
    const bool ctrl = FKeyModifiers & Qt::ControlModifier;
    const bool shift = FKeyModifiers & Qt::ShiftModifier;
    const bool alt = FKeyModifiers & Qt::AltModifier;
    if (!ctrl || alt)
        return;
    TArtMemo& memo = *FMemo;
    const TBookmarkKeyResult result =
        FModel.BookmarkKey(FKeyDigit, ctrl, shift, alt, shift ? memo.SelLine() : 0, memo.SelStart());
    if (result.Kind == TBookmarkKeyResult::kChanged) {
        update();
    } else if (result.Kind == TBookmarkKeyResult::kJump) {
        memo.SetSelStart(result.Pos);
        memo.ScrollInView();
    }
}

// ---- painting ----------------------------------------------------------------------------------

int TArtGutter::MemoClientTop() const {
    return FMemo->viewport()->mapToGlobal(QPoint(0, 0)).y();
}

void TArtGutter::mouseMoveEvent(QMouseEvent* event) {
    if (FMemo && FMemo->HandleAllocated()) {
        const int lh = std::max(1, FMemo->LinePixels());
        const int y = mapToGlobal(QPoint(0, 0)).y() + event->position().toPoint().y() - MemoClientTop();
        FMouseLine = std::max(0, FloorDiv(y + FMemo->TopOrigin(), lh));
    } else {
        FMouseLine = -1;
    }
    QWidget::mouseMoveEvent(event);
}

void TArtGutter::paintEvent(QPaintEvent* event) {
    // Inside an update bracket the lines may be half changed; what was painted stays until its end.
    if (FMemo && FMemo->UpdateLevel() > 0)
        return;
    if (FAutoWidth && FDigitWidth == 0) {
        MeasureDigit();
        AutoResize();
        return;
    }
    const QRect area = event->rect();
    QPainter painter(this);
    painter.fillRect(area, platform::ColorToQColor(FColor, palette()));
    const int usable = FRightBorder ? width() - 2 : width();
    if (FRightBorder && area.right() >= usable) {
        painter.setPen(platform::ColorToQColor(platform::clBtnHighlight, palette()));
        painter.drawLine(usable, area.top(), usable, area.bottom());
        painter.setPen(platform::ColorToQColor(platform::clBtnShadow, palette()));
        painter.drawLine(usable + 1, area.top(), usable + 1, area.bottom());
    }
    if (!FMemo || !FMemo->HandleAllocated())
        return;
    TArtMemo& memo = *FMemo;
    FTopOrigin = memo.TopOrigin();
    FWordWrap = memo.WordWrap();
    FModel.CacheBookmarkLines();
    FModel.CacheCounts();
    const int lh = std::max(1, memo.LinePixels());
    const int gutterTop = mapToGlobal(QPoint(0, 0)).y();
    const int memoTop = MemoClientTop();
    int32_t i = std::max(0, FloorDiv(gutterTop + area.top() + FTopOrigin - memoTop, lh));
    int y = memoTop + i * lh - FTopOrigin - gutterTop;
    const int32_t lineCount = FModel.CachedLineCount();

    const bool numbers = FLineNumbers || FParagraphNumbers || FOnDrawItem;
    int digitWidth = 0;
    if (numbers) {
        painter.setFont(font());
        painter.setPen(platform::ColorToQColor(FFontColor, palette()));
        if (FAlignment != taLeftJustify)
            digitWidth = painter.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    }
    const int baseline = memo.Baseline();
    int imageOffset = (lh - kImageSize) / 2;
    if (imageOffset + kImageSize < baseline)
        imageOffset = baseline - kImageSize;
    auto placeAt = [&](int w, int leftX) {
        switch (FAlignment) {
        case taLeftJustify:
            return leftX;
        case taRightJustify:
            return usable - w;
        case taCenter:
            break;
        }
        return (usable - w) / 2;
    };

    std::string text;
    QImage graphic;
    while (y <= area.bottom() && i < lineCount) {
        if (FOnDrawItem) {
            FOnDrawItem(this, i, text, graphic);
            const QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
            painter.drawText(placeAt(painter.fontMetrics().horizontalAdvance(shown), 0), y + baseline, shown);
            if (!graphic.isNull())
                painter.drawImage(0, y, graphic);
        } else if (const int n = FModel.BookmarkAtLine(i); n >= 0) {
            painter.drawImage(placeAt(kImageSize, 2), y + imageOffset, TransparentImages(), n * kImageSize, 0,
                              kImageSize, kImageSize);
        } else if (FLineNumbers || FParagraphNumbers) {
            const std::string label = FModel.LineLabel(i, FParagraphNumbers);
            if (!label.empty()) {
                const int w = static_cast<int>(label.size()) * digitWidth;
                painter.drawText(placeAt(w, 0), y + baseline, QString::fromStdString(label));
            }
        }
        y += lh;
        ++i;
    }
}

} // namespace zandor
