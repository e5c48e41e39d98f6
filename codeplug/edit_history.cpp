#include "codeplug/edit_history.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <type_traits>

#include "base/language.h"
#include "codeplug/workspace.h"

namespace n27 {

// The working record is restored byte for byte.
static_assert(std::is_trivially_copyable_v<CodeplugData>);

namespace {

// Runs closer than this are kept as one (a run costs more than a few unchanged bytes).
constexpr std::size_t kJoinGap = 8;  // a run's header costs 8 bytes

unsigned char *bytesOf(CodeplugData &d) { return reinterpret_cast<unsigned char *>(&d); }

// Everything a Document step restores besides the working record.
struct DocumentFrame {
  std::string modelFamily, modelName, bandText;
  double lowerLimit = 0, upperLimit = 0;
  std::string fileName;
  bool untitled = true;
  CodeplugData saved;
  CodeplugData reference;
  std::string licenceText, licenceProblem;

  static DocumentFrame of(const Workspace &ws) {
    return {ws.modelFamily, ws.modelName, ws.bandText,  ws.lowerLimit,     ws.upperLimit, ws.fileName,
            ws.untitled,    ws.saved,     ws.reference, ws.licenceText, ws.licenceProblem};
  }
  void restore(Workspace &ws) const {
    ws.modelFamily = modelFamily;
    ws.modelName = modelName;
    ws.bandText = bandText;
    ws.lowerLimit = lowerLimit;
    ws.upperLimit = upperLimit;
    ws.fileName = fileName;
    ws.untitled = untitled;
    ws.saved = saved;
    ws.reference = reference;
    ws.licenceText = licenceText;
    ws.licenceProblem = licenceProblem;
  }
  bool operator==(const DocumentFrame &o) const {
    return modelFamily == o.modelFamily && modelName == o.modelName && bandText == o.bandText &&
           lowerLimit == o.lowerLimit && upperLimit == o.upperLimit && fileName == o.fileName &&
           untitled == o.untitled && std::memcmp(&saved, &o.saved, sizeof saved) == 0 &&
           std::memcmp(&reference, &o.reference, sizeof reference) == 0 &&
           licenceText == o.licenceText && licenceProblem == o.licenceProblem;
  }
  std::size_t bytes() const {
    return sizeof *this + modelFamily.capacity() + modelName.capacity() + bandText.capacity() +
           fileName.capacity() + licenceText.capacity() + licenceProblem.capacity();
  }
};

struct Switches {
  bool reverse = false, talkAround = false;
  static Switches of(const Workspace &ws) { return {ws.reverseSwitch, ws.talkAroundSwitch}; }
  void restore(Workspace &ws) const {
    ws.reverseSwitch = reverse;
    ws.talkAroundSwitch = talkAround;
  }
  bool operator==(const Switches &) const = default;
};

// One run of changed bytes of the working record: where it lies and how long it is. The bytes
// of all runs lie one after the other in the step's `data`.
struct Run {
  uint32_t offset = 0;
  uint32_t length = 0;
};

}  // namespace

// A step holds one copy of what differs: Undo and Redo swap it with the workspace, so the
// same bytes serve both directions (half the memory of keeping before and after).
struct EditHistory::Step {
  StepCaption caption;
  std::vector<Run> runs;
  // The contents of the other side of the step for every run: the before bytes while the
  // step can be undone, the after bytes once it was.
  std::vector<unsigned char> data;
  Switches switches;
  std::unique_ptr<DocumentFrame> frame;  // Document steps only (a whole record: kept off the step)

