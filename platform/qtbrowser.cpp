#include "platform/qtbrowser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace bx {

namespace {

bool programExists(const QString& program) {
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}

// The first line a helper program prints, or empty when it is missing, fails or hangs.
QString firstLineOf(const QString& program, const QStringList& arguments) {
    if (!programExists(program))
        return {};
    QProcess process;
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

std::optional<BrowserCommand> commandFromDesktopId(const QString& desktopId, const QString& url) {
    if (desktopId.isEmpty())
        return std::nullopt;
    const QString path = desktopEntryPath(desktopId);
    return path.isEmpty() ? std::nullopt : commandFromDesktopEntry(path, url);
}

} // namespace

std::optional<BrowserCommand> commandFromBrowserVariable(const QString& value, const QString& url) {
    for (const QString& entry : value.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        QStringList words = QProcess::splitCommand(entry);
        if (words.isEmpty() || !programExists(words.front()))
            continue;
        const QString program = words.takeFirst();
        bool placed = false;
        for (QString& word : words)
            if (word.contains(QLatin1String("%s"))) {
                word.replace(QLatin1String("%s"), url);
                placed = true;
            }
        if (!placed)
            words.append(url);
        return BrowserCommand{program, words};
    }
    return std::nullopt;
}

std::optional<BrowserCommand> commandFromDesktopEntry(const QString& desktopFilePath, const QString& url) {
    QFile file(desktopFilePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    QString exec;
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec=")))
            exec = line.mid(5);
    }
    QStringList words = QProcess::splitCommand(exec);
    if (words.isEmpty())
        return std::nullopt;
    const QString program = words.takeFirst();
    QStringList arguments;
    bool placed = false;
    for (const QString& word : words) {
        // Field codes: the address for the file and URL codes, nothing for the others.
        if (word == QLatin1String("%u") || word == QLatin1String("%U") || word == QLatin1String("%f") ||
            word == QLatin1String("%F")) {
            if (!placed)
                arguments.append(url);
            placed = true;
        } else if (word.size() == 2 && word.front() == QLatin1Char('%') && word != QLatin1String("%%")) {
            continue;
        } else {
            arguments.append(QString(word).replace(QLatin1String("%%"), QLatin1String("%")));
        }
    }
    if (!placed)
        arguments.append(url);
    return BrowserCommand{program, arguments};
}

QString desktopEntryPath(const QString& desktopId) {
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
}

std::optional<BrowserCommand> desktopBrowserLookup(const QString& url) {
    if (auto command = commandFromBrowserVariable(qEnvironmentVariable("BROWSER"), url))
        return command;
    const QString fromSettings = firstLineOf(QStringLiteral("xdg-settings"),
                                             {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (auto command = commandFromDesktopId(fromSettings, url))
        return command;
    for (const char* scheme : {"x-scheme-handler/https", "x-scheme-handler/http", "text/html"}) {
        const QString handler =
            firstLineOf(QStringLiteral("xdg-mime"),
                        {QStringLiteral("query"), QStringLiteral("default"), QLatin1String(scheme)});
        if (auto command = commandFromDesktopId(handler, url))
            return command;
    }
    if (programExists(QStringLiteral("x-www-browser")))
        return BrowserCommand{QStringLiteral("x-www-browser"), {url}};
    return std::nullopt;
}

bool startBrowserDetached(const BrowserCommand& command) {
    return QProcess::startDetached(command.program, command.arguments, QDir::homePath());
}

DesktopBrowser::DesktopBrowser() : DesktopBrowser(desktopBrowserLookup, startBrowserDetached) {}

DesktopBrowser::DesktopBrowser(BrowserLookup lookup, BrowserStarter starter)
    : lookup_(std::move(lookup)), starter_(std::move(starter)) {}

BrowserResult DesktopBrowser::open(const std::string& url) {
    const auto command = lookup_(QString::fromStdString(url));
    if (!command)
        return BrowserResult::NoBrowser;
    return starter_(*command) ? BrowserResult::Opened : BrowserResult::CouldNotOpen;
}

} // namespace bx
