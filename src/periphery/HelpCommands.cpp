#include "periphery/HelpCommands.h"

#include "host/WebAddresses.h"
#include "host/ZandorHost.h"
#include "localisation/Localisation.h"
#include "periphery/AboutForm.h"
#include "periphery/ProgramVersion.h"
#include "periphery/WebPage.h"
#include "platform/FileSystem.h"

#include <QAction>
#include <QFile>

namespace zandor {

THelpCommands::THelpCommands(TZandorHost& host)
    : host_(host), helpFile_(host.ProgramFolder() + kHelpContents) {}

void THelpCommands::Help1Click() {
    if (!Lookfornewversion1)
        return;
    Lookfornewversion1->setText(host_.Texts().GetCaption(84, QStringLiteral("Look for new version")) +
                                QStringLiteral(" (") + QString::fromStdString(ProgramVersion()) +
                                QLatin1Char(')'));
}

void THelpCommands::Contents1Click() {
    if (!platform::FileExists(helpFile_)) {
        host_.ShowPlainMessage(host_.Texts().GetText(122, "The help pages are missing.") + "\n" + helpFile_);
        return;
    }
    OpenPage(host_, QUrl::fromLocalFile(QFile::decodeName(helpFile_.c_str())));
}

void THelpCommands::OpenWebPage(const char* address) {
    // The items of empty addresses are hidden; a key or a test that still reaches one opens nothing.
    if (*address == '\0')
        return;
    OpenPage(host_, WebAddress(address));
}

void THelpCommands::DonatePaypal1Click() {
    OpenWebPage(web::DonatePaypalUsd);
}

void THelpCommands::DonatePaypalEUR1Click() {
    OpenWebPage(web::DonatePaypalEur);
}

void THelpCommands::miDonateBTCClick() {
    OpenWebPage(web::DonateBitcoin);
}

void THelpCommands::Lookfornewversion1Click() {
    OpenWebPage(web::NewVersion);
}

void THelpCommands::OtherVeltraneSoftware1Click() {
    OpenWebPage(web::OtherSoftware);
}

void THelpCommands::About1Click() {
    TAboutForm form(host_.Texts(), web::HomePage, host_.DialogParent());
    form.OpenAddress = [this](const std::string& address) { OpenPage(host_, WebAddress(address.c_str())); };
    form.exec();
}

} // namespace zandor
