#pragma once
// The analysis reaches the calculator's window only through this interface, so
// that it can be built, run and tested without a window: a real window puts its
// widgets behind it, the tests and the box driver an in-memory table.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// 0x00BBGGRR for an explicit colour, 0x80000000 plus an index for a colour of
// the desktop's current scheme.
using Colour = std::uint32_t;

namespace colours {
inline constexpr Colour white = 0x00FFFFFF;
inline constexpr Colour cyan = 0x00FFFF00;
inline constexpr Colour buttonFace = 0x8000000F;
inline constexpr Colour red = 0x000000FF;
inline constexpr Colour blue = 0x00FF0000;
inline constexpr Colour black = 0x00000000;
}  // namespace colours

enum class MessageIcon { none, information, error };

// Titles of the message boxes.
inline constexpr std::string_view applicationTitle = "Tarnwick";

class BoxAccess {
public:
    virtual ~BoxAccess() = default;

    // Box names are the controls' names ("TxtMean1", "txt2PT"); texts are UTF-8.
    virtual std::string text(std::string_view box) const = 0;
    virtual void setText(std::string_view box, std::string_view text) = 0;
    virtual void setTextColour(std::string_view box, Colour colour) = 0;
    // Option names are "opIndependent", "opMatched", "OpStudent" and "OpWelch".
    virtual bool isSelected(std::string_view option) const = 0;
    // Modal: returns when the user has closed the box with its one OK button.
    virtual void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) = 0;
};

}  // namespace tarnwick
