#include "windowplaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "text/numbers.h"

namespace bx {

std::optional<QRect> placeOfText(const std::string& text) {
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const auto n = parseInteger(std::string_view(text).substr(start, end - start));
        if (!n || *n < -1000000 || *n > 1000000)
            return std::nullopt;
        numbers.push_back(int(*n));
        start = end + 1;
    }
    if (numbers.size() != 4 || numbers[2] < 1 || numbers[3] < 1)
        return std::nullopt;
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

std::string placeText(const QRect& place) {
    return formatInteger(place.x()) + " " + formatInteger(place.y()) + " " + formatInteger(place.width()) +
           " " + formatInteger(place.height());
}

bool reachablePlace(const QRect& place, const QList<QRect>& screens) {
    const QRect top(place.topLeft(), QSize(place.width(), std::min(place.height(), 24)));
    return std::any_of(screens.begin(), screens.end(), [&top](const QRect& screen) {
        const QRect on = top & screen;
        return on.height() == top.height() && on.width() >= std::min(top.width(), 100);
    });
}

void WindowPlaces::keep(const std::string& key, const QWidget& window) {
    store_.set(windowPlacesApplication, windowPlacesSection, key, placeText(window.geometry()));
}

bool WindowPlaces::restore(const std::string& key, QWidget& window, bool withSize) const {
    const auto text = store_.get(windowPlacesApplication, windowPlacesSection, key);
    const auto kept = text ? placeOfText(*text) : std::nullopt;
    if (!kept)
        return false;
    const QRect place(kept->topLeft(),
                      withSize ? kept->size().expandedTo(window.minimumSizeHint()) : window.size());
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    if (!reachablePlace(place, screens))
        return false;
    // The inside's place, not the frame's: the frame is not known before the window manager
    // has framed the window, and a window already made would take a move as its inside's place.
    window.setGeometry(place);
    return true;
}

} // namespace bx
