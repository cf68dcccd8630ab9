#include "commands/FindReplace.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ReplaceAll.h"
#include "host/ZandorHost.h"
#include "localisation/AnsiText.h"
#include "localisation/Localisation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zandor {

namespace {

struct TOverrideCursorRestore {
    TOverrideCursorRestore() = default;
    TOverrideCursorRestore(const TOverrideCursorRestore&) = delete;
    TOverrideCursorRestore& operator=(const TOverrideCursorRestore&) = delete;
    ~TOverrideCursorRestore() { QApplication::restoreOverrideCursor(); }
};

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
    return text;
}

} // namespace

TReplaceDialog::TReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReplaceDialog1"));
    setWindowTitle(QStringLiteral("Replace"));
    FindText = new QLineEdit(this);
    FindText->setObjectName(QStringLiteral("FindText"));
    ReplaceText = new QLineEdit(this);
    ReplaceText->setObjectName(QStringLiteral("ReplaceText"));
    WholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    MatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    Up = new QRadioButton(QStringLiteral("&Up"), direction);
    Down = new QRadioButton(QStringLiteral("&Down"), direction);
    Down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(Up);
    directionLayout->addWidget(Down);

    FindNextButton = new QPushButton(QStringLiteral("&Find Next"), this);
    FindNextButton->setDefault(true);
    ReplaceButton = new QPushButton(QStringLiteral("&Replace"), this);
    ReplaceAllButton = new QPushButton(QStringLiteral("Replace &All"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);

    auto* fields = new QGridLayout;
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(FindText);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    replaceLabel->setBuddy(ReplaceText);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(FindText, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(ReplaceText, 1, 1);
    fields->addWidget(WholeWord, 2, 0, 1, 2);
    fields->addWidget(MatchCase, 3, 0, 1, 2);
    fields->addWidget(direction, 4, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {FindNextButton, ReplaceButton, ReplaceAllButton, CancelButton})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

void TReplaceDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    emit Shown();
}

void TReplaceDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    emit Closed();
}

// ---------------------------------------------------------------------------------------------

TFindReplace::TFindReplace(TZandorHost& host, TFindItems items, TFindSettings settings)
    : host_(host), items_(std::move(items)), settings_(settings) {
    ReplaceDialog1 = new TReplaceDialog(host_.DialogParent());
    QObject::connect(ReplaceDialog1->FindNextButton, &QPushButton::clicked, ReplaceDialog1,
                     [this] { ReplaceDialog1Find(); });
    QObject::connect(ReplaceDialog1->ReplaceButton, &QPushButton::clicked, ReplaceDialog1,
                     [this] { ReplaceDialog1Replace(false); });
    QObject::connect(ReplaceDialog1->ReplaceAllButton, &QPushButton::clicked, ReplaceDialog1,
                     [this] { ReplaceDialog1Replace(true); });
    QObject::connect(ReplaceDialog1, &TReplaceDialog::Shown, ReplaceDialog1,
                     [this] { ReplaceDialog1Show(); });
    QObject::connect(ReplaceDialog1, &TReplaceDialog::Closed, ReplaceDialog1,
                     [this] { ReplaceDialog1Close(); });
}

TFindReplace::~TFindReplace() {
    // The window may hide the dialog while it is destroyed, after this object.
    ReplaceDialog1->disconnect();
    for (QPushButton* button :
         {ReplaceDialog1->FindNextButton, ReplaceDialog1->ReplaceButton, ReplaceDialog1->ReplaceAllButton})
        button->disconnect(ReplaceDialog1);
}

void TFindReplace::Find1Click() {
    ReplaceDialog1->show();
    ReplaceDialog1->raise();
    ReplaceDialog1->activateWindow();
    ReplaceDialog1->FindText->setFocus();
    ReplaceDialog1->FindText->selectAll();
}

void TFindReplace::FindNext1Click(bool previous) {
    if (replaceMode_) {
        Replace(replaceAll_);
        return;
    }
    SetMode(false);
    TArtMemo& editor = host_.Editor();
    if (previous) {
        // The occurrence just found is not to be found again.
        if (AsciiUpper(editor.SelText()) == AsciiUpper(SearchText()))
            editor.SetSelStart(std::min(editor.SelStart(), editor.SelStart() + editor.SelLength()));
    } else {
        for (QAction* item : {items_.FindPrev1, items_.FindPrev2})
            item->setEnabled(true);
    }
    if (editor.FindTxt(SearchText(), !previous, ReplaceDialog1->MatchCase->isChecked(),
                       ReplaceDialog1->WholeWord->isChecked(), false))
        editor.ScrollInView();
    else
        NotFound();
    CloseDialog();
}

