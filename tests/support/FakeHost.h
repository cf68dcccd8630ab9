// A stand-in for the main window as the features see it: it records what they ask of it (dialogs,
// boxes, saves of the settings) and answers from fields the test sets.
#pragma once

#include "host/ZandorHost.h"
#include "localisation/Localisation.h"

#include <functional>
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
    TDonationSettings Donation;
    // The donation settings as they stood at each save.
    std::vector<TDonationSettings> Saved;
};

} // namespace zandor::test
