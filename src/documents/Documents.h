// The document commands of the main window: opening (the Open dialog, the recent files, the command
// line, a second instance and dropped files all end in LoadFile), saving, "Save as", "New", the
// offer to save unsaved changes, and the file's properties.
#pragma once

#include "documents/DiskWatch.h"
#include "documents/DocumentFonts.h"
#include "documents/FileEncoding.h"
#include "documents/RecentFiles.h"
#include "documents/SauceRecord.h"
#include "editor/engine/ReplaceRange.h"
#include "platform/CodePages.h"
#include "platform/DocumentFile.h"
#include "platform/ReplacingFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zandor {

class TArtMemo;
class TFileDrag;
class TZandorHost;
struct TLoadedText;

// How a document's text is written: its encoding (an 8-bit text as the editor holds it, a Unicode
// one from the character set it is shown in) and the bytes after the text (a SAUCE record).
struct TSaveForm {
    TFileEncoding Encoding;
    int Charset = platform::AnsiCodePage;
    bool PictureControls = false;
    std::string Tail;
};

// The encodings "Reopen with encoding" offers.
enum class TReopenEncoding { Ansi, Cp437, Utf8, Utf16Le, Utf16Be };
// The name a choice is stored under with the recent files ("ansi", "cp437", "utf-8", "utf-16le",
// "utf-16be").
const char* ReopenName(TReopenEncoding encoding);
std::optional<TReopenEncoding> ReopenNamed(const std::string& name);

// Writes the editor's text over the file at path, all or nothing: through a flushed temporary file
// in the same folder that takes the old file's mode and owner (a new file gets the user's usual
// mode) and is renamed over it; a symbolic link keeps pointing at the new file. Where the folder
// takes no temporary file, or the file has other hard links, the file is written over in place,
// its old bytes put back if that fails. Throws what went wrong and leaves the old file as it was.
void SaveEditorText(TArtMemo& editor, const std::string& path,
                    const platform::TFileCalls& calls = platform::TFileCalls::System(),
                    const TSaveForm& form = {});

// Refers to the window it serves; owns the font commands and the recent-files submenu's items.
class TDocuments {
public:
    explicit TDocuments(TZandorHost& host);
    TDocuments(const TDocuments&) = delete;
    TDocuments& operator=(const TDocuments&) = delete;

    // Offers to save unsaved changes (when the text changed and "Ask to save changes" is on). True
    // when the caller must not go on: the user cancelled, or answered Yes and the save did not
    // happen, so that the edits are still only in the window.
    bool AskSaveChanges();

    // Opens a named file: its bytes (a Unicode file in the character set of its font, line breaks
    // repaired when "Convert" is on, a SAUCE record split off) replace the editor's text; the font
    // follows the file's type and what its bytes hold, the window's size and place its type. The
    // encoding is the one the user chose for the name (Reopen), else the one its bytes show. A file
    // that cannot be opened is reported and leaves the editor, the document's name and its
    // modified state as they were. An empty name does nothing. True when the file was opened.
    bool LoadFile(const std::string& name);
    // "Reopen with encoding": the open file read again in that encoding, which is kept for its name
    // (unsaved changes are offered for saving first).
    void ReopenWithEncoding(TReopenEncoding encoding);

    // A name the command line gave that holds no file: says so with the reason, and nothing else
    // changes (the window goes on with its untitled text).
    void ReportNotOpened(const std::string& name);

    // Writes the text to the document's file, or runs "Save as" for an unnamed text. False when
    // nothing was saved (reported, or cancelled by the user).
    bool Save();
    // Asks for a name and writes the text there; on success the document takes the name.
    bool SaveAs();

    // ---- the commands' handlers
    void FileOpen1Click();
    void FileSave1Click() { Save(); }
    void FileSaveAs1Click() { SaveAs(); }
    void FileNew1Click();
    void RecentFileClick(const std::string& name);
    // File → Next File in Folder (step 1) and Previous File in Folder (-1): the neighbour of the
    // document's file (FolderNeighbours.h), after the offer to save changes; a beep at either end.
    void OpenFileInFolder(int step);
    void Properties1Click();

    // The document's SAUCE record, when its file had one.
    const std::optional<TSauceRecord>& Sauce() const { return form_.Sauce; }
    // The status panel's text for the document: the character set shown and, for a Unicode file,
    // its encoding ("CP437 · UTF-8", "CP1252").
    std::string EncodingText() const;
    // A drop on the window opens the first dropped name when it is a file.
    void FileDrag1Drop(TFileDrag& sender);

    TDocumentFonts Fonts;
    TRecentFiles RecentFiles;

    // The most positions a text may take in the editor; smaller in tests.
    int64_t MaxTextLength = kMaxTextLength;
    // True while a file is being read (the window's event loop runs meanwhile).
    bool Loading() const { return loading_; }

    // The read call of a load; tests slow it down.
    platform::TReadCall ReadCall;
    // The calls that write a saved file; tests make them fail midway.
    const platform::TFileCalls* FileCalls = &platform::TFileCalls::System();

    // The open file as other programs change it: looked at now rather than when the watch reports.
    void CheckDisk() { disk_.Check(); }

private:
    bool LoadFile(const std::string& name, std::optional<TReopenEncoding> choice);
    // The status panel follows the document's encoding and font.
    void ShowEncoding();
    // Writes the editor's text over the file at path, all or nothing; reports a failure.
    bool WriteDocument(const std::string& path);
    // Saving over the opened file what its text could not keep (zero bytes, UTF-16) is asked first.
    bool ConfirmChangedBytes(const std::string& path);
    void FontForExtension();
    // The read text into the editor, or the error box; true when the editor took it.
    bool TakeLoadedText(const std::string& name, TLoadedText& loaded,
                        const TDocumentFonts::TDocumentFont& font);

    // ---- the file changed by another program (DiskChanges.cpp)
    // A change the watch saw: an unchanged text is read again, keeping the caret's line and the
    // view; a changed one asks first; a file that is gone is said.
    // False while it cannot be handled: a file is read, a box or a menu is up, or an edit such as
    // Replace All is under way.
    bool DiskChanged(const platform::TFileStamp& now);
    // The document's file read again.
    void ReloadFromDisk();
    // Before a save over the document's file: true when the file is as it was read or saved here,
    // or the user agrees to write over what another program made of it.
    bool ConfirmOverwriteChange(const std::string& path);

    TZandorHost& host_;
    TDiskWatch disk_;
    // A reload keeps the window where it is.
    bool reloading_ = false;
    // The file's stamp before its bytes were read.
    platform::TFileStamp readStamp_;
    bool loading_ = false;
    // A file asked for while another was being read.
    std::string waiting_;
    // What the editor's text could not keep of the file it was opened from.
    struct TLoadNotes {
        std::string File;
        size_t Unmapped = 0;
        size_t ZeroBytes = 0;
    } notes_;
    // How the document is written back, and its record.
    struct TDocumentForm {
        TFileEncoding Encoding;
        bool PictureControls = false;
        std::optional<TSauceRecord> Sauce;
        std::string Tail;
        // Shown in the font of ".nfo" as art, whatever its extension.
        bool Art = false;
    } form_;
};

} // namespace zandor
