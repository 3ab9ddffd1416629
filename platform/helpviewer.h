#pragma once
// Our help viewer: one window per help file showing a topic by context number, the contents or a
// keyword search. Object names: "helpviewer", "helpcontents", "helpback", "helpforward" (buttons),
// "helpsearch" (search box), "helptopics" (contents or search results), "helptext" (the page),
// "helpnote" (a short notice).
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/help.h"
#include "platform/helpfile.h"
#include "platform/messages.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
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

    // The pages shown before and after this one, as a browser goes back and forward: the two
    // buttons, Alt+Left / Alt+Right, Backspace outside the search box, mouse buttons 8 and 9.
    void goBack();
    void goForward();

    // The context of the topic on the page, or -1 while the contents are shown.
    int currentContext() const { return current_; }
    const HelpFile& file() const { return file_; }

signals:
    // Closed or hidden by the program (not minimised).
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shows a page (a context, or -1 for the contents) as a new step of the history.
    void visit(int page);
    // Shows the page at `at` of the history without adding to it.
    void goTo(std::size_t at);
    void showPage(int page);
    void showHistoryButtons();
    void openFirstMatch();
    void showTopic(const HelpTopic& topic);
    void listTopics(const std::vector<const HelpTopic*>& topics);
    void searchChanged(const QString& text);
    void linkClicked(const QUrl& url);
    void setNote(const QString& note);

    HelpFile file_;
    int current_ = -1;
    std::vector<int> pages_; // contexts visited; -1 for the contents
    std::size_t at_ = 0;     // the page shown, in pages_
    QPushButton* back_;
    QPushButton* forward_;
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
    void keepPlaces(SettingsStore* store) override;
    // The open viewer of that file, or null.
    HelpViewer* viewerFor(const std::string& helpFile) const;

private:
    HelpViewer* openViewer(const std::string& helpFile);
    std::unique_ptr<MessageService> ownMessages_;
    MessageService& messages_;
    std::map<std::string, std::unique_ptr<HelpViewer>> viewers_;
    SettingsStore* places_ = nullptr;
};

} // namespace bx
