#include "commands/ASCIIForm.h"

#include "localisation/Localisation.h"
#include "platform/Canvas.h"
#include "platform/CodePages.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zandor {

namespace {

constexpr int kRows = 255;

} // namespace

TASCIIForm::TASCIIForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ASCIIForm"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(391, 394);
    m = new QTreeWidget(this);
    m->setObjectName(QStringLiteral("m"));
    m->setRootIsDecorated(false);
    m->setUniformRowHeights(true);
    m->setSelectionMode(QAbstractItemView::SingleSelection);
    m->setSelectionBehavior(QAbstractItemView::SelectRows);
    m->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m->setColumnCount(3);
    m->header()->setSectionsClickable(false);
    m->header()->setMinimumSectionSize(100);
    m->header()->setStretchLastSection(false);
    m->setColumnWidth(0, 100);
    m->setColumnWidth(1, 100);
    m->setColumnWidth(2, 150);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m);
    m->installEventFilter(this);
    connect(m, &QTreeWidget::itemDoubleClicked, this, [this] { Choose(); });
}

void TASCIIForm::Prepare(const TLocalisation& texts, const platform::FontValue& font,
                         platform::TColor background, int32_t selectedRow) {
    setWindowTitle(
        ShowFontMode ? QString::fromStdString(font.Name)
                     : texts.GetCaption(28, QStringLiteral("ASCII table - double click or enter to insert")));
    m->setHeaderLabels({texts.GetCaption(75, QStringLiteral("Decimal")),
                        texts.GetCaption(76, QStringLiteral("Hex")),
                        texts.GetCaption(77, QStringLiteral("Character"))});
    // The rows in the editor's font and colours, so each character looks as the text shows it.
    m->setFont(platform::ToQFont(font));
    QPalette palette = m->palette();
    const QColor text = platform::ColorToQColor(font.Color);
    const QColor back = platform::ColorToQColor(background);
    if (text.isValid())
        palette.setColor(QPalette::Text, text);
    if (back.isValid())
        palette.setColor(QPalette::Base, back);
    m->setPalette(palette);

    m->clear();
    const char16_t* table = platform::CharsetTable(font.Charset);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(kRows);
    for (int code = 1; code <= kRows; ++code) {
        const QString decimal = code < 10 ? QStringLiteral("0%1").arg(code) : QString::number(code);
        const QString hex = QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
        rows.push_back(new QTreeWidgetItem(QStringList{decimal, hex, QString(QChar(table[code]))}));
    }
    m->addTopLevelItems(rows);
    // A stored row out of range (a hand-edited setting) starts at the nearest row.
    QTreeWidgetItem* current = m->topLevelItem(std::clamp(selectedRow, 0, kRows - 1));
    m->setCurrentItem(current);
    current->setSelected(true);
    m->scrollToItem(current);
    m->setFocus();
    ChosenCode = 0;
}

int32_t TASCIIForm::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = m->selectedItems();
    return selected.isEmpty() ? -1 : m->indexOfTopLevelItem(selected.front());
}

void TASCIIForm::Choose() {
    const int32_t row = SelectedRow();
    if (row < 0)
        return;
    ChosenCode = row + 1;
    accept();
}

bool TASCIIForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zandor
