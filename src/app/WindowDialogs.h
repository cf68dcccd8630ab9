// The main window's own dialogs and boxes that its features ask for through the host interface:
// the open and save dialogs, the question box and the error box.
#pragma once

#include "host/ZandorHost.h"

#include <QString>

#include <string>

class QWidget;

namespace zandor {

// A filter of description and pattern pairs ("GIF graphic (*.gif)|*.gif|All files (*.*)|*.*") as
// the name filters of a file dialog, each description with its patterns; "*.*" stands for every
// file, with or without a dot in its name.
QStringList DialogNameFilters(const std::string& filter);

// The open dialog: 450 by 560 pixels, detail view, the file must exist, ".txt" added to a typed name
// without extension when only that name exists. The chosen path, or empty when the user cancelled.
std::string RunFileOpenDialog(QWidget* parent, const TOpenDialogRequest& request);

// A question with Yes and No (and Cancel) under the program's caption, Yes the default.
TAnswer RunQuestionBox(QWidget* parent, const QString& text, bool withCancel);

// The save dialog: 450 by 560 pixels, detail view, overwrite prompt, no extension added to a typed
// name. The chosen path, or empty when the user cancelled.
std::string RunFileSaveDialog(QWidget* parent, const TSaveDialogRequest& request);

// The error box's caption and text: "Error" (text 102) over text 103 or 104, and the detail below
// them when there is one.
struct TErrorBoxText {
    QString Caption;
    QString Text;
};
TErrorBoxText ErrorBoxText(const TLocalisation& texts, TErrorBoxKind kind, const std::string& detail);

} // namespace zandor
