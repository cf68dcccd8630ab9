#include "documents/Documents.h"

#include "documents/DocumentLoad.h"
#include "documents/FileDrag.h"
#include "documents/FileProperties.h"
#include "documents/FolderNeighbours.h"
#include "documents/TextDecoding.h"
#include "editor/control/ArtMemo.h"
#include "editor/engine/ByteStream.h"
#include "host/ZandorHost.h"
#include "localisation/Localisation.h"
#include "platform/DocumentFile.h"
#include "platform/FileSystem.h"
#include "platform/ScreenFonts.h"

#include <QApplication>
#include <QFile>

#include <utility>

#include <sys/stat.h>

namespace zandor {

namespace {

constexpr const char* kFilter =
    "All files (*.*)|*.*|Zandor files (*.diz;*.nfo;*.txt;*.ini)|*.diz;*.nfo;*.txt;*.ini";

// The editor's bytes, as it writes them, into the file that replaces the old one: as they are, or
// in the document's Unicode encoding.
class TSaveStream final : public TByteStream {
public:
    TSaveStream(platform::TReplacingFile& file, const TSaveForm& form) : file_(file), form_(form) {
        unsigned_ = form.Encoding;
        unsigned_.Signature = false;
        const std::string_view signature = SignatureOf(form.Encoding);
        file_.Write(signature.data(), signature.size());
    }

    size_t Read(void*, size_t) override { throw EStreamError("Stream read error"); }
    void Write(const void* buffer, size_t n) override {
        if (form_.Encoding.Unicode()) {
            // Every byte stands for one character of its own: the text converts piece by piece.
            const std::string encoded = EncodeUnicode(std::string_view(static_cast<const char*>(buffer), n),
                                                      unsigned_, form_.Charset, form_.PictureControls);
            file_.Write(encoded.data(), encoded.size());
        } else {
            file_.Write(buffer, n);
        }
        written_ += static_cast<int64_t>(n);
    }
    int64_t Position() const override { return written_; }
    void Seek(int64_t position) override {
        if (position != written_)
            throw EStreamError("Stream seek error");
    }
    int64_t Size() const override { return written_; }

private:
    platform::TReplacingFile& file_;
    const TSaveForm& form_;
    TFileEncoding unsigned_;
    int64_t written_ = 0;
};

struct TReopenRow {
    TReopenEncoding Encoding;
    const char* Name;
};
constexpr TReopenRow kReopenRows[] = {
    {TReopenEncoding::Ansi, "ansi"},        {TReopenEncoding::Cp437, "cp437"},
    {TReopenEncoding::Utf8, "utf-8"},       {TReopenEncoding::Utf16Le, "utf-16le"},
    {TReopenEncoding::Utf16Be, "utf-16be"},
};

const TReopenRow& RowOf(TReopenEncoding encoding) {
    for (const TReopenRow& row : kReopenRows)
        if (row.Encoding == encoding)
            return row;
    return kReopenRows[0];
}

// A new file gets the permissions any program of the user would give it.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string CharsetName(int charset) {
    return charset == platform::OemCharset ? "CP437" : "CP1252";
}

QString Quoted(const std::string& name) {
    return QStringLiteral("\"") + QFile::decodeName(name.c_str()) + QStringLiteral("\"");
}

} // namespace

const char* ReopenName(TReopenEncoding encoding) {
    return RowOf(encoding).Name;
}

std::optional<TReopenEncoding> ReopenNamed(const std::string& name) {
    for (const TReopenRow& row : kReopenRows)
        if (name == row.Name)
            return row.Encoding;
    return std::nullopt;
}

TDocuments::TDocuments(TZandorHost& host)
    : Fonts(host), RecentFiles(host.RecentFiles(), *host.RecentFilesMenu(),
                               [this](const std::string& name) { RecentFileClick(name); }),
      host_(host), disk_([this](const platform::TFileStamp& now) { return DiskChanged(now); }) {
    // The editor cannot hold a zero byte; it shows each as a blank and writes it back as a space,
    // and keeps the text after it.
    host_.Editor().SetNullReplacement(kZeroByteReplacement);
}

