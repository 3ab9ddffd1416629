#pragma once
#include <string>

namespace bx {

enum class MessageIcon { None, Exclamation, Information, Critical, Question };
enum class DefaultButton { Yes, No };
enum class Answer { Yes, No };

// A Yes/No question to the user. Lines in text are joined as the message wants them shown
// (carriage returns or line feeds). helpContext 0 means no Help button.
struct Question {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Exclamation;
    DefaultButton defaultButton = DefaultButton::No;
    int helpContext = 0;
    std::string helpFile;
};

// Help contexts of the simulator's help file.
namespace help {
inline constexpr int reset = 10000;
inline constexpr int deadWorld = 10001;
inline constexpr int resetToDefaults = 10002;
inline constexpr int acceptOrSaveOptions = 10003;
inline constexpr int loadProfile = 10004;
inline constexpr int profileVersion = 10005;
inline constexpr int testScreensaver = 10010;
inline constexpr int installScreensaver = 10011;
inline constexpr int systemIni = 10012;
} // namespace help

} // namespace bx
