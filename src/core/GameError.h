#pragma once
#include <cstdint>
#include <string>

// Why a file operation or a conversion failed, as the player reads it (the
// window appends the full stop). A value, never thrown: the readers and the
// rules return it, and the window shows it where its handler ends. Empty, and
// false, when nothing failed.
class [[nodiscard]] GameError {
public:
    GameError() = default;
    explicit GameError(std::string message) : Text(std::move(message)) {}

    static GameError FileNotFound() { return GameError("File not found"); }
    static GameError FileAccessDenied() { return GameError("File access denied"); }
    static GameError CannotOpenFile(const std::string& path) { return GameError("Cannot open file " + path); }
    // Control characters in `text` are named by their code (#0, #9): a NUL would
    // cut the message short and the others would not show.
    static GameError NotValidInteger(const std::string& text);
    static GameError BitmapNotValid() { return GameError("Bitmap image is not valid"); }
    // The runtime's input/output error for an errno value.
    static GameError FromErrno(int error);

    explicit operator bool() const { return !Text.empty(); }
    const std::string& Message() const { return Text; }

private:
    std::string Text;
};

// Decimal integer text: leading blanks allowed, nothing after the digits. The
// number goes to `value`; the conversion error comes back.
GameError StrToInt(const std::string& text, int32_t& value);
