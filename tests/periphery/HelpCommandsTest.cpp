#include "periphery/HelpCommands.h"
#include "periphery/AboutForm.h"
#include "periphery/ProgramVersion.h"

#include "support/FakeHost.h"
#include "support/OpenerLog.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sys/stat.h>

using namespace zandor;
using zandor::test::FakeHost;
using zandor::test::OpenerLog;
using zandor::test::ScratchDir;

namespace {

const std::string kBuilt = std::string(ZANDOR_BINARY_DIR_BUILT) + "/";
const std::string kSource = std::string(ZANDOR_SOURCE_DIR_BUILT) + "/";

// The version the project declares in its build file.
QString ProjectVersion() {
    const QString cmake = QString::fromUtf8(zandor::test::readFile(kSource + "CMakeLists.txt"));
    const auto match =
        QRegularExpression(QStringLiteral(R"(project\(Zandor VERSION ([0-9.]+))")).match(cmake);
    return match.captured(1);
}

} // namespace

// Contents opens the first help page beside the program in the browser; pages that are missing,
// and a desktop that cannot show them, are reported with the path.
TEST(HelpCommands, ContentsOpensTheShippedFirstPageOrSaysWhatWentWrong) {
    FakeHost host(kBuilt);
    THelpCommands help(host);
    OpenerLog opener;
    help.Contents1Click();
    ASSERT_EQ(1u, opener.Opened.size());
    const QUrl page = opener.Opened[0];
    ASSERT_TRUE(page.isLocalFile()) << page.toString().toStdString();
    EXPECT_EQ(QFileInfo(QString::fromStdString(kBuilt + "help/index.html")).absoluteFilePath(),
              QFileInfo(page.toLocalFile()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo::exists(page.toLocalFile()));
    EXPECT_TRUE(host.Messages.empty());

    opener.Answer = false;
    help.Contents1Click();
    ASSERT_EQ(1u, host.Messages.size());
    EXPECT_NE(std::string::npos, host.Messages[0].find(help.HelpFile()));

    ScratchDir empty;
    FakeHost bare(empty.path() + "/");
    THelpCommands missing(bare);
    missing.Contents1Click();
    EXPECT_EQ(2u, opener.Opened.size()) << "a missing page is not handed to the browser";
    ASSERT_EQ(1u, bare.Messages.size());
    EXPECT_NE(std::string::npos, bare.Messages[0].find(empty.path() + "/help/index.html"));
}

// A desktop whose opener finds no browser starts the opener, which then gives up: the user is told
// so in the loaded language, with the page, instead of seeing nothing happen.
TEST(HelpCommands, ContentsSaysSoWhenTheDesktopsOpenerGivesUp) {
    ScratchDir tools;
    const std::string opener =
        tools.write("bin/xdg-open", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/asked\"\nexit 3\n");
    ASSERT_EQ(0, chmod(opener.c_str(), 0755));
    zandor::test::EnvGuard path("PATH", tools.file("bin") + ":" + std::getenv("PATH"));
    FakeHost host(kBuilt);
    host.Localisation = std::make_unique<TLocalisation>(kSource);
    ASSERT_EQ("German", host.Localisation->LoadLanguage("German"));
    QWidget window;
    host.Parent = &window;
    THelpCommands help(host);
    help.Contents1Click();
    QDeadlineTimer deadline(10000);
    while (host.Messages.empty() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(1u, host.Messages.size());
    EXPECT_EQ("Es konnte kein Programm gestartet werden, das diese Seite anzeigt.\n" + help.HelpFile(),
              host.Messages[0]);
    // The page went to the opener as one address of its own.
    EXPECT_EQ(QUrl::fromLocalFile(QString::fromStdString(help.HelpFile())).toEncoded() + '|',
              zandor::test::readFile(tools.file("bin/asked")));
}

// Opening the Help menu names the version in "Look for new version", in the loaded language.
TEST(HelpCommands, TheMenuNamesTheProjectVersionInTheLoadedLanguage) {
    const QString version = ProjectVersion();
    ASSERT_FALSE(version.isEmpty());
    EXPECT_EQ(version.toStdString(), ProgramVersion());
    FakeHost host(kSource);
    THelpCommands help(host);
    QAction item(QStringLiteral("Look for new version"));
    help.Lookfornewversion1 = &item;
    help.Help1Click();
    EXPECT_EQ(QStringLiteral("Look for new version (") + version + QLatin1Char(')'), item.text());
    ASSERT_EQ("German", host.Localisation->LoadLanguage("German"));
    help.Help1Click();
    EXPECT_EQ(QStringLiteral("Nach neuer Version suchen (") + version + QLatin1Char(')'), item.text());
}

// The About window names the product and its version; "Visit homepage" is there only with a home
// page, and then opens it.
TEST(AboutWindow, ShowsTheVersionAndOffersTheHomePageOnlyWhenThereIsOne) {
    FakeHost host(kSource);
    TAboutForm bare(host.Texts(), "");
    EXPECT_EQ(QStringLiteral("About"), bare.windowTitle());
    EXPECT_EQ(QStringLiteral("Zandor"), bare.ProductName->text());
    EXPECT_TRUE(bare.ProductName->font().bold());
    EXPECT_EQ(ProjectVersion(), bare.Version->text());
    EXPECT_FALSE(bare.VisitButton->isVisibleTo(&bare));
    EXPECT_TRUE(bare.OkButton->isDefault());
    EXPECT_EQ(QSize(391, 158), bare.size());

    ASSERT_EQ("German", host.Localisation->LoadLanguage("German"));
    TAboutForm linked(host.Texts(), "https://example.org/zandor");
    EXPECT_EQ(QStringLiteral("Über Zandor"), linked.windowTitle());
    EXPECT_EQ(QStringLiteral("Homepage besuchen"), linked.VisitButton->text());
    EXPECT_TRUE(linked.VisitButton->isVisibleTo(&linked));
    std::vector<std::string> opened;
    linked.OpenAddress = [&](const std::string& address) { opened.push_back(address); };
    linked.show();
    linked.VisitButton->click();
    EXPECT_EQ(std::vector<std::string>{"https://example.org/zandor"}, opened);
    linked.OkButton->click();
    EXPECT_FALSE(linked.isVisible());
    EXPECT_EQ(QDialog::Accepted, linked.result());
}

// The help pages beside the built program are those of the source tree; every page can be reached
// from the first one, and every link and style sheet they name is there. They lead nowhere on the
// web: the project has no pages there.
TEST(HelpPages, EveryPageIsShippedReachableAndLinksOnlyToPagesThatExist) {
    const QDir built(QString::fromStdString(kBuilt + "help"));
    const QDir source(QString::fromStdString(kSource + "help"));
    const QStringList shipped =
        built.entryList({QStringLiteral("*.html"), QStringLiteral("*.css")}, QDir::Files);
    EXPECT_EQ(source.entryList({QStringLiteral("*.html"), QStringLiteral("*.css")}, QDir::Files), shipped);
    ASSERT_TRUE(shipped.contains(QStringLiteral("index.html")));

    const QRegularExpression link(QStringLiteral(R"re((?:href|src)="([^"]*)")re"));
    std::set<QString> reached{QStringLiteral("index.html")};
    std::vector<QString> queue{QStringLiteral("index.html")};
    while (!queue.empty()) {
        const QString page = queue.back();
        queue.pop_back();
        const QString html = QString::fromUtf8(zandor::test::readFile(built.filePath(page).toStdString()));
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1).section(QLatin1Char('#'), 0, 0);
            ASSERT_FALSE(target.contains(QLatin1Char(':')))
                << page.toStdString() << " links to " << target.toStdString();
            if (target.isEmpty())
                continue;
            EXPECT_TRUE(shipped.contains(target))
                << page.toStdString() << " links to " << target.toStdString();
            if (target.endsWith(QStringLiteral(".html")) && reached.insert(target).second)
                queue.push_back(target);
        }
    }
    for (const QString& page : shipped) {
        if (page.endsWith(QStringLiteral(".html"))) {
            EXPECT_TRUE(reached.count(page)) << page.toStdString() << " cannot be reached from index.html";
        }
    }
}
