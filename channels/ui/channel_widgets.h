#pragma once
// Small helpers the channel windows share for their lists and number boxes.

#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QKeyEvent;
class QWidget;

namespace n27 {

// A value list of the channel windows: no completion (a typed tone is taken exactly as
// typed), nothing typed is added to the list, a long list shows many entries at once.
void PrepareListBox(QComboBox *box, bool editable);
// Replaces the entries without emitting any choice.
void FillList(QComboBox *box, const std::vector<std::string> &entries);
// Shows a text: the matching entry when there is one; otherwise an editable list shows the
// text itself and a fixed list shows it greyed with no entry chosen (" " for nothing).
void ShowListText(QComboBox *box, const QString &text);
// The list's text as the channel list takes it.
QString ListText(const QComboBox *box);

// Keystroke filters of the number boxes. True when the key is to be discarded: Ctrl+X,
// Ctrl+C, Ctrl+V, anything above 127 and the printable characters the box does not take.
bool FilterFrequencyKey(const QKeyEvent *key);
bool FilterDigitKey(const QKeyEvent *key);

// Up/Down/PageUp/PageDown on a closed list move through its entries without choosing one
// (a choice is taken by Enter, by leaving the list or from the opened list). True when the
// key was handled.
bool StepListWithoutChoosing(QComboBox *box, const QKeyEvent *key);

// A window shown inside the main window's child-window area is moved (and, when it has to,
// made smaller) so that it lies wholly inside the area.
void KeepInsideChildArea(QWidget *window);

}  // namespace n27
