#include "splashwindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

namespace bx {

namespace {

struct Seed {
    double x, y; // in squares
    QColor colour;
};

// Fixed seeds so the picture is the same on every start.
constexpr int fieldColumns = 26;
constexpr int fieldRows = 16;
const std::array<Seed, 6> seeds{{{3, 3, QColor(230, 60, 40)},
                                 {20, 2, QColor(40, 110, 230)},
                                 {12, 9, QColor(240, 210, 40)},
                                 {23, 13, QColor(60, 200, 90)},
                                 {4, 13, QColor(200, 60, 200)},
                                 {15, 14, QColor(40, 200, 210)}}};

// The environment colour of a square: each seed's colour fading with distance, the nearest
// seeds mixed, as overlapping rings of a young world are.
QColor fieldColour(int column, int row) {
    double red = 0, green = 0, blue = 0, weight = 0;
    for (const Seed& seed : seeds) {
        const double d = std::hypot(column - seed.x, row - seed.y);
        const double w = 1.0 / (1.0 + d * d);
        const double fade = std::max(0.0, 1.0 - d / 11.0);
        red += w * fade * seed.colour.red();
        green += w * fade * seed.colour.green();
        blue += w * fade * seed.colour.blue();
        weight += w;
    }
    // Rings: every other distance band a shade darker.
    const double ring = ((column + row) % 2 == 0) ? 1.0 : 0.88;
    const auto part = [&](double v) { return std::clamp(static_cast<int>(ring * v / weight * 1.6), 0, 255); };
    return QColor(part(red), part(green), part(blue));
}

} // namespace

QPixmap bramblexArtwork(QSize size, bool withTitle) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    const double w = double(size.width()) / fieldColumns;
    const double h = double(size.height()) / fieldRows;
    for (int column = 0; column < fieldColumns; ++column)
        for (int row = 0; row < fieldRows; ++row)
            painter.fillRect(QRectF(column * w, row * h, w, h), fieldColour(column, row));
    // A few organisms: bright squares with a dark rim, spread by a fixed step pattern.
    for (int i = 0; i < 14; ++i) {
        const int column = (i * 7 + 3) % fieldColumns;
        const int row = (i * 5 + 2) % fieldRows;
        const QColor colour = seeds[static_cast<size_t>(i) % seeds.size()].colour.lighter(150);
        painter.fillRect(QRectF(column * w, row * h, w, h), Qt::black);
        painter.fillRect(QRectF(column * w + 2, row * h + 2, w - 4, h - 4), colour);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    // The corner mark: a white bracket around the top-left square.
    QPen pen(Qt::white, std::max(2.0, w / 6));
    painter.setPen(pen);
    painter.drawLine(QPointF(w * 0.4, h * 0.4), QPointF(w * 2.2, h * 0.4));
    painter.drawLine(QPointF(w * 0.4, h * 0.4), QPointF(w * 0.4, h * 2.2));
    if (withTitle) {
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(12, size.height() / 6));
        painter.setFont(font);
        const QRectF band(0, size.height() * 0.36, size.width(), size.height() * 0.28);
        painter.fillRect(band, QColor(0, 0, 0, 150));
        painter.setPen(QColor(0, 0, 0));
        painter.drawText(band.translated(2, 2), Qt::AlignCenter, QStringLiteral("Bramblex 2"));
        painter.setPen(Qt::white);
        painter.drawText(band, Qt::AlignCenter, QStringLiteral("Bramblex 2"));
    }
    return pixmap;
}

SplashWindow::SplashWindow(const SimulationOptions& options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), closeTimer(new QTimer(this)),
      showAgainTimer(new QTimer(this)), versionLabel(new QLabel(this)) {
    setObjectName("splash");
    setWindowTitle(QString::fromStdString(options.mainTitle));

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setPixmap(bramblexArtwork(QSize(416, 256), true));
    auto* versionCaption = new QLabel(tr("Version"), this);
    versionCaption->setObjectName("versioncaption");
    versionLabel->setObjectName("versionlabel2");
    versionLabel->setText(QString::fromStdString(options.versionString));
    auto* hint = new QLabel(tr("Press any key or click to continue"), this);
    hint->setObjectName("splashhint");
    hint->setEnabled(false);

    auto* version = new QHBoxLayout;
    version->addWidget(versionCaption);
    version->addWidget(versionLabel);
    version->addStretch();
    version->addWidget(hint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(picture);
    layout->addLayout(version);
    setStyleSheet(QStringLiteral("#splash { border: 1px solid #404040; }"));

    closeTimer->setObjectName("Timer1");
    closeTimer->setInterval(5000);
    closeTimer->setSingleShot(true);
    showAgainTimer->setObjectName("Timer2");
    showAgainTimer->setInterval(50);
    connect(closeTimer, &QTimer::timeout, this, &QWidget::close);
    connect(showAgainTimer, &QTimer::timeout, this, &SplashWindow::showAgain);
    adjustSize();
}

void SplashWindow::showVersion(const QString& version) {
    versionLabel->setText(version);
}

void SplashWindow::start() {
    closeTimer->start();
    showAgainTimer->start();
}

void SplashWindow::showAgain() {
    if (closing_ || !loaded_)
        return;
    show();
    raise();
}

// showAgainTimer runs from the window's first showing: a splash that was made but never shown must not
// pop up by itself.
void SplashWindow::showEvent(QShowEvent* event) {
    closing_ = false;
    loaded_ = true;
    if (!showAgainTimer->isActive())
        showAgainTimer->start();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QWidget::showEvent(event);
}

void SplashWindow::keyPressEvent(QKeyEvent*) {
    close();
}

// Children leave mouse presses to the window, so a press anywhere over it lands here.
void SplashWindow::mousePressEvent(QMouseEvent*) {
    close();
}

// A closed splash stays closed: the timers that would bring it back stop with it.
void SplashWindow::closeEvent(QCloseEvent* event) {
    closing_ = true;
    closeTimer->stop();
    showAgainTimer->stop();
    QWidget::closeEvent(event);
    emit closed();
}

void SplashWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        QTimer::singleShot(0, this, &SplashWindow::showAgain);
    QWidget::changeEvent(event);
}

} // namespace bx
