#pragma once
// What the widget tests share: a prompter that answers in place of the user, a main window in
// a scratch folder, and stand-in editor windows that record what the main window asks of them.

#include <QApplication>
#include <QCoreApplication>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QWidget>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

#include "base/language.h"
#include "base/ui/editor_window.h"
#include "app/ui/frmMain.h"
#include "app/ui/qt_translations.h"
#include "base/ui/prompter.h"
#include "codeplug/configuration.h"

namespace n27::test {

// Answers questions from a queue (a question nobody expected fails the test), records
// messages, and hands every modal dialog to `onDialog` (which fills it in and closes it).
class ScriptedPrompter : public Prompter {
 public:
  std::deque<Answer> answers;
  std::vector<QString> questions;
  std::vector<QString> messages;
  std::deque<QString> openNames, saveNames;  // the names chosen; "" or none: cancelled
  std::function<int(QDialog &)> onDialog;
  std::vector<QString> dialogs;  // objectName of each dialog run
  std::function<void(const QString &)> onAsk;  // runs before each question is answered

  Answer ask(QWidget *, const QString &text, Prompt) override {
    questions.push_back(text);
    if (onAsk) onAsk(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return Answer::Cancel;
    }
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void message(QWidget *, const QString &text, BoxIcon) override { messages.push_back(text); }
  std::optional<QString> openFileName(QWidget *, const QString &, const QString &) override {
    return pop(openNames);
  }
  std::optional<QString> saveFileName(QWidget *, const QString &, const QString &) override {
    return pop(saveNames);
  }
  int execDialog(QDialog &dialog) override {
    dialogs.push_back(dialog.objectName());
    if (onDialog) return onDialog(dialog);
    return QDialog::Rejected;
  }

 private:
  static std::optional<QString> pop(std::deque<QString> &q) {
    QString name;
    if (!q.empty()) {
      name = q.front();
      q.pop_front();
    }
    if (name.isEmpty()) return std::nullopt;
    return name;
  }
};

// A stand-in editor window.
class FakeEditor : public QWidget, public EditorWindow {
 public:
  static inline int created = 0;
  static inline std::vector<ChannelEditCommand> commands;
  static inline int stored = 0;
  explicit FakeEditor(const QString &name) {
    setObjectName(name);
    ++created;
  }
  void storePendingInput() override { ++stored; }
  void channelEdit(ChannelEditCommand c) override { commands.push_back(c); }
};

// Every entry of every menu of a menu bar (submenus included), in menu order.
inline std::vector<QAction *> MenuEntries(QMenuBar *bar) {
  std::vector<QMenu *> menus;
  for (QAction *a : bar->actions())
    if (a->menu()) menus.push_back(a->menu());
  std::vector<QAction *> entries;
  for (std::size_t i = 0; i < menus.size(); ++i)
    for (QAction *a : menus[i]->actions()) {
      if (a->menu()) menus.push_back(a->menu());
      if (!a->isSeparator() && !a->objectName().isEmpty()) entries.push_back(a);
    }
  return entries;
}

// A main window over a workspace in a scratch folder, with the prompter installed.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLanguageIndex(kEnglish);
    dir = std::filesystem::temp_directory_path() /
          ("n27_ui_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    // Backups, recovered images and logs go to the test's folder, never to the user's.
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((dir / "data").string()));
    QCoreApplication::setOrganizationName("N27-tests");
    QCoreApplication::setApplicationName("ui");
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(dir.string()));
    QSettings().clear();
    SetPrompter(&prompter);
    // The program folder of the test: the DCS table the main window loads, no default file.
    std::filesystem::copy_file(std::filesystem::path(N27_PROGRAM_DIR) / "dec.tbl", dir / "dec.tbl");
    ws.programFolder = dir.string();
    NewConfiguration(ws);
    options.setupFile = (dir / "mysetup.ini").string();
    options.flagsFile = (dir / "Setting.ini").string();
    options.comPort = 1;
    options.keepGeometry = false;
    FakeEditor::created = 0;
    FakeEditor::commands.clear();
    FakeEditor::stored = 0;
  }
  void TearDown() override {
    if (main) {
      prompter.answers = {Answer::No, Answer::No};
      main->endApplication();
      main.reset();
    }
    SetPrompter(nullptr);
    SetLanguageIndex(kEnglish);
    ApplyQtTranslations(kEnglish);
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
  frmMain &makeMain() {
    main = std::make_unique<frmMain>(ws, options);
    main->show();
    return *main;
  }
  void registerFake(const char *name) {
    QString n = name;
    main->registerEditor({n, [n](MainWindowHost &) { return new FakeEditor(n); }});
  }
  std::string path(const std::string &name) const { return (dir / name).string(); }
  void trigger(const char *action) {
    QAction *a = main->action(action);
    ASSERT_NE(a, nullptr) << action;
    ASSERT_TRUE(a->isEnabled()) << action;
    a->trigger();
  }

  std::filesystem::path dir;
  Workspace ws;
  ShellOptions options;
  ScriptedPrompter prompter;
  std::unique_ptr<frmMain> main;
};

}  // namespace n27::test
