#include "profileload.h"

#include <optional>
#include <utility>

#include "profilefile.h"
#include "text/strings.h"

namespace bx {
namespace {

Question versionQuestion(const std::string& savedVersion, const std::string& helpFile) {
    return Question{
        "Reset Simulation?",
        "This profile was saved with a different\rversion of Bramblex: " + printableText(savedVersion) +
            "\rLoading may cause unexpected results.\rDo you wish to load the file?",
        MessageIcon::Exclamation,
        DefaultButton::Yes,
        help::profileVersion,
        helpFile};
}

} // namespace

ProfileLoad readProfile(const std::string& path, Simulation& sim, std::string& error,
                        std::string* savedVersion) {
    error.clear();
    std::optional<Profile> profile = parseProfile(path, error);
    if (!profile)
        return ProfileLoad::Failed;
    if (savedVersion)
        *savedVersion = profile->version;

    SimulationOptions& options = sim.options();
    if (profile->version != options.versionString &&
        sim.host().ask(versionQuestion(profile->version, options.helpFilePath)) != Answer::Yes)
        return ProfileLoad::Declined;

    // Everything below only moves and assigns: the load cannot stop half-way.
    options = optionsOfProfile(*profile, options);

    WorldState& world = sim.world();
    world.envGrid = std::move(profile->envGrid);
    world.orgGrid = std::move(profile->orgGrid);
    world.organismCount = profile->organismCount;
    world.environmentCount = profile->environmentCount;
    world.generation = profile->generation;
    world.squareX = world.squareY = 1;
    world.stepRow = world.stepColumn = 1;
    world.drawColumn = world.drawRow = 1;
    if (world.phase == PhaseCreate) {
        // Creation would go on painting into the loaded world; the loaded world replaces it.
        world.phase = PhaseIdle;
        world.saveAfterCreate = false;
        sim.host().setCreationCommandsEnabled(true);
    }
    sim.host().layoutWindows();
    sim.refresh();
    return ProfileLoad::Loaded;
}

} // namespace bx
