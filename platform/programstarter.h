#pragma once
// Starting another program (the screensaver's test run) without waiting for it.
#include <string>
#include <vector>

namespace bx {

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // False when the program could not be started (missing, not executable).
    virtual bool start(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

// A detached process: it outlives the simulator.
class DetachedProgramStarter : public ProgramStarter {
public:
    bool start(const std::string& program, const std::vector<std::string>& arguments) override;
};

} // namespace bx
