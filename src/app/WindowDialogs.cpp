#include "app/WindowDialogs.h"

#include "localisation/Localisation.h"

#include <QFileDialog>
#include <QMessageBox>
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

std::string RunFileOpenDialog(QWidget* parent, const TOpenDialogRequest& request) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setNameFilters(DialogNameFilters(request.Filter));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.resize(450, 560);
    if (!request.InitialFolder.empty())
        dialog.setDirectory(QFile::decodeName(request.InitialFolder.c_str()));
    if (!request.FileName.empty())
        dialog.selectFile(QFile::decodeName(request.FileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

TAnswer RunQuestionBox(QWidget* parent, const QString& text, bool withCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    switch (QMessageBox::question(parent, QStringLiteral("Zandor"), text, buttons, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        // Closing the box is no answer: nothing goes on.
        return withCancel ? TAnswer::Cancel : TAnswer::No;
    }
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