bool TDocuments::AskSaveChanges() {
    if (!host_.IsDocumentModified() || !host_.DocumentOptions().AskChanges)
        return false;
    const QString question = host_.Texts().GetCaption(
        101, QStringLiteral("The text has been changed. Do you want to save the changes?"));
    switch (host_.Ask(question, true)) {
    case TAnswer::Cancel:
        return true;
    case TAnswer::Yes:
        return !Save();
    case TAnswer::No:
        break;
    }
    return false;
}

bool TDocuments::LoadFile(const std::string& name) {
    std::optional<TReopenEncoding> choice;
    const auto& chosen = host_.RecentEncodings();
    if (const auto found = chosen.find(name); found != chosen.end())
        choice = ReopenNamed(found->second);
    return LoadFile(name, choice);
}

bool TDocuments::LoadFile(const std::string& name, std::optional<TReopenEncoding> choice) {
    if (name.empty())
        return false;
    if (loading_) {
        // Asked while another file is being read (by a second instance, say): opened right after.
        waiting_ = name;
        return false;
    }
    TLoadOptions options;
    options.Repair = host_.DocumentOptions().Convert;
    bool ansi = false;
    std::optional<TContentKind> content;
    if (choice) {
        switch (*choice) {
        case TReopenEncoding::Ansi:
            options.Encoding = TFileEncoding{};
            content = TContentKind::Plain;
            ansi = true;
            break;
        case TReopenEncoding::Cp437:
            options.Encoding = TFileEncoding{};
            content = TContentKind::Art;
            break;
        case TReopenEncoding::Utf8:
            options.Encoding = TFileEncoding{TEncodingForm::Utf8, false};
            break;
        case TReopenEncoding::Utf16Le:
            options.Encoding = TFileEncoding{TEncodingForm::Utf16Le, false};
            break;
        case TReopenEncoding::Utf16Be:
            options.Encoding = TFileEncoding{TEncodingForm::Utf16Be, false};
            break;
        }
    }
    // The font follows what the bytes hold; the text is read into the character set it shows.
    TDocumentFonts::TDocumentFont font;
    const std::string ext = platform::LowerExtension(name);
    options.Charset = [&](const TFileEncoding&, TContentKind found) {
        font = Fonts.DocumentFont(ext, content.value_or(found), ansi);
        return platform::ShownCharset(font.Font);
    };
    TLoadedText loaded;
    {
        loading_ = true;
        struct TLoadingEnds {
            bool& Flag;
            ~TLoadingEnds() { Flag = false; }
        } ends{loading_};
        // The old text is on its way out: no background layout of it while the new one is read.
        TMemoEditor::TQuietLevel quiet(host_.Editor().Editor());
        // Taken first: a change while the file is read shows as a change after it.
        readStamp_ = platform::StampOf(name);
        loaded = LoadDocumentText(
            name, MaxTextLength, options, [this](int percent) { host_.ShowLoadProgress(percent); }, ReadCall);
    }
    const bool opened = TakeLoadedText(name, loaded, font);
    if (!waiting_.empty())
        LoadFile(std::exchange(waiting_, {}));
    return opened;
}

bool TDocuments::TakeLoadedText(const std::string& name, TLoadedText& loaded,
                                const TDocumentFonts::TDocumentFont& font) {
    std::string problem = loaded.Problem;
    const std::string_view text = loaded.Bytes.View();
    // Each line break takes two positions: only a text of more than half the limit can exceed it.
    if (problem.empty() && static_cast<int64_t>(text.size()) > MaxTextLength / 2 &&
        TextPositions(text) > MaxTextLength)
        problem = "Its text is too long: the editor holds at most " + std::to_string(MaxTextLength) +
                  " characters, each line break counting two.";
    if (!problem.empty()) {
        // The text, the name and the modified state stay; the name still goes to the top of the
        // recent files, so that a vanished one can be tried again from there.
        host_.ShowErrorBox(TErrorBoxKind::Open, "\"" + name + "\": " + problem);
        RecentFiles.Add(name);
        host_.ApplyDocumentWindowDimensions(form_.Art);
        return false;
    }

    host_.SetDocumentFile(name);
    // The font of the file comes before the text, so the text is laid out once.
    Fonts.Apply(font.Font);
    host_.ApplyDocumentCells(loaded.Sauce ? &*loaded.Sauce : nullptr);
    // The editor takes the bytes over as they are: no copy of a large file is made.
    host_.Editor().LoadFromBuffer(std::move(loaded.Bytes.Data), loaded.Bytes.Size);
    const TDecodedText& decoded = loaded.Decoded;
    const bool wasArt = form_.Art;
    notes_ = {name, decoded.Unmapped, decoded.ZeroBytes};
    form_ = {decoded.Encoding, decoded.PictureControls, std::move(loaded.Sauce), std::move(loaded.SauceTail),
             font.Art};
    ShowEncoding();
    RecentFiles.Add(name);
    disk_.Watch(name, readStamp_);
    // A reload of the same kind of text leaves the window as the user has it.
    if (!reloading_ || font.Art != wasArt)
        host_.ApplyDocumentWindowDimensions(font.Art);
    host_.MarkDocumentSaved();
    if (!reloading_)
        host_.FocusAfterOpen();
    return true;
}

