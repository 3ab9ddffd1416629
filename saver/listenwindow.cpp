#include "listenwindow.h"

#include <QWindow>

namespace bx {

ListenWindow::ListenWindow(SaverModule& module, HostWindows& hosts)
    : QWidget(nullptr), picPreview(nullptr), tmrMain(new QTimer(this)), module_(module), hosts_(hosts) {
    setObjectName("fListen");
    setWindowTitle("Bramblex 2 Screen Saver Preview");
    // picPreview is a window of its own so that it can live inside a window of another program;
    // input stays with that program.
    picPreview =
        new SaverCanvas(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    picPreview->setObjectName("picPreview");
    picPreview->setAttribute(Qt::WA_TransparentForMouseEvents);
    picPreview->setFocusPolicy(Qt::NoFocus);
    tmrMain->setObjectName("tmrMain");
    tmrMain->setInterval(1);
    connect(tmrMain, &QTimer::timeout, this, &ListenWindow::tmrMainTimer);
}

ListenWindow::~ListenWindow() {
    // picPreview's window is a child of the foreign one: it goes first.
    delete picPreview;
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
    picPreview->resize(size->width, size->height);
    picPreview->winId(); // its own native window, to be given to the host
    picPreview->windowHandle()->setParent(host_.get());
    picPreview->windowHandle()->setPosition(0, 0);
    picPreview->show();
    module_.previewAttached = true;
}

void ListenWindow::tmrMainTimer() {
    if (!module_.previewMode)
        return;
    if (module_.previewAttached && hosts_.clientSize(module_.previewParent)) {
        emit tick();
        return;
    }
    tmrMain->stop();
    emit hostGone();
}

} // namespace bx
