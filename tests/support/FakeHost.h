// A stand-in for the main window as the features see it: it records what they ask of it (dialogs,
// boxes, saves of the settings) and answers from fields the test sets.
#pragma once

#include "host/ZandorHost.h"
#include "localisation/Localisation.h"

#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zandor::test {

struct FakeHost : TZandorHost {
    struct ErrorBox {
        TErrorBoxKind Kind;
        std::string Detail;
    };

    explicit FakeHost(std::string programFolder = "/nonexistent/")
        : Folder(std::move(programFolder)), Localisation(std::make_unique<TLocalisation>(Folder)) {}

    TArtMemo& Editor() override { return *Memo; }
    std::string DocumentFile() const override { return File; }
    std::string LastSaveFolder() const override { return LastDir; }
    std::string ProgramFolder() const override { return Folder; }
    const TLocalisation& Texts() const override { return *Localisation; }
    QWidget* DialogParent() override { return Parent; }
    std::string ExecuteSaveDialog(const TSaveDialogRequest& request) override {
        Requests.push_back(request);
        return SaveDialog ? SaveDialog(request) : std::string();
    }
    void ShowErrorBox(TErrorBoxKind kind, const std::string& detail) override {
        Errors.push_back({kind, detail});
    }
    void ShowPlainMessage(const std::string& text) override { Messages.push_back(text); }
    TDonationSettings DonationSettings() const override { return Donation; }
    void SetDonationSettings(const TDonationSettings& values) override { Donation = values; }
    void SaveAllSettings() override { Saved.push_back(Donation); }

    // The document and the window as the documents see them; the fake keeps only the state.
    std::string DocumentExt() const override { return Ext; }
    bool IsDocumentModified() const override { return Modified; }
    void SetDocumentFile(const std::string& file) override {
        File = file;
        const size_t slash = file.rfind('/');
        const size_t dot = file.rfind('.');
        Ext.clear();
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            for (size_t i = dot; i < file.size(); ++i)
                Ext += static_cast<char>(std::tolower(static_cast<unsigned char>(file[i])));
    }
    void MarkDocumentSaved() override { Modified = false; }
    void UpdateTitle() override {}
    void ApplyDocumentWindowDimensions(bool) override {}
    void ApplyDocumentCells(const TSauceRecord*) override {}
    void FocusAfterOpen() override {}
    void FocusEditor() override {}
    void EditorFontChanged(bool) override {}
    void ShowLoadProgress(int percent) override { Progress.push_back(percent); }
    void ShowReplaceProgress(int percent) override { ReplaceProgress.push_back(percent); }
    TDocumentOptions DocumentOptions() const override { return Options; }
    std::vector<std::string>& RecentFiles() override { return Recent; }
    QMenu* RecentFilesMenu() override { return RecentMenu; }
    std::map<std::string, std::string>& RecentEncodings() override { return Encodings; }
    void ShowDocumentEncoding(const std::string& text) override { EncodingShown = text; }
    void SetLastSaveFolder(const std::string& folder) override { LastDir = folder; }
    void ReadStoredFont(const std::string&, const std::string&, const platform::FontValue&,
                        platform::FontValue&) override {}
    void WriteStoredFont(const std::string&, const std::string&, const platform::FontValue&) override {}
    std::string ExecuteOpenDialog(const TOpenDialogRequest&) override { return {}; }
    std::optional<platform::FontValue> ExecuteFontDialog(const platform::FontValue&) override {
        return std::nullopt;
    }
    TAnswer Ask(const QString&, bool withCancel) override {
        return withCancel ? TAnswer::Cancel : TAnswer::No;
    }

    TArtMemo* Memo = nullptr;
    std::string File;
    std::string LastDir;
    std::string Folder;
    std::unique_ptr<TLocalisation> Localisation;
    QWidget* Parent = nullptr;
    std::function<std::string(const TSaveDialogRequest&)> SaveDialog;
    std::vector<TSaveDialogRequest> Requests;
    std::vector<ErrorBox> Errors;
    std::vector<std::string> Messages;
    // Every load progress the documents showed, -1 marking a load's end.
    std::vector<int> Progress;
    std::vector<int> ReplaceProgress;
    TDonationSettings Donation;
    std::string Ext;
    bool Modified = false;
    TDocumentOptions Options;
    std::vector<std::string> Recent;
    QMenu* RecentMenu = nullptr;
    std::map<std::string, std::string> Encodings;
    std::string EncodingShown;
    // The donation settings as they stood at each save.
    std::vector<TDonationSettings> Saved;
};

} // namespace zandor::test