void TFindReplace::ReplaceDialog1Find() {
    SetMode(false);
    TArtMemo& editor = host_.Editor();
    const bool hit = editor.FindTxt(SearchText(), true, ReplaceDialog1->MatchCase->isChecked(),
                                    ReplaceDialog1->WholeWord->isChecked(), true);
    for (QAction* item : {items_.FindNext1, items_.FindNext2})
        item->setEnabled(hit);
    for (QAction* item : {items_.FindPrev1, items_.FindPrev2})
        item->setEnabled(false);
    if (hit)
        editor.ScrollInView();
    else
        NotFound();
    CloseDialog();
}

void TFindReplace::ReplaceDialog1Replace(bool all) {
    replaceAll_ = all;
    Replace(all);
}

void TFindReplace::Replace(bool all) {
    SetMode(true);
    TArtMemo& editor = host_.Editor();
    const bool down = ReplaceDialog1->Down->isChecked();
    const bool matchCase = ReplaceDialog1->MatchCase->isChecked();
    const bool wholeWord = ReplaceDialog1->WholeWord->isChecked();
    bool hit;
    if (all) {
        hit = ReplaceAllOccurrences(down, matchCase, wholeWord) > 0;
    } else {
        hit = editor.FindTxt(SearchText(), down, matchCase, wholeWord, true);
        if (hit)
            editor.SetSelText(Replacement());
    }
    if (hit) {
        editor.ScrollInView();
    } else {
        for (QAction* item : {items_.FindNext1, items_.FindNext2})
            item->setEnabled(false);
        NotFound();
    }
    CloseDialog();
}

// One pass and one edit, however many occurrences there are: one undo step, and a replacement
// holding the search text is never searched again. Over a text of hundreds of megabytes that takes
// a second or two, so a large edit goes in slices: between them the window repaints and shows how
// far it has come, while keys and clicks wait for the end, and so does a file handed over by
// another instance (its message comes through a socket).
int64_t TFindReplace::ReplaceAllOccurrences(bool down, bool matchCase, bool wholeWord) {
    if (replacing_)
        return 0;
    struct TReplacingEnds {
        TFindReplace& Owner;
        int LastPercent = -1;
        ~TReplacingEnds() {
            Owner.replacing_ = false;
            if (LastPercent >= 0)
                Owner.host_.ShowReplaceProgress(-1);
        }
    } ends{*this};
    replacing_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TOverrideCursorRestore restore;
    const auto progress = [&](int percent) {
        if (percent != ends.LastPercent)
            host_.ShowReplaceProgress(percent);
        ends.LastPercent = percent;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
    };
    return ReplaceAll(host_.Editor().Editor(), SearchText(), Replacement(), {down, matchCase, wholeWord},
                      progress);
}

void TFindReplace::SetMode(bool replace) {
    replaceMode_ = replace;
    const QString caption = FromAnsi(replace ? host_.Texts().GetText(110, "Replace Next")
                                             : host_.Texts().GetText(108, "Find Next"));
    for (QAction* item : {items_.FindNext1, items_.FindNext2}) {
        item->setText(caption);
        if (replace)
            item->setEnabled(true);
    }
}

void TFindReplace::NotFound() {
    host_.ShowPlainMessage(host_.Texts().GetText(109, "The search text was not found."));
}

void TFindReplace::CloseDialog() {
    if (ReplaceDialog1->isVisible())
        ReplaceDialog1->close();
}

void TFindReplace::PlaceDialog(int left, int top) {
    ReplaceDialog1->move(left, top);
}

void TFindReplace::ReplaceDialog1Show() {
    if (!keptKeys_.empty())
        return;
    for (QAction* item : items_.ClipboardItems) {
        keptKeys_.push_back(item->shortcut());
        item->setShortcut(QKeySequence());
    }
}

void TFindReplace::ReplaceDialog1Close() {
    for (size_t i = 0; i < keptKeys_.size() && i < items_.ClipboardItems.size(); ++i)
        items_.ClipboardItems[i]->setShortcut(keptKeys_[i]);
    keptKeys_.clear();
    StoreSettings();
    // The keys go back to the window, whose items (F3 among them) act only while it is active.
    if (QWidget* window = host_.DialogParent())
        window->activateWindow();
}

void TFindReplace::LoadSettings() {
    ReplaceDialog1->FindText->setText(FromAnsi(*settings_.Text));
    ReplaceDialog1->ReplaceText->setText(FromAnsi(*settings_.ReplaceText));
}

void TFindReplace::StoreSettings() {
    *settings_.Text = SearchText();
    *settings_.ReplaceText = Replacement();
    *settings_.Left = ReplaceDialog1->x();
    *settings_.Top = ReplaceDialog1->y();
}

std::string TFindReplace::SearchText() const {
    return ToAnsi(ReplaceDialog1->FindText->text());
}

std::string TFindReplace::Replacement() const {
    return ToAnsi(ReplaceDialog1->ReplaceText->text());
}

} // namespace zandor
