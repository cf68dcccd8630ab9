#include "app/WindowDialogs.h"

#include "localisation/Localisation.h"

#include <QFileDialog>
#include <QStringList>

namespace zandor {

QStringList DialogNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // The dialog reads the patterns from the last parentheses of each filter.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

std::string RunFileSaveDialog(QWidget* parent, const TSaveDialogRequest& request) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setNameFilters(DialogNameFilters(request.Filter));
    dialog.setOption(QFileDialog::HideNameFilterDetails, false);
    dialog.resize(450, 560);
    if (!request.InitialFolder.empty())
        dialog.setDirectory(QFile::decodeName(request.InitialFolder.c_str()));
    dialog.selectFile(QFile::decodeName(request.FileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

TErrorBoxText ErrorBoxText(const TLocalisation& texts, TErrorBoxKind kind, const std::string& detail) {
    TErrorBoxText box;
    box.Caption = texts.GetCaption(102, QStringLiteral("Error"));
    box.Text = kind == TErrorBoxKind::Open
                   ? texts.GetCaption(103, QStringLiteral("The file could not be opened."))
                   : texts.GetCaption(104, QStringLiteral("The file could not be saved."));
    if (!detail.empty())
        box.Text += QStringLiteral("\n\n") + QString::fromStdString(detail);
    return box;
}

} // namespace zandor
