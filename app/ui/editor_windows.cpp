// The editor windows the main window can open. Each window adds itself here with one line:
//   registry.add({window::kChannelGrid, [](frmMain &m) { return new frmCommChInfo(m); }});
// A window that is not listed leaves its menu entry and tree node disabled.

#include "base/ui/editor_window.h"
#include "channels/ui/channel_windows.h"
#include "features/ui/feature_windows.h"
#include "link/ui/FrmTestData.h"
#include "plan/ui/plan_commands.h"
#include "print/ui/FrmPrintList.h"

namespace n27 {

void EditorRegistry::add(EditorWindowEntry entry) {
  for (auto &s : entries_)
    if (s.name == entry.name) {
      s = std::move(entry);
      return;
    }
  entries_.push_back(std::move(entry));
}

const EditorWindowEntry *EditorRegistry::find(const QString &name) const {
  for (const auto &s : entries_)
    if (s.name == name) return &s;
  return nullptr;
}

void RegisterEditorWindows(EditorRegistry &registry) {
  RegisterChannelWindows(registry);
  RegisterFeatureWindows(registry);
  RegisterPrintWindow(registry);
  RegisterTestDataWindow(registry);
  RegisterPlanWindows(registry);
}

}  // namespace n27
