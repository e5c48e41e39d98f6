#include "channels/channel_context.h"

#include <algorithm>

namespace n27 {

ChannelContext::ChannelContext(Workspace &workspace, MessageFn messageFn)
    : ws(workspace), message(std::move(messageFn)) {}

void ChannelContext::addListener(ChannelListener *listener) {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void ChannelContext::removeListener(ChannelListener *listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void ChannelContext::show(const std::string &text, MessageIcon icon) const {
  if (message) message(text, icon);
}

// Listeners may close windows (and so unregister) while they are told; work on a copy.
void ChannelContext::notifyChannel(int number, bool refresh) const {
  auto copy = listeners_;
  for (auto *l : copy) l->channelChanged(number, refresh);
}

void ChannelContext::notifyAll() const {
  auto copy = listeners_;
  for (auto *l : copy) l->allChannelsChanged();
}

void ChannelContext::notifySettings() const {
  auto copy = listeners_;
  for (auto *l : copy) l->settingsChanged();
}

void ChannelContext::notifyPlanChanged() const {
  auto copy = listeners_;
  for (auto *l : copy) l->planChanged();
}

bool ChannelContext::scanWindowReshows() const {
  if (follow_ > 0) return false;
  bool taken = false;
  auto copy = listeners_;
  for (auto *l : copy) taken = l->reshowScanChoices() || taken;
  return taken;
}

}  // namespace n27
