#pragma once
// The cursor display counter emulated over Qt's override cursor: the blank override cursor is set
// exactly while the counter is below 0, so the cursor is hidden exactly then.
#include "platform/cursor.h"

namespace bx {

class OverrideCursorCounter : public CursorCounter {
public:
    ~OverrideCursorCounter() override; // gives the cursor back
    int show(bool visible) override;
    int count() const override { return count_; }
    // Counter to 0 and the cursor shown, whatever the counter was.
    void restore() override;
    // Whether this counter holds the cursor hidden.
    bool hidden() const { return blanked_; }

private:
    void apply();
    int count_ = 0;
    bool blanked_ = false;
};

} // namespace bx
