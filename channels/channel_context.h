#pragma once
// ChannelContext: what every channel operation works on — the Workspace, the listeners that
// redraw when channels change, and the caller's way of showing a message.
//
// The GUI creates one for the whole run beside the Workspace, registers its windows as
// listeners and passes a callback that shows a message box; the command line passes one that
// prints a line; tests pass one that records. Messages are suppressed by nothing here: the
// operations decide (for example no out-of-range warning while ws.loadingFile is set).

#include "base/message_icon.h"
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "codeplug/workspace.h"

namespace n27 {

// Shows one message: "Frequency is out of range." (Warning), "Not IsNumeric" (None),
// "Read dec.TBL File Error!" (None).
using MessageFn = std::function<void(const std::string &text, MessageIcon icon)>;

// Windows that show channels implement the parts they need.
class ChannelListener {
 public:
  virtual ~ChannelListener() = default;
  // One channel (number 1..128) was created, changed or deleted by ChangeChannel. The grid
  // redraws the row only when `refresh` is set; the detail dialog reloads in any case.
  virtual void channelChanged(int number, bool refresh) {}
  // Many channels changed (batch edit, TX re-limiting): redraw everything.
  virtual void allChannelsChanged() {}
  // Settings outside the channel list may have changed (an undo or redo): feature windows
  // show every value again.
  virtual void settingsChanged() {}
  // A setting was stored from its window, or the attached licence changed: what follows the
  // whole configuration (the plan check) looks again. The setting's own window shows it already.
  virtual void planChanged() {}
  // The scan window answers true while it is open: it then reshows its bank choices itself
  // and the stored choices are left as they are.
  virtual bool reshowScanChoices() { return false; }
};

// The DCS decode table: 83 values loaded at start-up from "dec.tbl".
inline constexpr int kDecTableSize = 83;
using DecTable = std::array<uint16_t, kDecTableSize>;

class ChannelContext {
 public:
  explicit ChannelContext(Workspace &ws, MessageFn message = {});

  Workspace &ws;
  MessageFn message;  // may be empty: messages are dropped
  DecTable decTable{};

  void addListener(ChannelListener *listener);
  void removeListener(ChannelListener *listener);

  // Called by the operations.
  void show(const std::string &text, MessageIcon icon) const;
  void notifyChannel(int number, bool refresh) const;
  void notifyAll() const;
  void notifySettings() const;
  void notifyPlanChanged() const;
  // True when a listener (the open scan window) took over the bank choices. Always false
  // while a ScanChoicesFollow lives.
  bool scanWindowReshows() const;

 private:
  friend class ScanChoicesFollow;
  std::vector<ChannelListener *> listeners_;
  int follow_ = 0;
};

// While it lives (around a command that changes many channels at once, such as an import),
// the scan bank choices are repaired whether or not the scan window is open: the stored result
// never depends on an open window, which shows it afterwards (allChannelsChanged).
class ScanChoicesFollow {
 public:
  explicit ScanChoicesFollow(ChannelContext &ctx) : ctx_(ctx) { ++ctx_.follow_; }
  ~ScanChoicesFollow() { --ctx_.follow_; }
  ScanChoicesFollow(const ScanChoicesFollow &) = delete;
  ScanChoicesFollow &operator=(const ScanChoicesFollow &) = delete;

 private:
  ChannelContext &ctx_;
};

}  // namespace n27
