#pragma once
// The mouse cursor's display counter: the cursor shows while the counter is 0 or more.
// show(false) lowers it, show(true) raises it; each call returns the new value.
namespace bx {

class CursorCounter {
public:
    virtual ~CursorCounter() = default;
    virtual int show(bool visible) = 0;
    virtual int count() const = 0;
    // Brings the cursor back whatever the counter was (leaving full screen, ending a saver).
    virtual void restore() = 0;
};

} // namespace bx
