// How the core asks the user something and shows status text, without knowing about widgets.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::platform {

enum class MsgIcon : std::uint8_t { Information, Warning, Error, Question };

// The buttons a question offers, as a bit set.
enum MsgButton : std::uint8_t {
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbCancel = 1 << 2,
    mbRetry = 1 << 3,
    mbYesToAll = 1 << 4,
    mbOK = 1 << 5,
};

// The button pressed; closing the box without a button is mrCancel.
enum class ModalResult : std::uint8_t { mrNone, mrOk, mrCancel, mrRetry, mrYes, mrNo, mrYesToAll };

class Questions {
public:
    virtual ~Questions() = default;
    // A modal box with the application title as caption; returns the button pressed.
    virtual ModalResult Ask(MsgIcon icon, const std::string& text, unsigned buttons) = 0;
};

class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void SetStatusText(const std::string& text) = 0;
};

} // namespace velmora::platform
