#include "periphery/DonationReminder.h"

#include "periphery/WebPage.h"

#include <exception>

namespace zandor {

int32_t DaysSince1899(const QDate& date) {
    return int32_t(QDate(1899, 12, 30).daysTo(date));
}

int64_t ReminderDueAfter(int32_t shownCount) {
    return int64_t(shownCount) * 100 + 100;
}

bool ReminderDue(const TDonationSettings& settings, int32_t today) {
    return !settings.DonationDoNotBother &&
           int64_t(today) - settings.InstallDate > ReminderDueAfter(settings.DonationShownCount);
}

TDonationSettings AfterReminder(TDonationSettings settings, bool remindAgain) {
    settings.DonationDoNotBother = !remindAgain;
    settings.DonationShownCount += 1;
    return settings;
}

TDonationReminder::TDonationReminder(TZandorHost& host) : host_(host) {}

bool TDonationReminder::StartUpCheck() const {
    // A reminder that offers no page to donate on would only be a nuisance.
    return Addresses.Any() && ReminderDue(host_.DonationSettings(), Today());
}

void TDonationReminder::DonateTimerTimer() {
    if (form_)
        return;
    try {
        auto* form = new TDonateForm(host_.Texts(), host_.DonationSettings().DonationShownCount, Addresses,
                                     host_.DialogParent());
        form->OpenAddress = [this](const std::string& address) {
            OpenPage(host_, WebAddress(address.c_str()));
        };
        form->OnClosed = [this](bool remindAgain) { FormClose(remindAgain); };
        form_ = form;
        form->show();
    } catch (const std::exception& e) {
        host_.ShowPlainMessage(e.what());
    }
}

void TDonationReminder::FormClose(bool remindAgain) {
    host_.SetDonationSettings(AfterReminder(host_.DonationSettings(), remindAgain));
    host_.SaveAllSettings();
}

} // namespace zandor
