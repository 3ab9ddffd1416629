#pragma once
// The about box both programs show: a picture beside a large title and a version line, an
// information frame, the publisher's link and Done. Each program fills in its own texts.
#include <QString>
#include <functional>

class QDialog;
class QGroupBox;
class QLabel;
class QPixmap;
class QPushButton;
class QWidget;

namespace bx {

inline constexpr const char* publisherAddress = "https://www.bramblex.example.com/";

// What differs between the two boxes; every pointer is a child of the box. The object names are
// the forms' control names, which tests and tools look up.
struct AboutContent {
    QLabel* title;
    QLabel* versionCaption;
    QLabel* version;
    QWidget* information;
    const char* pictureName = "Picture1";
    // The heading (title and version) sits in a frame of this name, or straight in the layout.
    const char* headingFrameName = nullptr;
    const char* informationFrameName;
    QString informationCaption;
};

// What every about box has, made by buildAboutBox.
struct AboutControls {
    QLabel* webLink;
    QPushButton* doneButton;
};

// Lays the box out around `content` with `picture`; the link runs `openLink`, F1 runs `showHelp`
// and Done accepts the box.
AboutControls buildAboutBox(QDialog* box, const AboutContent& content, const QPixmap& picture,
                            std::function<void()> openLink, std::function<void()> showHelp);

} // namespace bx
