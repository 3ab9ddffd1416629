#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "question.h"
#include "readout.h"

namespace bx {

// Everything the simulation driver needs from the windows. The simulator implements it with
// its forms, the headless runner with a null host, tests with a recording fake.
class SimulationHost {
public:
    virtual ~SimulationHost() = default;

    virtual void setMainCaption(std::string_view text) = 0;
    virtual void setDisplayCaption(std::string_view text) = 0;
    // The main window's generation, organism and environment labels.
    virtual void showCounters(int32_t generation, int32_t organisms, int32_t environments) = 0;
    // The seven commands that may not run while a world is being created
    // (start and save in the main window's menu and buttons, redraw, the options window's save).
    virtual void setCreationCommandsEnabled(bool enabled) = 0;
    // The Start/Stop menu entry and button captions.
    virtual void showRunState(bool running) = 0;
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void layoutWindows() = 0;
    virtual void showReadout(const Readout& readout) = 0;
    virtual void clearReadout() = 0;
    virtual Answer ask(const Question& question) = 0;
    // Lets pending window events run; may re-enter the driver's commands (never a nested tick).
    virtual void processEvents() = 0;
    // A new world is being made (reset has cleared the old one): what the windows keep about
    // worlds (the profile menus) is brought up to date.
    virtual void worldReset() = 0;
    // A world has been created; saveRequested when it was made to be saved (the options window's
    // Save), so that the windows now save it.
    virtual void worldCreated(bool saveRequested) = 0;
    // Called after every finished generation, after any dead-world handling it caused.
    virtual void generationEnded(bool worldWasReset) = 0;
};

// A host that shows nothing and answers every question with Yes.
class NullHost : public SimulationHost {
public:
    void setMainCaption(std::string_view) override {}
    void setDisplayCaption(std::string_view) override {}
    void showCounters(int32_t, int32_t, int32_t) override {}
    void setCreationCommandsEnabled(bool) override {}
    void showRunState(bool) override {}
    void setTimerEnabled(bool) override {}
    void layoutWindows() override {}
    void showReadout(const Readout&) override {}
    void clearReadout() override {}
    Answer ask(const Question&) override { return Answer::Yes; }
    void processEvents() override {}
    void worldReset() override {}
    void worldCreated(bool) override {}
    void generationEnded(bool) override {}
};

} // namespace bx
