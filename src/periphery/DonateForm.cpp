#include "periphery/DonateForm.h"

#include "host/WebAddresses.h"
#include "localisation/Localisation.h"
#include "localisation/Tag.h"
#include "localisation/TranslateComponent.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zandor {

TDonateAddresses TDonateAddresses::Program() {
    return {web::DonatePaypalUsd, web::DonatePaypalEur, web::DonatePaypalGbp, web::DonateBitcoin};
}

QString ReminderHeadline(QString text, int shownCount) {
    return text.replace(QStringLiteral("100"), QString::number(qint64(shownCount) * 100 + 100));
}

TDonateForm::TDonateForm(const TLocalisation& texts, int shownCount, const TDonateAddresses& addresses,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("DonateForm"));
    setWindowTitle(QStringLiteral("Zandor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    Headline = new QLabel(this);
    QFont bold = Headline->font();
    bold.setBold(true);
    Headline->setFont(bold);
    Headline->setText(ReminderHeadline(
        texts.GetCaption(87, QStringLiteral("You have been using Zandor for more than 100 days!")),
        shownCount));
    Request = new QLabel(this);
    Request->setWordWrap(true);
    Request->setText(
        texts.GetCaption(88,
                         QStringLiteral("Please consider a Paypal donation to support Zandor development.")) +
        QLatin1Char(' ') +
        texts.GetCaption(89, QStringLiteral("This way you help to improve it in the future!")));
    layout->addWidget(Headline);
    layout->addWidget(Request);

    const auto radio = [this, layout](const char* name, int tag, const char* caption) {
        auto* button = new QRadioButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        SetTag(button, tag);
        layout->addWidget(button);
        return button;
    };
    RemindAgain = radio("RemindAgain", 90, "Reminder me in another 100 days.");
    DoNotBother = radio("DoNotBother", 91, "Do not bother me with donation requests anymore.");
    AlreadyDonated = radio("AlreadyDonated", 92, "I have already donated.");
    RemindAgain->setChecked(true);

    auto* buttons = new QHBoxLayout();
    layout->addLayout(buttons);
    const QString donate = texts.GetCaption(79, QStringLiteral("Donate"));
    const auto donateButton = [&](const char* name, const char* currency, const std::string& address) {
        auto* button = new QPushButton(donate + QString::fromLatin1(currency), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(QString::fromUtf8(address.c_str()));
        button->setAutoDefault(false);
        button->setVisible(!address.empty());
        connect(button, &QPushButton::clicked, this, [this, address] {
            if (OpenAddress)
                OpenAddress(address);
        });
        buttons->addWidget(button);
        return button;
    };
    DonateUsd = donateButton("DonateUsd", " (USD)", addresses.Usd);
    DonateEur = donateButton("DonateEur", " (EURO)", addresses.Eur);
    DonateGbp = donateButton("DonateGbp", " (GBP)", addresses.Gbp);
    DonateBitcoin = donateButton("DonateBitcoin", " (Bitcoin)", addresses.Bitcoin);
    buttons->addStretch();
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    SetTag(OkButton, 98);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(OkButton);

    TranslateComponent(texts, this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TDonateForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TDonateForm::done(int result) {
    // Ok, Escape and the window's close button all end here; the choice is told once.
    if (!closed_) {
        closed_ = true;
        if (OnClosed)
            OnClosed(RemindAgain->isChecked());
    }
    QDialog::done(result);
}

} // namespace zandor
