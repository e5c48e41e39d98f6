#pragma once
// Makes the channel windows known to the main window: the channel grid (Edit → Channel
// Information, tree node "N1", opened after every read and load) and the batch window
// (Edit → Batch ChannelEdit). The detail dialog is opened by the grid itself.

namespace n27 {

class EditorRegistry;

void RegisterChannelWindows(EditorRegistry &registry);

}  // namespace n27
