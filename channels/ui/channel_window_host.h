#pragma once
// What the channel windows need from the main window.

#include <functional>

namespace n27 {

// Every member may be empty.
struct ChannelWindowHost {
  std::function<void(bool)> showChannelMenu;  // ShowCHInfo: the Channel Edit menu and buttons
  std::function<void(int)> showHelp;          // help at a topic; empty: no help buttons
};

}  // namespace n27
