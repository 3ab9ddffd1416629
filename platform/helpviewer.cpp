#include "platform/helpviewer.h"
#include "platform/widgetparts.h"

#include "platform/qtmessages.h"
#include "platform/windowplaces.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <limits>

#include "text/numbers.h"

namespace bx {

namespace {

QString html(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

QString topicLink(const HelpTopic& topic) {
    return QStringLiteral("<a href=\"topic:%1\">%2</a>").arg(topic.context).arg(html(topic.title));
}

QString topicPage(const HelpFile& file, const HelpTopic& topic) {
    QString page = QStringLiteral("<h2>%1</h2>").arg(html(topic.title));
    bool inList = false;
    for (const HelpBlock& block : topic.body) {
        if (block.kind != HelpBlock::Bullet && inList) {
            page += QStringLiteral("</ul>");
            inList = false;
        }
        switch (block.kind) {
        case HelpBlock::Bullet:
            if (!inList)
                page += QStringLiteral("<ul>");
            inList = true;
            page += QStringLiteral("<li>%1</li>").arg(html(block.text));
            break;
        case HelpBlock::Heading:
            page += QStringLiteral("<h3>%1</h3>").arg(html(block.text));
            break;
        case HelpBlock::Paragraph:
            page += QStringLiteral("<p>%1</p>").arg(html(block.text));
            break;
        }
    }
    if (inList)
        page += QStringLiteral("</ul>");
    if (!topic.seeAlso.empty()) {
        page += QStringLiteral("<p><b>See also:</b></p><ul>");
        for (int context : topic.seeAlso)
            page += QStringLiteral("<li>%1</li>").arg(topicLink(*file.find(context)));
        page += QStringLiteral("</ul>");
    }
    return page;
}

} // namespace

HelpViewer::HelpViewer(HelpFile file, QWidget* parent)
    : QWidget(parent, Qt::Window), file_(std::move(file)), back_(new QPushButton(tr("&Back"))),
      forward_(new QPushButton(tr("&Forward"))), search_(new QLineEdit), topics_(new QListWidget),
      text_(new QTextBrowser), note_(new QLabel) {
    setObjectName("helpviewer");
    setWindowTitle(file_.title().empty() ? QStringLiteral("Bramblex Help")
                                         : QString::fromStdString(file_.title()));

    auto* contents = new QPushButton(tr("&Contents"));
    contents->setObjectName("helpcontents");
    back_->setObjectName("helpback");
    back_->setToolTip(tr("Back (Alt+Left)"));
    forward_->setObjectName("helpforward");
    forward_->setToolTip(tr("Forward (Alt+Right)"));
    search_->setObjectName("helpsearch");
    search_->setPlaceholderText(tr("Search for a word"));
    search_->setClearButtonEnabled(true);
    topics_->setObjectName("helptopics");
    text_->setObjectName("helptext");
    text_->setOpenLinks(false);
    note_->setObjectName("helpnote");
    note_->setWordWrap(true);
    note_->hide();

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(contents);
    sideLayout->addLayout(buttons);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(topics_);
    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(text_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 500});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(splitter);
    resize(760, 520);

