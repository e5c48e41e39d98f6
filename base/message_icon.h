#pragma once
// The icons and buttons of messages and questions; shared by every part that reports messages.

namespace n27 {

enum class MessageIcon { None, Information, Warning, Error, Question };

enum class Answer { Ok, Cancel, Yes, No };
// The buttons and icon of a question.
enum class Prompt {
  WarningOkCancel,     // warning icon, OK and Cancel
  WarningYesNoCancel,  // warning icon, Yes, No and Cancel
  QuestionOkCancel,    // question icon, OK and Cancel
  QuestionYesNo,       // question icon, Yes and No
  WarningCancelFirst,  // warning icon, OK and Cancel with Cancel preselected (OK destroys data)
  QuestionOkFinish,    // question icon, OK (go on) and Finish (answered as Cancel)
};
// The icon of a message box.
enum class BoxIcon { None, Information, Warning, Critical, Question };

}  // namespace n27
