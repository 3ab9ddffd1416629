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
                        std::string* savedVersion, const OptionsAdjustment& adjust) {
    error.clear();
    std::optional<Profile> profile = parseProfile(path, error);
    if (!profile)
        return ProfileLoad::Failed;
    if (savedVersion)
        *savedVersion = profile->version;
    return loadProfile(std::move(*profile), sim, adjust);
}

ProfileLoad loadProfile(Profile profile, Simulation& sim, const OptionsAdjustment& adjust) {
    SimulationOptions& options = sim.options();
    if (profile.version != options.versionString &&
        sim.host().ask(versionQuestion(profile.version, options.helpFilePath)) != Answer::Yes)
        return ProfileLoad::Declined;

    // Everything below only moves and assigns (adjust sets values already checked): the load
    // cannot stop half-way.
    options = optionsOfProfile(profile, options);
    if (adjust)
        adjust(options);
    sim.loadWorld({std::move(profile.envGrid), std::move(profile.orgGrid), profile.organismCount,
                   profile.environmentCount, profile.generation});
    return ProfileLoad::Loaded;
}

} // namespace bx
