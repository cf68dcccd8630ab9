#include "keywords/HighlightListForm.h"

#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "host/ZandorHost.h"
#include "keywords/HighlightList.h"
#include "localisation/Localisation.h"

#include <QCloseEvent>
#include <QFile>
#include <QVBoxLayout>

namespace zandor {

Tf3::Tf3(TZandorHost& host, THighlightList& list)
    : QDialog(host.DialogParent(), Qt::Dialog | Qt::WindowStaysOnTopHint), FList(list) {
    setWindowTitle(
        host.Texts().GetCaption(93, QStringLiteral("Highlighted keywords (one keyword per line)")));
    setFixedSize(453, 272);
    m = new TArtMemo(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m);
    m->SetScrollBars(ssBoth);
    m->SetOptions(
        {amoWrapCaret, amoInsertKeyActive, amoWideOverwriteCaret, amoAutoScrollBars, amoBlockSelection});
    platform::FontValue font;
    font.Name = "MSI Console";
    font.Height = 12;
    font.Charset = platform::OEM_CHARSET;
    // The colours are the main editor's as they are now; later showings keep them.
    TArtMemo& main = host.Editor();
    font.Color = main.Font().Color;
    m->SetFont(font);
    m->SetColor(main.Color());

    QFile file(QString::fromStdString(list.File()));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        TMemoryStream stream(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        m->LoadFromStream(stream);
    }
    m->SetSelStart(m->CharCount());
    m->OnKeyDown = [this](TArtMemo*, int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Escape) {
            key = 0;
            close();
        }
    };
}

void Tf3::reject() {
    close();
}

void Tf3::closeEvent(QCloseEvent* event) {
    // A file that could not be written keeps the window open with the words in it, so nothing
    // typed is lost; the error was shown.
    if (!FReleased && !FList.WriteList(*m)) {
        event->ignore();
        return;
    }
    // Not the dialog's own handling, which would reject (and so close) once more.
    event->accept();
}

} // namespace zandor
