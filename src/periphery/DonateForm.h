// The donation reminder's window: how long Zandor has been in use, a request for a donation, the
// choice of being reminded again, and a button per donation page.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zandor {

class TLocalisation;

// The donation pages the reminder offers; a button whose address is empty is not shown.
struct TDonateAddresses {
    std::string Usd;
    std::string Eur;
    std::string Gbp;
    std::string Bitcoin;

    bool Any() const { return !Usd.empty() || !Eur.empty() || !Gbp.empty() || !Bitcoin.empty(); }
    // The program's own addresses (the web address table).
    static TDonateAddresses Program();
};

// The first line of the reminder: every "100" in the text becomes the days the reminder waited for,
// shownCount x 100 + 100.
QString ReminderHeadline(QString text, int shownCount);

// Owns its labels and buttons through Qt parenthood; deletes itself when closed. Stays on top of
// other windows and does not block the main window.
class TDonateForm : public QDialog {
    Q_OBJECT
public:
    TDonateForm(const TLocalisation& texts, int shownCount, const TDonateAddresses& addresses,
                QWidget* parent = nullptr);

    // Opens a donation page; set by whoever shows the window.
    std::function<void(const std::string& address)> OpenAddress;
    // Told once when the window closes, however it is closed: true when the user still wants to
    // be reminded (the first choice).
    std::function<void(bool remindAgain)> OnClosed;

    QLabel* Headline = nullptr;
    QLabel* Request = nullptr;
    QRadioButton* RemindAgain = nullptr;
    QRadioButton* DoNotBother = nullptr;
    QRadioButton* AlreadyDonated = nullptr;
    QPushButton* DonateUsd = nullptr;
    QPushButton* DonateEur = nullptr;
    QPushButton* DonateGbp = nullptr;
    QPushButton* DonateBitcoin = nullptr;
    QPushButton* OkButton = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool closed_ = false;
};

} // namespace zandor
