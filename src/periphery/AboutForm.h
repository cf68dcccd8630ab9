// The About window: the product's name, its version and what it is, an Ok button and, when the
// project has a home page, a button that opens it.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace zandor {

class TLocalisation;

// Owns its labels and buttons through Qt parenthood. Created for each showing, translated at once.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // homePage: the address "Visit homepage" opens; the button is hidden while it is empty.
    TAboutForm(const TLocalisation& texts, const std::string& homePage, QWidget* parent = nullptr);

    // Opens the home page; set by whoever shows the window.
    std::function<void(const std::string& address)> OpenAddress;

    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Description = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* VisitButton = nullptr;
};

} // namespace zandor
