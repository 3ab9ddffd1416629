#include "listenwindow.h"

#include <QWindow>

namespace bx {

ListenWindow::ListenWindow(SaverModule& module, HostWindows& hosts)
    : QWidget(nullptr), preview(nullptr), tickTimer(new QTimer(this)), module_(module), hosts_(hosts) {
    setObjectName("fListen");
    setWindowTitle("Bramblex 2 Screen Saver Preview");
    // preview is a window of its own so that it can live inside a window of another program;
    // input stays with that program.
    preview = new SaverCanvas(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    preview->setObjectName("picPreview");
    preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    preview->setFocusPolicy(Qt::NoFocus);
    tickTimer->setObjectName("tmrMain");
    tickTimer->setInterval(saverTickInterval);
    connect(tickTimer, &QTimer::timeout, this, &ListenWindow::tmrMainTimer);
}

ListenWindow::~ListenWindow() {
    // preview's window is a child of the foreign one: it goes first.
    delete preview;
    host_.reset();
}

void ListenWindow::attachTo(int64_t host) {
    module_.previewAttached = false;
    const std::optional<SurfaceSize> size = hosts_.clientSize(host);
    if (!size)
        return;
    host_.reset(QWindow::fromWinId(static_cast<WId>(host)));
    if (!host_)
        return;
    preview->resize(size->width, size->height);
    preview->winId(); // its own native window, to be given to the host
    preview->windowHandle()->setParent(host_.get());
    preview->windowHandle()->setPosition(0, 0);
    preview->show();
    module_.previewAttached = true;
}

void ListenWindow::tmrMainTimer() {
    if (!module_.previewMode)
        return;
    if (module_.previewAttached && hostStillThere()) {
        emit tick();
        return;
    }
    tickTimer->stop();
    emit hostGone();
}

bool ListenWindow::hostStillThere() {
    if (lastLook_.isValid() && lastLook_.elapsed() < 50)
        return true;
    lastLook_.start();
    const std::optional<SurfaceSize> size = hosts_.clientSize(module_.previewParent);
    if (!size)
        return false;
    if (size->width != preview->width() || size->height != preview->height())
        preview->resize(size->width, size->height); // the world follows at its next step
    return true;
}

} // namespace bx
