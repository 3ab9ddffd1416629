#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/canvas.h"
#include "engine/host.h"

namespace bx::test {

// Records what the driver tells the windows, and answers questions from a script
// (Yes when the script is empty unless defaultAnswer says otherwise).
class RecordingHost : public SimulationHost {
public:
    std::string mainCaption;
    std::string displayCaption;
    std::vector<std::string> displayCaptions; // every display caption set, in order
    std::vector<std::string> mainCaptions;
    int32_t shownGeneration = -1, shownOrganisms = -1, shownEnvironments = -1;
    int countersShown = 0;
    bool creationCommandsEnabled = true;
    bool runStateRunning = false;
    bool timerEnabled = false;
    int layouts = 0;
    int worldResets = 0;
    int readoutsShown = 0;
    int readoutsCleared = 0;
    Readout lastReadout;
    std::vector<Question> questions;
    std::vector<Answer> answers; // consumed front to back
    Answer defaultAnswer = Answer::Yes;
    int eventsProcessed = 0;
    int saveDialogs = 0;
    std::vector<bool> generationsEnded; // the reset flag of each finished generation

    void setMainCaption(std::string_view t) override {
        mainCaption = t;
        mainCaptions.emplace_back(t);
    }
    void setDisplayCaption(std::string_view t) override {
        displayCaption = t;
        displayCaptions.emplace_back(t);
    }
    void showCounters(int32_t g, int32_t o, int32_t e) override {
        shownGeneration = g;
        shownOrganisms = o;
        shownEnvironments = e;
        ++countersShown;
    }
    void setCreationCommandsEnabled(bool on) override { creationCommandsEnabled = on; }
    void showRunState(bool running) override { runStateRunning = running; }
    void setTimerEnabled(bool on) override { timerEnabled = on; }
    void layoutWindows() override { ++layouts; }
    void showReadout(const Readout& r) override {
        lastReadout = r;
        ++readoutsShown;
    }
    void clearReadout() override { ++readoutsCleared; }
    Answer ask(const Question& q) override;
    void processEvents() override;
    void worldReset() override { ++worldResets; }
    void worldCreated(bool saveRequested) override { saveDialogs += saveRequested ? 1 : 0; }
    void generationEnded(bool reset) override { generationsEnded.push_back(reset); }

    // Runs inside processEvents, once per call, when set (for re-entrancy tests).
    std::function<void()> onProcessEvents;
};

struct Box {
    double x1, y1, x2, y2;
    PackedColour colour;
    bool operator==(const Box&) const = default;
};

// Remembers every box it is asked to fill and how often it was cleared; with `frames` set it
// is a canvas that shows frames, whose squares wait for Simulation::paintWaiting.
class RecordingCanvas : public Canvas {
public:
    std::vector<Box> boxes;
    int clears = 0;
    bool frames = false;
    void clear() override { ++clears; }
    void fillBox(double x1, double y1, double x2, double y2, PackedColour c) override {
        boxes.push_back({x1, y1, x2, y2, c});
    }
    bool showsFrames() const override { return frames; }
};

// Pixels in a plain array (clipped as every canvas clips), painted box by box.
struct PixelGrid {
    int width, height;
    std::vector<PackedColour> pixels = std::vector<PackedColour>(std::size_t(width * height), 0);
    void paint(const std::vector<Box>& boxes) {
        for (const Box& b : boxes) {
            const PixelSpan xs = pixelSpan(b.x1, b.x2), ys = pixelSpan(b.y1, b.y2);
            for (int y = std::max(ys.first, 0); y <= std::min(ys.last, height - 1); ++y)
                for (int x = std::max(xs.first, 0); x <= std::min(xs.last, width - 1); ++x)
                    pixels[std::size_t(y * width + x)] = b.colour;
        }
    }
};

} // namespace bx::test
