// The donation reminder: a while after the install date, and every hundred days after each
// reminder the user asked for, a window asks for a donation a couple of seconds after start-up.
// Nothing is asked while the program has no donation page to offer.
#pragma once

#include "host/ZandorHost.h"
#include "periphery/DonateForm.h"

#include <QDate>
#include <QPointer>

#include <cstdint>
#include <functional>

namespace zandor {

// Days since 30 December 1899, the count the install date is stored in.
int32_t DaysSince1899(const QDate& date);

// The days after the install date from which the next reminder is due: shownCount x 100 + 100.
int64_t ReminderDueAfter(int32_t shownCount);

// True when the user has not declined reminders and more days than ReminderDueAfter have passed
// since the install date.
bool ReminderDue(const TDonationSettings& settings, int32_t today);

// The settings after a reminder was closed: one more reminder shown, and none ever again unless the
// user asked to be reminded.
TDonationSettings AfterReminder(TDonationSettings settings, bool remindAgain);

// Refers to the window it serves (which owns it and its DonateTimer); the reminder window it opens
// belongs to the main window and deletes itself when closed.
class TDonationReminder {
public:
    explicit TDonationReminder(TZandorHost& host);
    TDonationReminder(const TDonationReminder&) = delete;
    TDonationReminder& operator=(const TDonationReminder&) = delete;

    // At the end of the window's creation: true when the window is to start DonateTimer.
    bool StartUpCheck() const;
    // DonateTimer fired (the window stopped it): the reminder window is shown without blocking.
    void DonateTimerTimer();
    // The reminder window while it is open.
    TDonateForm* Form() const { return form_; }

    // The donation pages to offer; the program's own table unless a test puts others in.
    TDonateAddresses Addresses = TDonateAddresses::Program();
    // Today as days since 30 December 1899.
    std::function<int32_t()> Today = [] { return DaysSince1899(QDate::currentDate()); };

private:
    void FormClose(bool remindAgain);

    TZandorHost& host_;
    QPointer<TDonateForm> form_;
};

} // namespace zandor
