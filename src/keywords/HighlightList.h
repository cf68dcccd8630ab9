// The keyword highlight list: the user's words in "highlight.dat", handed to the main editor's
// keyword list in the highlight colours (which the address looks share), switched by the
// "Highlight Keywords" option and edited in the list window Tf3.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zandor {

class TArtMemo;
class TURLHighlighter;
class TZandorHost;
class Tf3;

// The lines of a keyword file: CR LF, a lone CR and a lone LF each end a line, and a break after
// the last line adds no empty line. Every line is a keyword exactly as written.
std::vector<std::string> SplitKeywordLines(std::string_view bytes);

// Gives the editor the words of the keyword file (none when `file` is empty or cannot be read) in its
// highlight colours, highlights its text again, and gives the same colours to the web, e-mail, file
// and other addresses `urls` finds. The window's editor and an export's are dressed alike by it.
void ApplyHighlightList(TArtMemo& editor, TURLHighlighter& urls, const std::string& file);

// Owns the list window once it was asked for. Refers to the host's editor, the address
// highlighter and the switch, which all outlive it.
class THighlightList {
public:
    // highLight reads the "Highlight Keywords" option.
    THighlightList(TZandorHost& host, TURLHighlighter& urls, std::string file,
                   std::function<bool()> highLight);
    ~THighlightList();
    THighlightList(const THighlightList&) = delete;
    THighlightList& operator=(const THighlightList&) = delete;

    const std::string& File() const { return FFile; }

    // Rebuilds the editor's keywords from the file (none while the option is off), highlights
    // again and gives the highlight colours to the web, e-mail, file and other addresses.
    void ApplyKeywordList();

    // "Edit Highlight List...": shows the list window, creating it on first use; it does not
    // block the main window, and a second use only brings it back.
    void Edithighlightlist1Click();
    // The window, once created.
    Tf3* Window() const { return FWindow.get(); }
    // The main window closes: the list window goes without writing, so words typed in a window
    // still open when the program ends are not kept.
    void ReleaseWindow();

    // What the window does when it closes: writes its text to the file, replacing it whole, then
    // applies the list. False (and the error shown, the file unchanged) when writing failed.
    bool WriteList(TArtMemo& list);

private:
    TZandorHost& FHost;
    TURLHighlighter& FURLs;
    std::string FFile;
    std::function<bool()> FHighLight;
    std::unique_ptr<Tf3> FWindow;
};

} // namespace zandor
