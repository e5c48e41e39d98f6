#include "base/help_topics.h"


namespace n27 {

namespace {

// One line per window with a topic. A new window adds its line here and its page to both
// help folders (and a line to the contents of index.html).
struct WindowTopic {
  const char *window;
  const char *page;
  const char *anchor;
};
constexpr WindowTopic kWindowTopics[] = {
    {"frmMain", "index.html", ""},
    {"frmCommChInfo", "index.html", "topic3100"},
    {"FrmCHInfoEdit", "index.html", "topic3100"},
    {"FrmCHBatch", "batch.html", ""},
    {"FrmOptFeatures", "index.html", "topic3200"},
    {"FrmKeyAssignm", "index.html", "topic3400"},
    {"FrmScanInfo", "index.html", "topic3500"},
    {"FrmDTMF", "index.html", "topic3600"},
    {"FrmFleetSync", "index.html", "topic3600"},
    {"FrmEmbMsg", "index.html", "topic3700"},
    {"FrmEMG", "index.html", "topic3800"},
    {"FrmComSet", "index.html", "connect"},
    {"FrmPassWord", "index.html", "password"},
    {"frmLanguage", "index.html", "language"},
    {"frmModelInfo", "index.html", "language"},
    {"FrmProgress", "index.html", "read"},
    {"FrmPrintList", "menus.html", "file"},
    {"FrmImportChannels", "csv.html", "import"},
    {"FrmImportSummary", "csv.html", "import"},
    {"FrmCompare", "compare.html", ""},
    {"FrmGroupLog", "group.html", ""},
    {"FrmTestData", "testdata.html", ""},
    {"frmMessages", "messages.html", ""},
    {"FrmHistory", "history.html", ""},
    {"FrmFleet", "fleet.html", ""},
    {"FrmPlanCheck", "plan-check.html", "topic4000"},
    {"FrmPlanReview", "plan-check.html", "topic4000"},
    {"FrmBackupList", "backups.html", "restore"},
};

// Context numbers of windows whose page is not a topic of the contents page.
constexpr WindowTopic kContextPages[] = {
    {"3900", "history.html", ""},
    {"4000", "plan-check.html", "topic4000"},
};

constexpr const char *kPages[] = {"index.html",   "menus.html",  "grid.html",     "undo.html",
                                  "batch.html",   "csv.html",    "compare.html",  "backups.html",
                                  "group.html",   "testdata.html", "messages.html", "history.html",
                                  "fleet.html",   "plan-check.html", nullptr};

}  // namespace

HelpTopic HelpTopicForContext(int context) {
  if (context <= 0) return {"index.html", ""};
  for (const auto &t : kContextPages)
    if (std::to_string(context) == t.window) return HelpTopic{t.page, t.anchor};
  return {"index.html", "topic" + std::to_string(context)};
}

std::optional<HelpTopic> HelpTopicForWindow(const std::string &windowName) {
  for (const auto &t : kWindowTopics)
    if (windowName == t.window) return HelpTopic{t.page, t.anchor};
  return std::nullopt;
}

const char *const *HelpPages() { return kPages; }

}  // namespace n27