  void swapWith(Workspace &ws) {
    unsigned char *target = bytesOf(ws.working);
    unsigned char *held = data.data();
    for (const Run &r : runs) {
      std::swap_ranges(held, held + r.length, target + r.offset);
      held += r.length;
    }
    Switches now = Switches::of(ws);
    switches.restore(ws);
    switches = now;
    if (frame) {
      DocumentFrame current = DocumentFrame::of(ws);
      frame->restore(ws);
      *frame = std::move(current);
    }
  }
  std::size_t bytes() const {
    std::size_t n = sizeof *this + caption.english.capacity() + caption.chinese.capacity() +
                    runs.capacity() * sizeof(Run) + data.capacity();
    if (frame) n += frame->bytes();  // sizeof included
    return n;
  }
};

// ---------------------------------------------------------------------------------------------

const std::string &StepCaption::get() const { return at(LanguageIndex()); }

EditHistory::EditHistory() = default;
EditHistory::~EditHistory() = default;
EditHistory::EditHistory(const EditHistory &other) : depth_(other.depth_) {}
EditHistory &EditHistory::operator=(const EditHistory &other) {
  if (this != &other) {
    undo_.clear();
    redo_.clear();
    depth_ = other.depth_;
  }
  return *this;
}

const StepCaption *EditHistory::undoCaption() const {
  return undo_.empty() ? nullptr : &undo_.back()->caption;
}
const StepCaption *EditHistory::redoCaption() const {
  return redo_.empty() ? nullptr : &redo_.back()->caption;
}

void EditHistory::setDepth(std::size_t depth) {
  depth_ = std::max<std::size_t>(depth, 1);
  if (undo_.size() > depth_) undo_.erase(undo_.begin(), undo_.end() - static_cast<long>(depth_));
}

std::size_t EditHistory::memoryBytes() const {
  std::size_t n = 0;
  for (const auto &s : undo_) n += s->bytes();
  for (const auto &s : redo_) n += s->bytes();
  return n;
}

void EditHistory::clear() {
  if (undo_.empty() && redo_.empty()) return;
  undo_.clear();
  redo_.clear();
  notify();
}

void EditHistory::documentReplaced() {
  if (depth_open_ == 0 && !restoring_) clear();
}

void EditHistory::push(std::unique_ptr<Step> step) {
  redo_.clear();
  undo_.push_back(std::move(step));
  if (undo_.size() > depth_) undo_.erase(undo_.begin());
  notify();
}

void EditHistory::notify() {
  if (changed) changed();
}

// ---------------------------------------------------------------------------------------------

struct EditStep::Before {
  CodeplugData working;
  Switches switches;
  std::unique_ptr<DocumentFrame> frame;
};

EditStep::EditStep(Workspace &ws, StepCaption caption, StepScope scope)
    : ws_(ws), caption_(std::move(caption)), scope_(scope) {
  EditHistory &h = ws_.history;
  if (h.restoring_) {
    open_ = false;
    return;
  }
  if (h.depth_open_++ == 0) {
    before_ = std::make_unique<Before>();
    // Byte for byte, padding included, so only real changes differ.
    std::memcpy(static_cast<void *>(&before_->working), &ws_.working, sizeof(CodeplugData));
    before_->switches = Switches::of(ws_);
    if (scope_ == StepScope::Document)
      before_->frame = std::make_unique<DocumentFrame>(DocumentFrame::of(ws_));
  }
}

EditStep::~EditStep() { commit(); }

void EditStep::cancel() {
  if (!open_) return;
  open_ = false;
  --ws_.history.depth_open_;
  before_.reset();
}

bool EditStep::commit() {
  if (!open_) return false;
  open_ = false;
  EditHistory &h = ws_.history;
  --h.depth_open_;
  if (!before_) return false;

  auto step = std::make_unique<EditHistory::Step>();
  step->caption = std::move(caption_);
  const unsigned char *was = bytesOf(before_->working);
  const unsigned char *now = bytesOf(ws_.working);
  const std::size_t size = sizeof(CodeplugData);
  std::size_t i = 0;
  while (i < size) {
    if (was[i] == now[i]) {
      ++i;
      continue;
    }
    // A run from i to the last differing byte not followed by kJoinGap equal bytes.
    std::size_t end = i + 1, equal = 0;
    for (std::size_t j = end; j < size && equal < kJoinGap; ++j) {
      if (was[j] != now[j]) {
        end = j + 1;
        equal = 0;
      } else {
        ++equal;
      }
    }
    step->runs.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(end - i)});
    step->data.insert(step->data.end(), was + i, was + end);
    i = end;
  }
  step->runs.shrink_to_fit();
  step->data.shrink_to_fit();
  step->switches = before_->switches;
  const bool switchesChanged = !(step->switches == Switches::of(ws_));
  if (before_->frame && !(DocumentFrame::of(ws_) == *before_->frame))
    step->frame = std::move(before_->frame);
  before_.reset();
  if (step->runs.empty() && !switchesChanged && !step->frame) return false;
  h.push(std::move(step));
  return true;
}

// ---------------------------------------------------------------------------------------------

// Takes the newest step of `from`, swaps it with the workspace and files it on `to`.
bool EditHistory::move(Workspace &ws, std::vector<std::unique_ptr<Step>> &from,
                       std::vector<std::unique_ptr<Step>> &to) {
  if (from.empty() || depth_open_ > 0 || restoring_) return false;
  std::unique_ptr<Step> step = std::move(from.back());
  from.pop_back();
  restoring_ = true;
  step->swapWith(ws);
  restoring_ = false;
  to.push_back(std::move(step));
  notify();
  return true;
}

bool Undo(Workspace &ws) { return ws.history.move(ws, ws.history.undo_, ws.history.redo_); }
bool Redo(Workspace &ws) { return ws.history.move(ws, ws.history.redo_, ws.history.undo_); }

namespace {
std::string MenuText(const char *english, const char *chinese, const StepCaption *caption,
                     int language) {
  std::string text = language == 2 ? chinese : english;
  if (caption) text += (language == 2 ? "" : " ") + caption->at(language);
  return text;
}
}  // namespace

std::string UndoMenuText(const StepCaption *caption, int language) {
  return MenuText("Undo", "撤销", caption, language);
}

std::string RedoMenuText(const StepCaption *caption, int language) {
  return MenuText("Redo", "重做", caption, language);
}

}  // namespace n27
