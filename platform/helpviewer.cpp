#include "platform/helpviewer.h"
#include "platform/widgetparts.h"

#include "platform/qtmessages.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
    : QWidget(parent, Qt::Window), file_(std::move(file)), search_(new QLineEdit), topics_(new QListWidget),
      text_(new QTextBrowser), note_(new QLabel) {
    setObjectName("helpviewer");
    setWindowTitle(file_.title().empty() ? QStringLiteral("Bramblex Help")
                                         : QString::fromStdString(file_.title()));

    auto* contents = new QPushButton(tr("&Contents"));
    contents->setObjectName("helpcontents");
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
    sideLayout->addWidget(contents);
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
    connect(search_, &QLineEdit::textChanged, this, &HelpViewer::searchChanged);
    connect(topics_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showContext(item->data(Qt::UserRole).toInt()); });
    connect(topics_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showContext(item->data(Qt::UserRole).toInt()); });
    connect(text_, &QTextBrowser::anchorClicked, this, &HelpViewer::linkClicked);
    showContents();
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
    if (const HelpTopic* topic = file_.find(context)) {
        setNote({});
        showTopic(*topic);
        return;
    }
    showContents();
    setNote(tr("There is no help topic for context %1; here are the contents.").arg(context));
}

void HelpViewer::showContents() {
    setNote({});
    current_ = -1;
    search_->clear();
    const auto contents = file_.contents();
    listTopics(contents);
    QString page = QStringLiteral("<h2>%1</h2><ul>").arg(tr("Contents"));
    for (const HelpTopic* topic : contents)
        page += QStringLiteral("<li>%1</li>").arg(topicLink(*topic));
    text_->setHtml(page + QStringLiteral("</ul>"));
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

ViewerHelpService::~ViewerHelpService() = default;

static std::string absolutePath(const std::string& helpFile) {
    return QFileInfo(QString::fromStdString(helpFile)).absoluteFilePath().toStdString();
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
    return viewers_.emplace(path, std::move(viewer)).first->second.get();
}

void ViewerHelpService::showHelp(const std::string& helpFile, int command, int context) {
    QWidget* helped = QApplication::activeWindow();
    HelpViewer* viewer = openViewer(helpFile);
    if (!viewer)
        return;
    // A viewer that opens goes beside the window it helps; one already open stays where it is.
    if (!viewer->isVisible() && helped != viewer)
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
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    if (command == HelpSearch)
        viewer->showSearch();
}

} // namespace bx
