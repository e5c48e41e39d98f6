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
constexpr std::size_t kJoinGap = 8;

const unsigned char *bytesOf(const CodeplugData &d) {
  return reinterpret_cast<const unsigned char *>(&d);
}
unsigned char *bytesOf(CodeplugData &d) { return reinterpret_cast<unsigned char *>(&d); }

// Everything a Document step restores besides the working record.
struct DocumentFrame {
  std::string modelFamily, modelName, bandText;
  double lowerLimit = 0, upperLimit = 0;
  std::string fileName;
  bool untitled = true;
  CodeplugData saved;

  static DocumentFrame of(const Workspace &ws) {
    return {ws.modelFamily, ws.modelName, ws.bandText, ws.lowerLimit, ws.upperLimit,
            ws.fileName,    ws.untitled,  ws.saved};
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
  }
  bool operator==(const DocumentFrame &o) const {
    return modelFamily == o.modelFamily && modelName == o.modelName && bandText == o.bandText &&
           lowerLimit == o.lowerLimit && upperLimit == o.upperLimit && fileName == o.fileName &&
           untitled == o.untitled && std::memcmp(&saved, &o.saved, sizeof saved) == 0;
  }
  std::size_t bytes() const {
    return sizeof *this + modelFamily.capacity() + modelName.capacity() + bandText.capacity() +
           fileName.capacity();
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

// One run of changed bytes of the working record. It holds the contents of the other side
// of the step: the before bytes while the step can be undone, the after bytes once it was.
struct Run {
  uint32_t offset = 0;
  std::vector<unsigned char> bytes;
};

}  // namespace

// A step holds one copy of what differs: Undo and Redo swap it with the workspace, so the
// same bytes serve both directions (half the memory of keeping before and after).
struct EditHistory::Step {
  StepCaption caption;
  std::vector<Run> runs;
  Switches switches;
  std::optional<DocumentFrame> frame;

  void swapWith(Workspace &ws) {
    unsigned char *target = bytesOf(ws.working);
    for (Run &r : runs)
      std::swap_ranges(r.bytes.begin(), r.bytes.end(), target + r.offset);
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
                    runs.capacity() * sizeof(Run);
    for (const Run &r : runs) n += r.bytes.capacity();
    if (frame) n += frame->bytes();
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
  std::optional<DocumentFrame> frame;
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
    if (scope_ == StepScope::Document) before_->frame = DocumentFrame::of(ws_);
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
    Run r;
    r.offset = static_cast<uint32_t>(i);
    r.bytes.assign(was + i, was + end);
    step->runs.push_back(std::move(r));
    i = end;
  }
  step->runs.shrink_to_fit();
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

bool Undo(Workspace &ws) {
  EditHistory &h = ws.history;
  if (h.undo_.empty() || h.depth_open_ > 0 || h.restoring_) return false;
  std::unique_ptr<EditHistory::Step> step = std::move(h.undo_.back());
  h.undo_.pop_back();
  h.restoring_ = true;
  step->swapWith(ws);
  h.restoring_ = false;
  h.redo_.push_back(std::move(step));
  h.notify();
  return true;
}

bool Redo(Workspace &ws) {
  EditHistory &h = ws.history;
  if (h.redo_.empty() || h.depth_open_ > 0 || h.restoring_) return false;
  std::unique_ptr<EditHistory::Step> step = std::move(h.redo_.back());
  h.redo_.pop_back();
  h.restoring_ = true;
  step->swapWith(ws);
  h.restoring_ = false;
  h.undo_.push_back(std::move(step));
  h.notify();
  return true;
}

std::string UndoMenuText(const StepCaption *caption, int language) {
  std::string text = language == 2 ? "撤销" : "Undo";
  if (caption) text += (language == 2 ? "" : " ") + caption->at(language);
  return text;
}

std::string RedoMenuText(const StepCaption *caption, int language) {
  std::string text = language == 2 ? "重做" : "Redo";
  if (caption) text += (language == 2 ? "" : " ") + caption->at(language);
  return text;
}

}  // namespace n27
