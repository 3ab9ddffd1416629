#pragma once
// Our help viewer: one window per help file showing a topic by context number, the contents or a
// keyword search. Object names: "helpviewer", "helpcontents" (button), "helpsearch" (search box),
// "helptopics" (contents or search results), "helptext" (the page), "helpnote" (a short notice).
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "platform/help.h"
#include "platform/helpfile.h"
#include "platform/messages.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QUrl;

namespace bx {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(HelpFile file, QWidget* parent = nullptr);

    // Help command 1: the topic of that context; an unknown one gives the contents with a note.
    void showContext(int context);
    // Help command 3.
    void showContents();
    // Help command 261: the search box takes the focus; the list shows the topics matching it.
    void showSearch();

    // The context of the topic on the page, or -1 while the contents are shown.
    int currentContext() const { return current_; }
    const HelpFile& file() const { return file_; }

private:
    void showTopic(const HelpTopic& topic);
    void listTopics(const std::vector<const HelpTopic*>& topics);
    void searchChanged(const QString& text);
    void linkClicked(const QUrl& url);
    void setNote(const QString& note);

    HelpFile file_;
    int current_ = -1;
    QLineEdit* search_;
    QListWidget* topics_;
    QTextBrowser* text_;
    QLabel* note_;
};

// Opens one viewer per help file (by its absolute path) and reuses it. A help file that cannot
// be read or parsed is reported through messages and nothing else happens; it is read again on
// the next request.
class ViewerHelpService : public HelpService {
public:
    // Reports through message boxes of its own.
    ViewerHelpService();
    // Reports through messages (tests pass a fake).
    explicit ViewerHelpService(MessageService& messages);
    ~ViewerHelpService() override;
    void showHelp(const std::string& helpFile, int command, int context = 0) override;
    // The open viewer of that file, or null.
    HelpViewer* viewerFor(const std::string& helpFile) const;

private:
    HelpViewer* openViewer(const std::string& helpFile);
    std::unique_ptr<MessageService> ownMessages_;
    MessageService& messages_;
    std::map<std::string, std::unique_ptr<HelpViewer>> viewers_;
};

} // namespace bx
