// The commands the window hands to its features: the GIF picture of the text and the donation
// reminder, reached through the menu item and the timer as a user reaches them.
#include "WindowFixture.h"

#include "app/Settings.h"
#include "periphery/DonateForm.h"
#include "periphery/DonationReminder.h"

#include <QAction>
#include <QImageReader>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

using namespace zandor;
using zandor::test::WindowFixture;

namespace {

using WindowCommands = WindowFixture;

} // namespace

// "Save as GIF image..." writes the picture of the editor's text area under the name the dialog
// returns, proposes the file's own name in the last save folder, and leaves that folder setting
// alone; a write that fails shows the error box of saving.
TEST_F(WindowCommands, SaveAsGifWritesThePictureOfTheTextArea) {
    const std::string art =
        dir.write("art/logo.nfo", "\xC9\xCD\xCD\xBB Zandor\r\n\xBA\xB0\xB1\xB2\xBA\r\n\xC8\xCD\xCD\xBC");
    auto w = Create(art, true);
    w->Settings.LastDir = dir.path() + "/pictures/";
    std::vector<TSaveDialogRequest> requests;
    std::string answer = dir.file("logo.gif");
    w->RunSaveDialog = [&](const TSaveDialogRequest& request) {
        requests.push_back(request);
        return answer;
    };
    std::vector<std::pair<QString, QString>> errors;
    w->ShowError = [&](const QString& caption, const QString& text) { errors.emplace_back(caption, text); };
    ASSERT_TRUE(w->Menu.Saveasgraphic1->isEnabled());
    w->Menu.Saveasgraphic1->trigger();

    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("logo.gif", requests[0].FileName);
    EXPECT_EQ(dir.path() + "/pictures/", requests[0].InitialFolder);
    EXPECT_EQ(dir.path() + "/pictures/", w->Settings.LastDir);
    QImageReader reader(QString::fromStdString(answer));
    EXPECT_EQ(QByteArray("gif"), reader.format());
    EXPECT_EQ(w->m->viewport()->size(), reader.read().size());
    EXPECT_TRUE(errors.empty());

    answer = art + "/inside-a-file.gif";
    w->Menu.Saveasgraphic1->trigger();
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ(QStringLiteral("Error"), errors[0].first);
    EXPECT_TRUE(errors[0].second.startsWith(QStringLiteral("The file could not be saved.\n\n")));
    EXPECT_TRUE(errors[0].second.contains(QString::fromStdString(answer)));
}

// Installed 150 days ago and never reminded: the program has no donation page, so no reminder is
// armed. With pages the window's timer brings the reminder about two seconds later; the choice is
// written to the settings at once, and "do not bother me" ends the reminders for later starts.
TEST_F(WindowCommands, TheDonationReminderComesFromTheTimerAndItsChoiceIsStored) {
    EXPECT_EQ(TodayAsDays(), DaysSince1899(QDate::currentDate()));
    Store().WriteInteger("Options", "InstallDate", TodayAsDays() - 150);
    Store().WriteInteger("Options", "DonationShownCount", 0);
    auto w = Create("", true);
    EXPECT_FALSE(w->DonateTimer->isActive());
    EXPECT_EQ(2000, w->DonateTimer->interval());

    TDonateAddresses pages;
    pages.Eur = "https://example.org/eur";
    w->Donation->Addresses = pages;
    ASSERT_TRUE(w->Donation->StartUpCheck());
    w->DonateTimer->start();
    ASSERT_TRUE(ProcessUntil([&] { return w->Donation->Form() != nullptr; }));
    EXPECT_FALSE(w->DonateTimer->isActive());
    TDonateForm* form = w->Donation->Form();
    EXPECT_EQ(w.get(), form->parentWidget());
    EXPECT_TRUE(form->DonateEur->isVisibleTo(form));
    form->DoNotBother->click();
    form->close();
    ASSERT_TRUE(ProcessUntil([&] { return w->Donation->Form() == nullptr; }));
    EXPECT_TRUE(Store().ReadBool("Options", "DonationDoNotBother", false));
    EXPECT_EQ(1, Store().ReadInteger("Options", "DonationShownCount", 0));
    w->close();
    w.reset();

    auto again = Create("", true);
    again->Donation->Addresses = pages;
    EXPECT_FALSE(again->Donation->StartUpCheck());
}
