#pragma once
// The desktop's default web browser. Looking it up writes no file: it reads the BROWSER
// variable, asks xdg-settings and xdg-mime for the default handler of web links and reads that
// handler's desktop entry, and falls back to the x-www-browser alternative.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "platform/browser.h"

namespace bx {

struct BrowserCommand {
    QString program;
    QStringList arguments; // the address is among them
    bool operator==(const BrowserCommand&) const = default;
};

// Finds the command that opens url, or nothing when no browser is known.
using BrowserLookup = std::function<std::optional<BrowserCommand>(const QString& url)>;
// Starts the command without waiting for it; false when it could not be started.
using BrowserStarter = std::function<bool(const BrowserCommand&)>;

class DesktopBrowser : public WebBrowser {
public:
    DesktopBrowser(); // the desktop's lookup and a detached start
    DesktopBrowser(BrowserLookup lookup, BrowserStarter starter);
    BrowserResult open(const std::string& url) override;

private:
    BrowserLookup lookup_;
    BrowserStarter starter_;
};

std::optional<BrowserCommand> desktopBrowserLookup(const QString& url);
bool startBrowserDetached(const BrowserCommand& command);

// The parts of the lookup, for tests.
// BROWSER holds commands separated by colons; the first whose program exists is used, with "%s"
// replaced by the address or the address appended.
std::optional<BrowserCommand> commandFromBrowserVariable(const QString& value, const QString& url);
// The Exec line of a desktop entry file with its field codes expanded for one address.
std::optional<BrowserCommand> commandFromDesktopEntry(const QString& desktopFilePath, const QString& url);
// The file of a desktop id ("firefox.desktop") in the applications folders, or empty.
QString desktopEntryPath(const QString& desktopId);

} // namespace bx