void TDocuments::ReportNotOpened(const std::string& name) {
    std::string problem = platform::ReadDocumentFile(name, MaxTextLength).Problem;
    if (problem.empty())
        problem = "It was not there when the program started.";
    host_.ShowErrorBox(TErrorBoxKind::Open, "\"" + name + "\": " + problem);
}

void TDocuments::FontForExtension() {
    const std::string ext = host_.DocumentExt();
    if (ext.empty())
        Fonts.SetFont("Options", "Font5");
    else
        Fonts.SetFont("Fonts", ext);
}

void SaveEditorText(TArtMemo& editor, const std::string& path, const platform::TFileCalls& calls,
                    const TSaveForm& form) {
    platform::TReplacingFile::TOptions options;
    options.NewFileMode = NewFileMode();
    // A read-only file stays read-only: the folder would allow the replacement, the user did not.
    options.RequireWritable = true;
    // A file the user may write is saved even where its folder is not theirs (a shared folder),
    // and its other hard links keep showing the same file.
    options.InPlaceWhereNeeded = true;
    platform::TReplacingFile file(path, options, calls);
    TSaveStream stream(file, form);
    editor.SaveToStream(stream);
    file.Write(form.Tail.data(), form.Tail.size());
    file.Commit();
}

bool TDocuments::WriteDocument(const std::string& path) {
    try {
        SaveEditorText(host_.Editor(), path, *FileCalls,
                       {form_.Encoding, platform::ShownCharset(host_.Editor().Font()), form_.PictureControls,
                        form_.Tail});
    } catch (const std::exception& e) {
        host_.ShowErrorBox(TErrorBoxKind::Save, e.what());
        return false;
    }
    if (path == notes_.File)
        notes_ = {};
    // What was written is what the window knows of the file from now on.
    disk_.Watch(path, platform::StampOf(path));
    return true;
}

bool TDocuments::ConfirmChangedBytes(const std::string& path) {
    if (path != notes_.File || (notes_.Unmapped == 0 && notes_.ZeroBytes == 0))
        return true;
    QString text = Quoted(platform::FileNameOf(path));
    if (notes_.Unmapped > 0) {
        text += QStringLiteral(" held %1 characters that the font's character set (%2) cannot show; they "
                               "are shown as \"?\" and saved as \"?\".")
                    .arg(notes_.Unmapped)
                    .arg(QString::fromStdString(CharsetName(platform::ShownCharset(host_.Editor().Font()))));
        if (notes_.ZeroBytes > 0)
            text += QStringLiteral(" It also");
    }
    if (notes_.ZeroBytes > 0)
        text += QStringLiteral(" held %1 zero bytes, which are shown as blanks and saved as spaces.")
                    .arg(notes_.ZeroBytes);
    text += QStringLiteral("\n\nSave it all the same?");
    return host_.Ask(text, false) == TAnswer::Yes;
}

bool TDocuments::Save() {
    const std::string file = host_.DocumentFile();
    if (file.empty())
        return SaveAs();
    if (!ConfirmOverwriteChange(file) || !ConfirmChangedBytes(file) || !WriteDocument(file))
        return false;
    RecentFiles.Add(file);
    host_.MarkDocumentSaved();
    return true;
}

