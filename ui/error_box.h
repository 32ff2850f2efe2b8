#pragma once
// The application's standard error box: what the user sees when an error
// escapes an event handler. The program carries on afterwards.
#include <string>
#include <string_view>

#include "ui/ports/message_box.h"

class QWidget;

namespace vantrel::ui {

inline constexpr const char* kErrorBoxObjectName = "VantrelErrorBox";

// The message with a full stop appended when its last byte sorts after "."
// (bytes compared unsigned).
std::string ErrorBoxText(std::string_view message);

// Modal box captioned "Vantrel" with the error icon and an "OK" button: the
// message box with an icon, so the same limits hold for it.
void ShowErrorBox(QWidget* parent, std::string_view message);

}  // namespace vantrel::ui
