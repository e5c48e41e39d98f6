#include "plan/ui/plan_commands.h"
#include "base/qt/qt_text.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "base/file_io.h"
#include "base/ui/editor_window.h"
#include "base/ui/prompter.h"
#include "channels/channel_context.h"
#include "channels/ui/main_window_host.h"
#include "codeplug/configuration.h"
#include "plan/plan_gate.h"
#include "plan/ui/FrmPlanCheck.h"
#include "plan/ui/FrmPlanReview.h"

namespace n27 {

namespace {

constexpr const char *kPlanFolderKey = "Settings/LicenceFolder";
constexpr Tr kPlanFilter{"Licence (*.csv);;All files (*)", "许可证 (*.csv);;所有文件 (*)"};
constexpr Tr kNotALicence{"%1 cannot be attached as a licence: %2", "%1 无法作为许可证附加：%2"};
constexpr Tr kNotKept{"The licence could not be kept beside the data file as %1: %2. Nothing was attached.",
                      "无法将许可证保存到数据文件旁的 %1：%2。未附加许可证。"};
constexpr Tr kAttached{"The licence is attached and kept as %1.", "许可证已附加，保存为 %1。"};
constexpr Tr kAttachedUntitled{"The licence is attached; it is kept beside the data file when the configuration is "
                               "saved.",
                               "许可证已附加，保存配置时将一并保存在数据文件旁。"};
constexpr Tr kLines{"Lines: %1.", "有效行：%1 行。"};
constexpr Tr kPlanSkipped{"Lines skipped: %1", "跳过的行：%1 行"};
constexpr Tr kSkippedLine{"line %1: %2", "第 %1 行：%2"};
}  // namespace

bool AttachLicenceFile(MainWindowHost &main, const std::string &path) {
  QWidget *parent = main.hostWidget();
  Workspace &ws = main.workspace();
  const std::string shown = QFileInfo(qs(path)).fileName().toStdString();
  std::string problem;
  const auto text = plan::ReadLicenceText(path, problem);
  plan::LicenceParse parsed;
  if (text) parsed = plan::ParseLicence(*text);
  if (!text || !parsed.licence) {
    ShowMessage(parent, qs(Fill(kNotALicence, {shown, text ? parsed.error : problem})), BoxIcon::Critical);
    return false;
  }
  std::string done;
  if (!ws.untitled) {
    // Beside the data file, written beside and renamed: a licence already there stays whole
    // when this one cannot be written.
    const std::string target = LicenceFilePath(ws.fileName);
    const FileOutcome saved = SaveFile(target, *text);
    if (!saved.ok()) {
      ShowMessage(parent, qs(Fill(kNotKept, {target, saved.reason()})), BoxIcon::Critical);
      return false;
    }
    done = Fill(kAttached, {QFileInfo(qs(target)).fileName().toStdString()});
  } else {
    done = Text(kAttachedUntitled);
  }
  ws.licenceText = *text;
  ws.licenceProblem.clear();
  done += "\n" + Fill(kLines, {std::to_string(parsed.licence->lines.size())});
  const auto &skipped = parsed.licence->skipped;
  if (!skipped.empty()) {
    done += "\n" + Fill(kPlanSkipped, {std::to_string(skipped.size())});
    for (std::size_t i = 0; i < skipped.size() && i < plan::kMaxBadLineFindings; ++i)
      done += "\n" + Fill(kSkippedLine, {std::to_string(skipped[i].line), skipped[i].reason});
  }
  ShowMessage(parent, qs(done), skipped.empty() ? BoxIcon::Information : BoxIcon::Warning);
  main.channels().notifyPlanChanged();  // an open Check Plan window checks again
  return true;
}

bool AttachLicenceCommand(MainWindowHost &main) {
  QSettings settings;
  const Workspace &ws = main.workspace();
  const QString folder =
      settings.value(kPlanFolderKey, ws.untitled ? QDir::homePath() : QFileInfo(qs(ws.fileName)).absolutePath()).toString();
  const auto chosen = CurrentPrompter().openFileName(main.hostWidget(), qs(Text(kPlanFilter)), folder);
  if (!chosen) return false;
  settings.setValue(kPlanFolderKey, QFileInfo(*chosen).absolutePath());
  return AttachLicenceFile(main, chosen->toStdString());
}

std::optional<std::string> ReviewPlanBeforeWrite(const std::vector<PlanFinding> &findings, QWidget *parent) {
  if (findings.empty()) return std::string();
  FrmPlanReview dialog(findings, parent);
  if (ExecDialog(dialog) != QDialog::Accepted) return std::nullopt;
  return dialog.goOnWith();
}

void RegisterPlanWindows(EditorRegistry &registry) {
  registry.add({window::kPlanCheck, [](MainWindowHost &main) { return new FrmPlanCheck(main); }});
}

}  // namespace n27
