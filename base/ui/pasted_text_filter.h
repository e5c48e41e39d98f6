#pragma once
// A box whose typing is filtered key by key takes text that arrives another way (pasted with
// the middle mouse button, dropped, put in by an input method) through the same filter: the
// characters the filter drops are left out, a changed one (a raised letter) goes in changed.

#include <functional>
#include <optional>

class QLineEdit;

namespace n27 {

using CharacterFilter = std::function<std::optional<char32_t>(char32_t)>;

void FilterPastedText(QLineEdit *box, CharacterFilter filter);

// The filter of a box that takes the characters `passes` accepts, unchanged.
CharacterFilter Passing(bool (*passes)(char32_t));

}  // namespace n27
