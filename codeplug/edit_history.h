#pragma once
// The undo history of the configuration: one step per user action, kept beside the working
// CodeplugData in the Workspace, so it outlives the windows that made the changes and a
// language switch.
//
// Recording a user action:
//
//     EditStep step(ws, StepCaption{"Import Channels", "导入信道"});
//     ... change ws.working through the usual operations ...
//     // the step is recorded when `step` goes out of scope (or at step.commit())
//
// The step compares the configuration before and after: an action that changed nothing
// leaves no step. Steps opened while another is open join the outer one, so a batch edit that
// calls ChangeChannel 32 times is one step named after the batch. Undo/Redo restore the
// recorded bytes exactly: undoing back to the saved data makes IsModified false again.
//
// A step keeps only the bytes that changed (runs of the working record, one copy that Undo and
// Redo swap with the workspace), so a grid cell edit costs about a hundred bytes and a step that
// changes all 128 channels about 12 KB.
// New, Open and a read from the radio clear the history (documentReplaced); run inside a step
// (the Model Information band switch) they become that undoable step instead.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "codeplug/codeplug_data.h"

namespace n27 {

struct Workspace;

// A step's name in both languages, shown after "Undo " / "撤销".
struct StepCaption {
  std::string english;
  std::string chinese;
  // The name in the current language (Chinese for language 2).
  const std::string &get() const;
  const std::string &at(int language) const { return language == 2 ? chinese : english; }
};

// What a step may restore besides the working record.
enum class StepScope {
  Data,      // the working record and the run-time switches (every editor)
  Document,  // also the saved copy, file name, model and band texts and limits (a band switch)
};

class EditHistory {
 public:
  static constexpr std::size_t kDefaultDepth = 200;

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  // The name of the step Undo / Redo would take back; nullptr when there is none.
  const StepCaption *undoCaption() const;
  const StepCaption *redoCaption() const;
  std::size_t undoCount() const { return undo_.size(); }
  std::size_t redoCount() const { return redo_.size(); }
  // The most steps kept (oldest dropped first); at least 1.
  void setDepth(std::size_t depth);
  std::size_t depth() const { return depth_; }
  // Bytes held by the recorded steps (for the measurements in the tests).
  std::size_t memoryBytes() const;

  // Forgets every step.
  void clear();
  // The configuration was replaced as a whole (New, Open, a read from the radio): clears the
  // history, unless a step is recording — then the replacement becomes part of that step.
  void documentReplaced();
  // True while a step records (inner steps join it) or while Undo/Redo restores.
  bool recording() const { return depth_open_ > 0; }
  bool restoring() const { return restoring_; }

  // Told after a step was recorded, undone or redone, and after the history was cleared.
  std::function<void()> changed;

  struct Step;  // defined in the .cpp

  EditHistory();
  ~EditHistory();
  // A copied Workspace (a dry run, a test's copy) starts with an empty history of its own;
  // assigning one forgets the steps of the target (it holds another configuration now).
  EditHistory(const EditHistory &);
  EditHistory &operator=(const EditHistory &);

 private:
  friend class EditStep;
  friend bool Undo(Workspace &ws);
  friend bool Redo(Workspace &ws);
  void push(std::unique_ptr<Step> step);
  void notify();

  std::vector<std::unique_ptr<Step>> undo_;  // oldest first
  std::vector<std::unique_ptr<Step>> redo_;  // next redo last
  std::size_t depth_ = kDefaultDepth;
  int depth_open_ = 0;
  bool restoring_ = false;
};

// One user action, recorded when it goes out of scope (or at commit()).
class EditStep {
 public:
  EditStep(Workspace &ws, StepCaption caption, StepScope scope = StepScope::Data);
  ~EditStep();
  EditStep(const EditStep &) = delete;
  EditStep &operator=(const EditStep &) = delete;

  // Records the step now when anything changed; later calls do nothing. Returns true when a
  // step was recorded (false: nothing changed, joined an outer step, or already committed).
  bool commit();
  // Records nothing (the changes made so far stay, but cannot be undone as this step).
  void cancel();
  // True when this step joined an outer one (or Undo/Redo is restoring): it records nothing.
  bool joined() const { return !before_; }

 private:
  struct Before;
  Workspace &ws_;
  StepCaption caption_;
  StepScope scope_;
  std::unique_ptr<Before> before_;
  bool open_ = true;
};

// Takes back / repeats the last step. False when there is none (or a step is recording).
// The caller then tells its windows (every channel and every setting may have changed).
bool Undo(Workspace &ws);
bool Redo(Workspace &ws);

// The Edit menu entries: "Undo Batch Edit" / "撤销批量编辑"; "Undo" / "撤销" without a step.
std::string UndoMenuText(const StepCaption *caption, int language);
std::string RedoMenuText(const StepCaption *caption, int language);

}  // namespace n27
