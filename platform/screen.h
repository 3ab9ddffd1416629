#pragma once
// Screen size as the layout code wants it.
namespace bx {

class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual int widthPixels() const = 0;
    virtual int heightPixels() const = 0;
    // Twips per pixel (15 at 96 dots per inch); window sizes are converted with it.
    virtual int twipsPerPixelX() const = 0;
    virtual int twipsPerPixelY() const = 0;
};

// A screen of a given size, for tests and for surfaces without a real screen.
class FixedScreen : public ScreenMetrics {
public:
    FixedScreen(int width, int height) : width_(width), height_(height) {}
    int widthPixels() const override { return width_; }
    int heightPixels() const override { return height_; }
    int twipsPerPixelX() const override { return 15; }
    int twipsPerPixelY() const override { return 15; }

private:
    int width_, height_;
};

} // namespace bx
