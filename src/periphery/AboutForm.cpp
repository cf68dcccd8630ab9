#include "periphery/AboutForm.h"

#include "localisation/Localisation.h"
#include "localisation/Tag.h"
#include "localisation/TranslateComponent.h"
#include "periphery/ProgramVersion.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zandor {

namespace {

constexpr int kClientWidth = 391;
constexpr int kClientHeight = 158;

QLabel* CentredLine(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TAboutForm::TAboutForm(const TLocalisation& texts, const std::string& homePage, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(texts.GetCaption(96, QStringLiteral("About")));
    setFixedSize(kClientWidth, kClientHeight);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(8, 8, kClientWidth - 16, 104);
    auto* lines = new QVBoxLayout(panel);
    ProductName = CentredLine(panel, QStringLiteral("Zandor"));
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    Version = CentredLine(panel, QString::fromStdString(ProgramVersion()));
    Description = CentredLine(panel, QStringLiteral("A viewer and editor for text-mode art and plain text"));
    lines->addWidget(ProductName);
    lines->addWidget(Version);
    lines->addWidget(Description);

    VisitButton = new QPushButton(QStringLiteral("Visit homepage"), this);
    VisitButton->setObjectName(QStringLiteral("VisitButton"));
    SetTag(VisitButton, 97);
    VisitButton->setGeometry(8, 122, 130, 27);
    VisitButton->setToolTip(QString::fromUtf8(homePage.c_str()));
    VisitButton->setVisible(!homePage.empty());
    connect(VisitButton, &QPushButton::clicked, this, [this] {
        if (OpenAddress)
            OpenAddress(VisitButton->toolTip().toStdString());
    });

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    SetTag(OkButton, 98);
    OkButton->setGeometry(kClientWidth - 8 - 90, 122, 90, 27);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);

    TranslateComponent(texts, this);
}

} // namespace zandor
