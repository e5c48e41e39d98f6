#pragma once
// Where the user guide says what a window or a help context is about. The guide is a set of
// HTML pages in help/en/ and help/zh/ (the same file names in both): index.html is its
// start page with the contents; the topics of the first release are anchors "topicNNNN" in
// it, the later windows have pages of their own.

#include <optional>
#include <string>

namespace n27 {

// The property of a control that answers F1 itself (the channel grid, by its column): the
// program's own F1 handling leaves the key to it.
inline constexpr const char *kOwnHelpKey = "n27OwnHelpKey";

struct HelpTopic {
  std::string page;    // file name in the language's folder, e.g. "csv.html"
  std::string anchor;  // "" for the top of the page
  bool operator==(const HelpTopic &) const = default;
};

// The topic of a help context number: 0 is the contents (the start page); the numbers of the
// first release are anchors of the start page; a number of its own opens its page.
HelpTopic HelpTopicForContext(int context);

// The topic a window's F1 opens, by the window's name ("FrmCompare" → compare.html);
// nothing when the window has no topic (F1 then shows the contents).
std::optional<HelpTopic> HelpTopicForWindow(const std::string &windowName);

// Every page of the guide (for the test that both languages have them all).
const char *const *HelpPages();

}  // namespace n27
