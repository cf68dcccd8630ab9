#include "periphery/DonationReminder.h"

#include "support/FakeHost.h"
#include "support/OpenerLog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace zandor;
using zandor::test::FakeHost;
using zandor::test::OpenerLog;

namespace {

constexpr int32_t kInstalled = 45000; // a day in 2023

TDonateAddresses SomePages() {
    TDonateAddresses pages;
    pages.Usd = "https://example.org/donate-usd";
    pages.Bitcoin = "bitcoin:example";
    return pages;
}

class Reminder : public ::testing::Test {
protected:
    FakeHost host;
    TDonationReminder reminder{host};
    int32_t today = kInstalled;

    void SetUp() override {
        reminder.Addresses = SomePages();
        reminder.Today = [this] { return today; };
        host.Donation.InstallDate = kInstalled;
    }

    // Shows the reminder as the timer does; the window it opened.
    TDonateForm* Show() {
        reminder.DonateTimerTimer();
        QApplication::processEvents();
        return reminder.Form();
    }

    // Closing deletes the window once the event loop gets to it.
    void Gone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
};

} // namespace

// 150 days after the installation the first reminder is due; closed with "remind me", it is due
// again only once more than 200 days have passed, and then says so.
TEST_F(Reminder, ComesAtDay150AndAfterRemindAgainNotBeforeDay201) {
    today = kInstalled + 150;
    ASSERT_TRUE(reminder.StartUpCheck());
    TDonateForm* form = Show();
    ASSERT_NE(nullptr, form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(QStringLiteral("Zandor"), form->windowTitle());
    EXPECT_EQ(QStringLiteral("You have been using Zandor for more than 100 days!"), form->Headline->text());
    EXPECT_EQ(QStringLiteral("Please consider a Paypal donation to support Zandor development. This way you "
                             "help to improve it in the future!"),
              form->Request->text());
    EXPECT_TRUE(form->RemindAgain->isChecked());
    // Only the pages the program has are offered.
    EXPECT_TRUE(form->DonateUsd->isVisible());
    EXPECT_FALSE(form->DonateEur->isVisible());
    EXPECT_FALSE(form->DonateGbp->isVisible());
    EXPECT_TRUE(form->DonateBitcoin->isVisible());
    EXPECT_EQ(QStringLiteral("Donate (USD)"), form->DonateUsd->text());
    EXPECT_EQ(QStringLiteral("Donate (Bitcoin)"), form->DonateBitcoin->text());
    EXPECT_TRUE(host.Saved.empty());

    form->OkButton->click();
    Gone();
    EXPECT_EQ(nullptr, reminder.Form());
    ASSERT_EQ(1u, host.Saved.size()) << "closing saves all settings at once";
    EXPECT_EQ(1, host.Saved[0].DonationShownCount);
    EXPECT_FALSE(host.Saved[0].DonationDoNotBother);
    EXPECT_EQ(kInstalled, host.Saved[0].InstallDate);

    for (today = kInstalled + 150; today <= kInstalled + 200; ++today)
        ASSERT_FALSE(reminder.StartUpCheck()) << "day " << today - kInstalled;
    today = kInstalled + 201;
    EXPECT_TRUE(reminder.StartUpCheck());
    form = Show();
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(QStringLiteral("You have been using Zandor for more than 200 days!"), form->Headline->text());
    form->close();
    Gone();
    EXPECT_EQ(2, host.Donation.DonationShownCount);
}

namespace {

struct ChoiceRow {
    const char* Name;
    int Choice;  // 0: remind again, 1: do not bother, 2: already donated
    int Closing; // 0: Ok, 1: the window's close button, 2: Escape
    bool RemindedAgain;
};

void PrintTo(const ChoiceRow& row, std::ostream* os) {
    *os << row.Name;
}

class ReminderChoice : public Reminder, public ::testing::WithParamInterface<ChoiceRow> {};

} // namespace

// However the window is closed, the choice made in it counts, and only "remind me" keeps the
// reminders coming.
TEST_P(ReminderChoice, OnlyTheFirstChoiceKeepsTheRemindersComing) {
    const ChoiceRow row = GetParam();
    today = kInstalled + 150;
    TDonateForm* form = Show();
    ASSERT_NE(nullptr, form);
    QRadioButton* choices[] = {form->RemindAgain, form->DoNotBother, form->AlreadyDonated};
    choices[row.Choice]->click();
    ASSERT_TRUE(choices[row.Choice]->isChecked());
    if (row.Closing == 0)
        form->OkButton->click();
    else if (row.Closing == 1)
        form->close();
    else {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(form, &escape);
    }
    Gone();
    ASSERT_EQ(1u, host.Saved.size());
    EXPECT_EQ(!row.RemindedAgain, host.Donation.DonationDoNotBother);
    EXPECT_EQ(1, host.Donation.DonationShownCount);
    today = kInstalled + 100000;
    EXPECT_EQ(row.RemindedAgain, reminder.StartUpCheck());
}

INSTANTIATE_TEST_SUITE_P(Choices, ReminderChoice,
                         ::testing::Values(ChoiceRow{"RemindAgainByCloseButton", 0, 1, true},
                                           ChoiceRow{"DoNotBotherByOk", 1, 0, false},
                                           ChoiceRow{"AlreadyDonatedByEscape", 2, 2, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A donate button hands its page to the desktop, and a desktop that cannot open it is reported.
TEST_F(Reminder, ADonateButtonOpensItsPage) {
    today = kInstalled + 150;
    TDonateForm* form = Show();
    ASSERT_NE(nullptr, form);
    OpenerLog opener;
    form->DonateUsd->click();
    ASSERT_EQ(1u, opener.Opened.size());
    EXPECT_EQ(QUrl(QStringLiteral("https://example.org/donate-usd")), opener.Opened[0]);
    EXPECT_TRUE(form->isVisible()) << "the reminder stays until the user closes it";
    opener.Answer = false;
    form->DonateBitcoin->click();
    ASSERT_EQ(1u, host.Messages.size());
    EXPECT_NE(std::string::npos, host.Messages[0].find("bitcoin:example"));
    // A second firing while the window is open shows no second window.
    reminder.DonateTimerTimer();
    EXPECT_EQ(form, reminder.Form());
    form->close();
    Gone();
}
