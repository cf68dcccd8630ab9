#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

namespace zandor::platform {

namespace {

QClipboard* DesktopClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}

class QtClipboard final : public Clipboard {
public:
    bool Put(const ClipboardContent& content) override {
        QClipboard* clipboard = DesktopClipboard();
        if (!clipboard)
            return false;
        auto* data = new QMimeData;
        QString text = QString::fromStdU16String(content.Text);
        // The breaks are the program's CR LF; programs on this desktop expect LF alone.
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        data->setText(text);
        for (const auto& [mimeType, bytes] : content.Formats)
            data->setData(QString::fromStdString(mimeType),
                          QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        clipboard->setMimeData(data);
        return true;
    }

    bool HasText() const override {
        const QMimeData* data = MimeData();
        return data && data->hasText() && !data->text().isEmpty();
    }

    std::u16string Text() const override {
        const QMimeData* data = MimeData();
        return data && data->hasText() ? data->text().toStdU16String() : std::u16string();
    }

    std::optional<std::string> Data(std::string_view mimeType) const override {
        const QMimeData* data = MimeData();
        const QString format = QString::fromUtf8(mimeType.data(), static_cast<qsizetype>(mimeType.size()));
        if (!data || !data->hasFormat(format))
            return std::nullopt;
        const QByteArray bytes = data->data(format);
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }

private:
    static const QMimeData* MimeData() {
        QClipboard* clipboard = DesktopClipboard();
        return clipboard ? clipboard->mimeData() : nullptr;
    }
};

} // namespace

Clipboard& SystemClipboard() {
    static QtClipboard clipboard;
    return clipboard;
}

} // namespace zandor::platform