    connect(contents, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(back_, &QPushButton::clicked, this, &HelpViewer::goBack);
    connect(forward_, &QPushButton::clicked, this, &HelpViewer::goForward);
    connect(search_, &QLineEdit::returnPressed, this, &HelpViewer::openFirstMatch);
    connect(search_, &QLineEdit::textChanged, this, &HelpViewer::searchChanged);
    connect(topics_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showContext(item->data(Qt::UserRole).toInt()); });
    connect(topics_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showContext(item->data(Qt::UserRole).toInt()); });
    connect(text_, &QTextBrowser::anchorClicked, this, &HelpViewer::linkClicked);
    // The history's keys and mouse buttons work over every part of the window.
    installEventFilter(this);
    for (QWidget* part : findChildren<QWidget*>())
        part->installEventFilter(this);
    showContents();
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::BackButton || button == Qt::ForwardButton) {
            button == Qt::BackButton ? goBack() : goForward();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers() == Qt::AltModifier;
        // Backspace edits the search box; elsewhere it goes back, as in a browser.
        const bool back =
            key->key() == Qt::Key_Back || (alt && key->key() == Qt::Key_Left) ||
            (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier && watched != search_);
        const bool forward = key->key() == Qt::Key_Forward || (alt && key->key() == Qt::Key_Right);
        if (back || forward) {
            back ? goBack() : goForward();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpViewer::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit hidden();
}

// The page shown again is no new step.
void HelpViewer::visit(int page) {
    if (!pages_.empty() && pages_[at_] == page) {
        goTo(at_);
        return;
    }
    pages_.resize(pages_.empty() ? 0 : at_ + 1); // a new step drops the pages ahead
    pages_.push_back(page);
    goTo(pages_.size() - 1);
}

void HelpViewer::goTo(std::size_t at) {
    at_ = at;
    showPage(pages_[at]);
    showHistoryButtons();
}

void HelpViewer::goBack() {
    if (at_ > 0)
        goTo(at_ - 1);
}

void HelpViewer::goForward() {
    if (at_ + 1 < pages_.size())
        goTo(at_ + 1);
}

void HelpViewer::showHistoryButtons() {
    back_->setEnabled(at_ > 0);
    forward_->setEnabled(at_ + 1 < pages_.size());
}

// The topics listed for the words typed: Enter opens the first.
void HelpViewer::openFirstMatch() {
    if (topics_->count() > 0)
        showContext(topics_->item(0)->data(Qt::UserRole).toInt());
}

void HelpViewer::setNote(const QString& note) {
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

void HelpViewer::listTopics(const std::vector<const HelpTopic*>& topics) {
    topics_->clear();
    for (const HelpTopic* topic : topics) {
        auto* item = new QListWidgetItem(QString::fromStdString(topic->title), topics_);
        item->setData(Qt::UserRole, topic->context);
    }
}

void HelpViewer::showTopic(const HelpTopic& topic) {
    current_ = topic.context;
    text_->setHtml(topicPage(file_, topic));
    for (int row = 0; row < topics_->count(); ++row)
        if (topics_->item(row)->data(Qt::UserRole).toInt() == topic.context)
            topics_->setCurrentRow(row);
}

void HelpViewer::showContext(int context) {
    if (file_.find(context)) {
        visit(context);
        return;
    }
    showContents();
    setNote(tr("There is no help topic for context %1; here are the contents.").arg(context));
}

void HelpViewer::showContents() {
    visit(-1);
}

void HelpViewer::showPage(int page) {
    setNote({});
    if (const HelpTopic* topic = page < 0 ? nullptr : file_.find(page)) {
        showTopic(*topic);
        return;
    }
    current_ = -1;
    search_->clear();
    const auto contents = file_.contents();
    listTopics(contents);
    QString listing = QStringLiteral("<h2>%1</h2><ul>").arg(tr("Contents"));
    for (const HelpTopic* topic : contents)
        listing += QStringLiteral("<li>%1</li>").arg(topicLink(*topic));
    text_->setHtml(listing + QStringLiteral("</ul>"));
}

void HelpViewer::showSearch() {
    setNote({});
    search_->selectAll();
    search_->setFocus();
}

void HelpViewer::searchChanged(const QString& text) {
    if (text.trimmed().isEmpty()) {
        listTopics(file_.contents());
        return;
    }
    const auto found = file_.search(text.toStdString());
    listTopics(found);
    setNote(found.empty() ? tr("No topic matches \"%1\".").arg(text) : QString());
}

void HelpViewer::linkClicked(const QUrl& url) {
    if (url.scheme() != QLatin1String("topic"))
        return;
    // The pages link topics by their context numbers; anything else shows the contents.
    const uint64_t context = parseUnsigned(url.path().toStdString()).value_or(0);
    showContext(context <= uint64_t(std::numeric_limits<int>::max()) ? int(context) : 0);
}

// The own message service's boxes have no Help button, so it never calls back into this one.
ViewerHelpService::ViewerHelpService()
    : ownMessages_(std::make_unique<QtMessageService>(*this)), messages_(*ownMessages_) {}

ViewerHelpService::ViewerHelpService(MessageService& messages) : messages_(messages) {}

ViewerHelpService::~ViewerHelpService() {
    places_ = nullptr; // the store may be gone already
}

static std::string absolutePath(const std::string& helpFile) {
    return QFileInfo(QString::fromStdString(helpFile)).absoluteFilePath().toStdString();
}

// One place a help file: "Help bramblex" for bramblex.hlp.
static std::string placeKey(const std::string& helpFile) {
    return "Help " + QFileInfo(QString::fromStdString(helpFile)).completeBaseName().toStdString();
}

void ViewerHelpService::keepPlaces(SettingsStore* store) {
    if (!store && places_)
        for (const auto& [path, viewer] : viewers_)
            if (viewer->isVisible())
                WindowPlaces(*places_).keep(placeKey(path), *viewer);
    places_ = store;
}

HelpViewer* ViewerHelpService::viewerFor(const std::string& helpFile) const {
    const auto it = viewers_.find(absolutePath(helpFile));
    return it == viewers_.end() ? nullptr : it->second.get();
}

HelpViewer* ViewerHelpService::openViewer(const std::string& helpFile) {
    if (HelpViewer* viewer = viewerFor(helpFile))
        return viewer;
    const std::string path = absolutePath(helpFile);
    auto parsed = loadHelpFile(path);
    if (!parsed.file) {
        std::string text = "The help file\n" + path + "\ncannot be shown.\n" + parsed.error;
        if (parsed.line > 0)
            text += " (line " + std::to_string(parsed.line) + ")";
        messages_.inform(Notice{"Bramblex Help", text, MessageIcon::Exclamation, 0, {}});
        return nullptr;
    }
    auto viewer = std::make_unique<HelpViewer>(std::move(*parsed.file));
    QObject::connect(viewer.get(), &HelpViewer::hidden, [this, path, shown = viewer.get()] {
        if (places_)
            WindowPlaces(*places_).keep(placeKey(path), *shown);
    });
    return viewers_.emplace(path, std::move(viewer)).first->second.get();
}

void ViewerHelpService::showHelp(const std::string& helpFile, int command, int context) {
    QWidget* helped = QApplication::activeWindow();
    HelpViewer* viewer = openViewer(helpFile);
    if (!viewer)
        return;
    // A viewer that opens goes where the user left it, else beside the window it helps; one
    // already open stays where it is.
    if (!viewer->isVisible() && helped != viewer &&
        !(places_ && WindowPlaces(*places_).restore(placeKey(helpFile), *viewer, true)))
        openBeside(viewer, helped);
    switch (command) {
    case HelpContents:
        viewer->showContents();
        break;
    case HelpSearch:
        viewer->showSearch();
        break;
    default:
        viewer->showContext(context);
        break;
    }
    // Help asked for from a modal message box must be usable while the box stays open: the
    // viewer becomes transient for the box, which exempts it from the box's modality. It is shown
    // afresh so the windowing system recomputes which windows the box blocks.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != viewer) {
        viewer->hide();
        viewer->winId();
        viewer->windowHandle()->setTransientParent(modal->window()->windowHandle());
    }
    bringForward(viewer);
    if (command == HelpSearch)
        viewer->showSearch();
}

} // namespace bx
