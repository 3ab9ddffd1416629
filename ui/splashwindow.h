#pragma once
// The splash window of start-up: the program's picture and version, on top of the main window
// until a key, a click or its closing timer ends it.
#include <QWidget>

#include "engine/options.h"

class QLabel;
class QTimer;

namespace bx {

// The program's artwork: a field of coloured squares fading out from a few seeds, as a young
// world looks, with a corner mark and, when asked, the title. Deterministic.
QPixmap bramblexArtwork(QSize size, bool withTitle);

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const SimulationOptions& options, QWidget* parent = nullptr);

    // Enables both timers: closeTimer closes the window after 5 s, showAgainTimer keeps it shown.
    void start();
    void showVersion(const QString& version);

    QTimer* closeTimer;     // 5000 ms, closes the window; disabled until start()
    QTimer* showAgainTimer; // 50 ms, shows the window again; runs from the first showing until closed

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showAgain();
    QLabel* versionLabel;
    bool loaded_ = false;  // shown at least once
    bool closing_ = false; // closed and not shown since
};

} // namespace bx
