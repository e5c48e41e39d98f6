#pragma once
// The icon a message box shows; shared by every part of the model that reports messages.

namespace n27 {

enum class MessageIcon { None, Information, Warning, Error, Question };

}  // namespace n27
