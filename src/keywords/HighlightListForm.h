// The list window Tf3: one editor holding the keyword file, one keyword per line. Closing it, in
// any way, writes the file and applies the list to the main editor.
#pragma once

#include <QDialog>

namespace zandor {

class TArtMemo;
class THighlightList;
class TZandorHost;

// Owns its editor (a child widget). Refers to the list it writes through, which owns the window.
class Tf3 : public QDialog {
    Q_OBJECT
public:
    Tf3(TZandorHost& host, THighlightList& list);

    TArtMemo& Memo() { return *m; }
    // The program ends: the window goes without writing what it holds.
    void Release() { FReleased = true; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape and the window's own rejection close it like any other way.
    void reject() override;

private:
    THighlightList& FList;
    TArtMemo* m = nullptr;
    bool FReleased = false;
};

} // namespace zandor