bool TDocuments::SaveAs() {
    const std::string oldExt = host_.DocumentExt();
    TSaveDialogRequest request;
    request.Filter = kFilter;
    request.InitialFolder = host_.LastSaveFolder();
    request.FileName = platform::FileNameOf(host_.DocumentFile());
    if (oldExt.empty())
        request.FileName += ".txt";
    std::string chosen = host_.ExecuteSaveDialog(request);
    if (chosen.empty())
        return false;
    if (host_.DocumentOptions().AddTxt && platform::LowerExtension(chosen).empty()) {
        chosen += ".txt";
        // The dialog asked about the name without ".txt"; the file with it is asked about here.
        struct stat st {};
        if (::stat(chosen.c_str(), &st) == 0 &&
            host_.Ask(Quoted(chosen) + QStringLiteral(" already exists.\nDo you want to replace it?"),
                      false) != TAnswer::Yes)
            return false;
    }
    if (!ConfirmOverwriteChange(chosen) || !ConfirmChangedBytes(chosen) || !WriteDocument(chosen))
        return false;
    host_.SetDocumentFile(chosen);
    host_.SetLastSaveFolder(platform::FileFolder(chosen));
    RecentFiles.Add(chosen);
    host_.MarkDocumentSaved();
    // A new type shows in its own font at once; the window keeps its size.
    if (host_.DocumentExt() != oldExt)
        FontForExtension();
    return true;
}

void TDocuments::FileOpen1Click() {
    if (AskSaveChanges())
        return;
    TOpenDialogRequest request;
    request.Filter = kFilter;
    const std::string current = host_.DocumentFile();
    const std::string folder = platform::FileFolder(current);
    if (!current.empty() && !folder.empty() && platform::FolderExists(folder)) {
        request.InitialFolder = folder;
        request.FileName = current;
    }
    const std::string chosen = host_.ExecuteOpenDialog(request);
    if (!chosen.empty())
        LoadFile(chosen);
}

void TDocuments::FileNew1Click() {
    if (AskSaveChanges())
        return;
    // An empty load, not an edit: nothing of the old text stays to be undone into the new one.
    TMemoryStream empty;
    host_.Editor().LoadFromStream(empty);
    host_.SetDocumentFile("");
    disk_.Stop();
    notes_ = {};
    form_ = {};
    // No record any more: the cells are the Art menu's again.
    host_.ApplyDocumentCells(nullptr);
    Fonts.SetFont("Options", "Font5");
    ShowEncoding();
    host_.MarkDocumentSaved();
    host_.FocusEditor();
}

void TDocuments::RecentFileClick(const std::string& name) {
    if (AskSaveChanges())
        return;
    LoadFile(name);
}

void TDocuments::OpenFileInFolder(int step) {
    const std::string next = NeighbourInFolder(host_.DocumentFile(), step);
    if (next.empty()) {
        QApplication::beep();
        return;
    }
    if (AskSaveChanges())
        return;
    LoadFile(next);
}

void TDocuments::Properties1Click() {
    const std::string file = host_.DocumentFile();
    if (!platform::FileExists(file))
        return;
    auto* dialog = new TFileProperties(file, host_.DialogParent(), form_.Sauce);
    dialog->show();
}

void TDocuments::ReopenWithEncoding(TReopenEncoding encoding) {
    const std::string file = host_.DocumentFile();
    if (file.empty() || AskSaveChanges())
        return;
    if (LoadFile(file, encoding))
        host_.RecentEncodings()[file] = ReopenName(encoding);
}

std::string TDocuments::EncodingText() const {
    std::string text = CharsetName(platform::ShownCharset(host_.Editor().Font()));
    if (form_.Encoding.Unicode())
        text += " \u00B7 " + EncodingName(form_.Encoding);
    return text;
}

void TDocuments::ShowEncoding() {
    host_.ShowDocumentEncoding(EncodingText());
}

void TDocuments::FileDrag1Drop(TFileDrag& sender) {
    if (sender.FileCount() == 0)
        return;
    const std::string name = sender.Files()[0];
    if (!platform::FileExists(name))
        return;
    // A long edit (a Replace All in slices) lets the window handle its events while it runs; a
    // file dropped then would take the place of a half-changed text, so it is not taken.
    if (!loading_ && host_.Editor().UpdateLevel() > 0)
        return;
    // Unsaved changes are offered for saving here as on every other way of opening a file.
    if (AskSaveChanges())
        return;
    LoadFile(name);
}

} // namespace zandor
