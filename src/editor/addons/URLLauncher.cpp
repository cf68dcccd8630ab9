#include "editor/addons/URLLauncher.h"

#include "platform/CodePages.h"
#include "platform/ExternalOpener.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include <utility>

namespace zandor {

namespace {

QString FromAnsi(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        text.append(QChar(platform::Cp1252ToUnicode(static_cast<unsigned char>(c))));
    return text;
}

// The schemes of the addresses the highlighter recognises; their openers show a page, a mail or
// a news reader, or a terminal session, and start nothing local on their own.
bool KnownScheme(const QString& scheme) {
    static const QStringList known = {"http",   "https",  "ftp",    "mailto", "news",    "nntp",
                                      "gopher", "telnet", "tn3270", "wais",   "prospero"};
    return known.contains(scheme, Qt::CaseInsensitive);
}

// Files that the desktop would run rather than show when opened.
bool StartsSomething(const QFileInfo& file) {
    static const QStringList launchers = {"desktop", "exe", "com", "bat", "cmd", "msi", "jar", "appimage"};
    return file.isExecutable() || launchers.contains(file.suffix(), Qt::CaseInsensitive);
}

// The scheme of an address that begins with the host name the highlighter knows it by ("www.",
// "ftp.", "gopher."), or empty. What follows such a name up to a colon is a host, not a scheme:
// the host name "www." with ".example.org:8080/" after it has a port.
QString HostScheme(const QString& text) {
    static const std::pair<QString, QString> hosts[] = {
        {QStringLiteral("www."), QStringLiteral("http")},
        {QStringLiteral("ftp."), QStringLiteral("ftp")},
        {QStringLiteral("gopher."), QStringLiteral("gopher")},
    };
    for (const auto& [prefix, scheme] : hosts)
        if (text.startsWith(prefix, Qt::CaseInsensitive))
            return scheme;
    return {};
}

TLaunchPlan LocalPlan(const QString& path, const QUrl& url) {
    TLaunchPlan plan{TLaunchKind::Open, url, path};
    const QFileInfo file(path);
    if (file.isFile() && StartsSomething(file))
        plan.Kind = TLaunchKind::AskFirst;
    return plan;
}

} // namespace

TLaunchPlan TURLLauncher::Plan(const std::string& address) {
    const QString text = FromAnsi(address);
    if (text.trimmed().isEmpty())
        return {};
    if (const QString scheme = HostScheme(text); !scheme.isEmpty()) {
        const QUrl host(scheme + QStringLiteral("://") + text, QUrl::TolerantMode);
        if (!host.isValid())
            return {};
        return {TLaunchKind::Open, host, host.toDisplayString()};
    }
    static const QRegularExpression schemed(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (!schemed.match(text).hasMatch()) {
        // No scheme: a local file when one of that name exists, else a web address.
        if (QFileInfo::exists(text)) {
            const QString path = QFileInfo(text).absoluteFilePath();
            return LocalPlan(path, QUrl::fromLocalFile(path));
        }
        const QUrl web(QStringLiteral("http://") + text, QUrl::TolerantMode);
        if (!web.isValid())
            return {};
        return {TLaunchKind::Open, web, web.toDisplayString()};
    }
    const QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid())
        return {};
    if (url.scheme().compare(QStringLiteral("file"), Qt::CaseInsensitive) == 0) {
        // A file on another host cannot be looked at: asked like a program.
        const QString host = url.host();
        if (!host.isEmpty() && host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) != 0)
            return {TLaunchKind::AskFirst, url, url.toDisplayString()};
        return LocalPlan(url.toLocalFile(), url);
    }
    if (!KnownScheme(url.scheme()))
        return {TLaunchKind::AskFirst, url, url.toDisplayString()};
    return {TLaunchKind::Open, url, url.toDisplayString()};
}

bool TURLLauncher::Launch(const std::string& address) const {
    const TLaunchPlan plan = Plan(address);
    if (plan.Kind == TLaunchKind::Refuse)
        return false;
    if (plan.Kind == TLaunchKind::AskFirst && !(Confirm && Confirm(plan.Shown)))
        return false;
    return platform::OpenExternal(plan.Url);
}

TURLLauncher& TURLLauncher::Default() {
    static TURLLauncher launcher = [] {
        TURLLauncher l;
        l.Confirm = [](const QString& shown) {
            const QString question =
                QStringLiteral("This address starts a program or opens something that may run one:\n\n%1\n\n"
                               "Open it anyway?")
                    .arg(shown);
            return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Zandor"), question,
                                         QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::No) == QMessageBox::Yes;
        };
        return l;
    }();
    return launcher;
}

} // namespace zandor
