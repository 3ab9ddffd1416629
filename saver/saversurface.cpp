#include "saversurface.h"

#include "listenwindow.h"
#include "rootsurface.h"
#include "savercanvas.h"
#include "saverstate.h"

namespace bx {

SurfaceSize WidgetSurface::size() const {
    return {widget_.width(), widget_.height()};
}

Canvas* WidgetSurface::canvas() {
    return &widget_.canvas();
}

void WidgetSurface::flush() {
    widget_.flush();
}

SurfaceSize EmbeddedSurface::size() const {
    if (!module_.previewAttached)
        return {};
    return {listener_.preview->width(), listener_.preview->height()};
}

Canvas* EmbeddedSurface::canvas() {
    return module_.previewAttached ? &listener_.preview->canvas() : nullptr;
}

void EmbeddedSurface::flush() {
    listener_.preview->flush();
}

QTimer& EmbeddedSurface::timer() {
    return *listener_.tickTimer;
}

DesktopSurface::DesktopSurface(std::unique_ptr<RootSurface> root) : root_(std::move(root)) {
    timer_.setInterval(saverTickInterval);
}

DesktopSurface::~DesktopSurface() = default;

SurfaceSize DesktopSurface::size() const {
    return root_->size();
}

Canvas* DesktopSurface::canvas() {
    return &root_->canvas();
}

void DesktopSurface::flush() {
    root_->flush();
}

void DesktopSurface::updateSize() {
    root_->updateSize();
}

} // namespace bx
