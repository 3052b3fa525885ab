#pragma once
#include <stdexcept>
#include <string>

// A failed file operation or conversion. The message is the text the player
// sees; the window appends the full stop when it shows it.
class GameError : public std::runtime_error {
public:
    explicit GameError(const std::string& message) : std::runtime_error(message) {}

    static GameError FileNotFound() { return GameError("File not found"); }
    static GameError FileAccessDenied() { return GameError("File access denied"); }
    static GameError CannotOpenFile(const std::string& path) { return GameError("Cannot open file " + path); }
    // Control characters in `text` are named by their code (#0, #9): a NUL would
    // cut the message short and the others would not show.
    static GameError NotValidInteger(const std::string& text);
    static GameError BitmapNotValid() { return GameError("Bitmap image is not valid"); }
    // The runtime's input/output error for an errno value.
    static GameError FromErrno(int error);
};

// Decimal integer text: leading blanks allowed, nothing after the digits.
int32_t StrToInt(const std::string& text);
