#include "link/transfer_engine.h"

#include "base/messages.h"
#include "codeplug/bands.h"
#include "codeplug/memory_map.h"
#include "link/password.h"
#include "link/tuning_block.h"
#include "link/verify.h"

namespace n27 {

using link::Bytes;

namespace {

constexpr Tr kLineLost{
    "The connection to the radio was lost: the programming cable or the USB adapter was "
    "unplugged. The transfer was not completed.",
    "与对讲机的连接已断开：编程线或USB转换器已被拔出。传输未完成。"};

constexpr Tr kChecksumNote{
    "The radio's checksums are reckoned differently: each block was taken only when the radio "
    "sent it twice alike.",
    "对讲机的校验和算法不同：每个数据块在对讲机两次发送相同内容后才被采用。"};
constexpr Tr kReadCancelled{"The read was cancelled.", "读取已取消。"};
constexpr Tr kWriteCancelled{"The write was cancelled.", "写入已取消。"};
constexpr Tr kReadFailed{"The read did not complete.", "读取未完成。"};
constexpr Tr kWriteIncomplete{"The write did not complete.", "写入未完成。"};
constexpr Tr kSummary{"Blocks: %1, asked for again: %2, restarts: %3.",
                      "数据块：%1，重新请求：%2，重新开始：%3。"};

// States of the read and write machines.
enum State : int {
  kIdle = 0,
  kProgramSent = 1,
  kIdentSent = 2,
  kAckBeforeCheck = 3,
  kBlock = 4,
  kBlockAck = 5,
  kIdentAcked = 31,
  kPasswordRequested = 32,
  kEndSent = 69,
};

}  // namespace

std::string CompletionMessage(TransferType type) {
  switch (type) {
    case TransferType::Read: return msg::kReadDone.str();
    case TransferType::Write: return msg::kWriteDone.str();
    default: return {};
  }
}

std::string LineLostMessage() { return kLineLost.str(); }

std::string ChecksumNote() { return kChecksumNote.str(); }

std::string SummaryText(const TransferSummary &summary) {
  std::string text = kSummary.str();
  const int values[] = {summary.blocks, summary.rerequests, summary.restarts};
  for (int i = 0; i < 3; ++i) {
    const std::string mark = "%" + std::to_string(i + 1);
    if (auto at = text.find(mark); at != std::string::npos)
      text.replace(at, mark.size(), std::to_string(values[i]));
  }
  return text;
}

std::string TransferEndText(TransferType type, bool success, const TransferSummary &summary) {
  const bool read = type != TransferType::Write;
  std::string head = success              ? CompletionMessage(type)
                     : summary.cancelled ? (read ? kReadCancelled : kWriteCancelled).str()
                                         : (read ? kReadFailed : kWriteIncomplete).str();
  return head.empty() ? SummaryText(summary) : head + " " + SummaryText(summary);
}

TransferEngine::TransferEngine(Workspace &ws, const VersionTable &versions, TransferHost &host)
    : ws_(&ws), versions_(versions), host_(host) {}

int TransferEngine::ProgressPercent(int address, int end) {
  if (end <= 0) return 0;
  long num = static_cast<long>(address) * 100, q = num / end, r = num % end;
  if (2 * r > end || (2 * r == end && (q & 1))) ++q;
  return static_cast<int>(q);
}

template <class F>
bool TransferEngine::modal(F &&call) {
  unsigned epoch = epoch_;
  ++modalDepth_;
  call();
  --modalDepth_;
  if (epoch != epoch_) return false;
  if (pendingAbort_ && modalDepth_ == 0) {
    std::string text = std::move(*pendingAbort_);
    pendingAbort_.reset();
    message(text, MessageIcon::Error);
    end(false);
    return false;
  }
  return true;
}

bool TransferEngine::message(const std::string &text, MessageIcon icon) {
  return modal([&] { host_.showMessage(text, icon); });
}

bool TransferEngine::setWorkspace(Workspace &ws) {
  if (running()) return false;
  ws_ = &ws;
  return true;
}

bool TransferEngine::start(TransferType type) {
  if (running() || type == TransferType::None) return false;
  type_ = lastType_ = type;
  firstBlock_ = type == TransferType::RadioInformation ? static_cast<int>(mem::kRadioInfo) : 0;
  endAddress_ = type == TransferType::RadioInformation ? static_cast<int>(mem::kTuningBlock)
                                                       : static_cast<int>(mem::kTransferEnd);
  blockAddress_ = firstBlock_ - static_cast<int>(link::kBlockLength);
  lastPercent_ = 0;
  awaiting_ = false;
  pendingAbort_.reset();
  ident_ = {};
  summary_ = {};
  notedChecksum_ = false;
  checksumPassed_ = false;
  restart();
  return true;
}

// The start of every pass: states back to the program request, retry count cleared, block
// address back before the first block, the progress back to 0.
void TransferEngine::restart() {
  readState_ = type_ == TransferType::Write ? kIdle : kProgramSent;
  writeState_ = type_ == TransferType::Write ? kProgramSent : kIdle;
  retryCount_ = 0;
  sendProgramRequest();
  blockAddress_ = firstBlock_ - static_cast<int>(link::kBlockLength);
  // The bar starts again from 0, and so does the comparison that moves it.
  lastPercent_ = 0;
  if (isReadOrWrite()) host_.progress(0);
}

void TransferEngine::send(const link::Request &r) {
  requested_ = -1;
  host_.startReplyTimer();
  threshold_ = r.replyLength;
  buffer_.clear();
  host_.sendBytes(r.bytes);
}

// A read request for a new block: its frame is awaited, and it may be asked for again.
void TransferEngine::sendRead(std::size_t address) {
  rerequests_ = 0;
  badReplies_.clear();
  send(link::ReadRequest(address));
  requested_ = static_cast<int>(address);
}

TransferEngine::Verdict TransferEngine::verify(const Bytes &frame) {
  const std::size_t n = frame.size();
  if (link::Checksum(frame.data(), n - 1) == frame[n - 1]) {
    checksumPassed_ = true;
    return Verdict::Take;
  }
  // A radio that has sent one right checksum in this transfer reckons checksums as we do: a
  // damaged reply that comes twice alike is the line's doing (a flaky cable, a proxy), not
  // the radio's rule, and is never taken.
  for (const Bytes &earlier : badReplies_) {
    if (checksumPassed_ || earlier != frame) continue;
    // The same bytes twice: the radio means them, whatever its checksum rule.
    ++summary_.agreed;
    if (!notedChecksum_) {
      notedChecksum_ = true;
      host_.note(ChecksumNote());
    }
    return Verdict::Take;
  }
  if (rerequests_ >= kBlockRerequests) {
    host_.stopReplyTimer();
    replyMissing();
    return Verdict::Unanswered;
  }
  badReplies_.push_back(frame);
  ++rerequests_;
  ++summary_.rerequests;
  const int address = requested_;
  send(link::ReadRequest(static_cast<std::size_t>(address)));
  requested_ = address;
  return Verdict::Again;
}

void TransferEngine::sendProgramRequest() {
  awaiting_ = true;
  send(link::ProgramRequest());
}

void TransferEngine::onBytesReceived(const uint8_t *data, std::size_t n) {
  if (!awaiting_ || modalDepth_ > 0 || !running()) return;
  buffer_.insert(buffer_.end(), data, data + n);
  if (buffer_.size() < threshold_) return;
  Bytes reply(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(threshold_));
  buffer_.clear();
  classify(reply);
}

void TransferEngine::classify(const Bytes &reply) {
  const int state = type_ == TransferType::Write ? writeState_ : readState_;
  if (reply.size() == 1 && reply[0] == link::kAck) {
    if (state == kBlock && type_ == TransferType::Write) ++summary_.blocks;
    advance();
    return;
  }
  if (link::IsIdentificationReply(reply)) {
    // Every transfer learns who answered (the radio-information window shows the firmware
    // version); only a read or write copies the identification into the image.
    ident_ = link::ParseIdentification(reply);
    if (isReadOrWrite()) link::MirrorIdentification(ws_->image, reply);
    advance();
    return;
  }
  // A data frame is only ever the answer to the read request just sent.
  if (!link::IsDataFrame(reply) || requested_ < 0) return;
  const std::size_t address = link::FrameAddress(reply), length = link::FrameLengthByte(reply);
  if (static_cast<int>(address) != requested_ || reply.size() < link::kDataFrameLength) return;
  const bool fullFrame = reply.size() == length + link::kFrameOverhead;
  if (address == link::kPasswordBlockAddress && isReadOrWrite() && state == kPasswordRequested) {
    // A radio may leave out the checksum of this block (length + 4 bytes): nothing to verify.
    if (!fullFrame && reply.size() != length + 4) return;
    if (fullFrame && verify(reply) != Verdict::Take) return;
    host_.stopReplyTimer();
    link::StoreDataFrame(ws_->image, reply);
    passwordStep(reply);
    return;
  }
  if (length != link::kBlockLength || !fullFrame) return;
  if (verify(reply) != Verdict::Take) return;
  ++summary_.blocks;
  if (address == link::kTuningBlockAddress && isReadOrWrite()) {
    // The factory tuning values never go into the image.
    ws_->tuning = link::DecodeTuningBlock(reply);
    ws_->tuningOrigin = {TuningSource::Radio, {}, false};
    advance();
    return;
  }
  link::StoreDataFrame(ws_->image, reply);
  if (isReadOrWrite()) updateProgress(blockAddress_);
  advance();
}

void TransferEngine::advance() {
  host_.stopReplyTimer();
  switch (type_) {
    case TransferType::Read: advanceRead(); break;
    case TransferType::Write: advanceWrite(); break;
    case TransferType::RadioInformation: advanceRadioInformation(); break;
    case TransferType::None: break;
  }
}

void TransferEngine::advanceRead() {
  switch (readState_) {
    case kProgramSent: readState_ = kIdentSent; send(link::IdentificationRequest()); break;
    case kIdentSent: readState_ = kIdentAcked; send(link::Acknowledgement()); break;
    case kIdentAcked:
      readState_ = kPasswordRequested;
      sendRead(link::kPasswordBlockAddress);
      break;
    case kPasswordRequested: readState_ = kAckBeforeCheck; send(link::Acknowledgement()); break;
    case kAckBeforeCheck: {
      Check c = identificationCheck();
      if (c == Check::Ended) return;
      if (c == Check::Fail) return end(false);
      readState_ = kBlock;
      if (ws_->testMode)
        sendRead(link::kTuningBlockAddress);
      else
        nextReadBlock();
      break;
    }
    case kBlock: readState_ = kBlockAck; send(link::Acknowledgement()); break;
    case kBlockAck: readState_ = kBlock; nextReadBlock(); break;
    case kEndSent: end(true); break;
    default: end(false); break;
  }
}

void TransferEngine::advanceWrite() {
  switch (writeState_) {
    case kProgramSent: writeState_ = kIdentSent; send(link::IdentificationRequest()); break;
    case kIdentSent: writeState_ = kIdentAcked; send(link::Acknowledgement()); break;
    case kIdentAcked:
      writeState_ = kPasswordRequested;
      sendRead(link::kPasswordBlockAddress);
      break;
    case kPasswordRequested: writeState_ = kAckBeforeCheck; send(link::Acknowledgement()); break;
    case kAckBeforeCheck: {
      Check c = identificationCheck();
      if (c == Check::Ended) return;
      if (c == Check::Fail) return end(false);
      writeState_ = kBlock;
      if (ws_->testMode)
        send(link::EncodeTuningBlock(ws_->tuning));
      else
        nextDataFrame();
      break;
    }
    case kBlock: nextDataFrame(); break;
    case kEndSent: end(true); break;
    default: end(false); break;
  }
}

void TransferEngine::advanceRadioInformation() {
  switch (readState_) {
    case kProgramSent: readState_ = kIdentSent; send(link::IdentificationRequest()); break;
    case kIdentSent: readState_ = kAckBeforeCheck; send(link::Acknowledgement()); break;
    case kAckBeforeCheck:
    case kBlockAck: readState_ = kBlock; nextReadBlock(); break;
    case kBlock: readState_ = kBlockAck; send(link::Acknowledgement()); break;
    case kEndSent: end(true); break;
    default: end(false); break;
  }
}

void TransferEngine::nextReadBlock() {
  blockAddress_ += static_cast<int>(link::kBlockLength);
  if (blockAddress_ >= endAddress_) {
    readState_ = kEndSent;
    send(link::EndRequest());
  } else {
    sendRead(static_cast<std::size_t>(blockAddress_));
  }
}

void TransferEngine::nextDataFrame() {
  // The radio information, password and tuning blocks (432..511) are never written from the
  // image (in test mode the tuning block went first, from the tuning values).
  do {
    blockAddress_ += static_cast<int>(link::kBlockLength);
  } while (blockAddress_ < endAddress_ && !IsWrittenImageAddress(blockAddress_));
  if (blockAddress_ >= endAddress_) {
    writeState_ = kEndSent;
    send(link::EndRequest());
  } else {
    updateProgress(blockAddress_);
    send(link::DataFrame(ws_->image, static_cast<std::size_t>(blockAddress_)));
  }
}

void TransferEngine::updateProgress(int address) {
  int percent = ProgressPercent(address, endAddress_);
  if (percent >= lastPercent_ + 1) {
    lastPercent_ = percent;
    host_.progress(percent);
  }
}

void TransferEngine::passwordStep(const Bytes &frame) {
  if (link::PasswordAccepted(frame, ws_->password)) {
    advance();
    return;
  }
  if (!modal([&] { host_.askPassword(ws_->password); })) return;
  if (link::PasswordAccepted(frame, ws_->password)) {
    ++summary_.restarts;
    restart();  // the second pass finds the password accepted
    return;
  }
  if (!message(msg::kPasswordFailure, MessageIcon::Error)) return;
  end(false);
}

TransferEngine::Check TransferEngine::identificationCheck() {
  host_.stopReplyTimer();
  const bool bandOk = BandCode(ws_->bandText) == ident_.band;
  const bool modelOk = ws_->modelName == ident_.model;
  const bool versionOk = versions_.compatible(ws_->dataVersion, ident_.firmware);
  const bool write = type_ == TransferType::Write;

  if (!(bandOk && modelOk && versionOk)) {
    if (!modelOk) {
      std::string text = msg::kModel.str() + "\r\nPC is " + ModelDisplayName(ws_->modelName) +
                         "\r\nRadio is " + ModelDisplayName(ident_.model);
      return message(text, MessageIcon::Warning) ? Check::Fail : Check::Ended;
    }
    if (versionOk) {  // only the band differs: a read takes the radio's band
      if (write)
        return message(msg::kBand.str(), MessageIcon::Warning) ? Check::Fail : Check::Ended;
    } else {
      bool yes = false;
      std::string text = VersionMessage(ws_->dataVersion, ident_.firmware);
      if (!modal([&] { yes = host_.askSwitchRelease(text); })) return Check::Ended;
      if (!yes) return Check::Fail;
      std::string release = versions_.programVersionFor(ident_.firmware);
      TransferHost &host = host_;
      end(false);
      host.switchRelease(release);
      return Check::Ended;
    }
  }
  if (write && ident_.killed)
    return message(msg::kKilled.str(), MessageIcon::Warning) ? Check::Fail : Check::Ended;
  if (write && ident_.stunned)
    return message(msg::kStunned.str(), MessageIcon::Warning) ? Check::Fail : Check::Ended;
  return Check::Pass;
}

void TransferEngine::onReplyTimeout() {
  if (!running() || modalDepth_ > 0) return;
  host_.stopReplyTimer();
  ++summary_.timeouts;
  replyMissing();
}

// No usable reply to the last frame: resend the program request, ask the retry question or
// end, after the state.
void TransferEngine::replyMissing() {
  const int state = type_ == TransferType::Write ? writeState_ : readState_;
  if (state == kEndSent) {
    end(true);  // the radio has everything; a missing answer to the end request is no failure
    return;
  }
  if (state == kProgramSent && ++retryCount_ < kProgramRequestTries) {
    sendProgramRequest();
    return;
  }
  if (type_ == TransferType::RadioInformation) {
    if (state == kBlock) {
      retryQuestion();
    } else if (message(msg::kRetry.str(), MessageIcon::Warning)) {
      end(false);
    }
    return;
  }
  switch (state) {
    case kProgramSent:
    case kIdentSent:
    case kAckBeforeCheck:
    case kBlock:
    case kIdentAcked:
    case kPasswordRequested: retryQuestion(); return;
    case kBlockAck:
      if (type_ == TransferType::Read) {
        retryQuestion();
        return;
      }
      break;
    default: break;
  }
  end(false);
}

void TransferEngine::retryQuestion() {
  awaiting_ = false;
  bool retry = false;
  if (!modal([&] { retry = host_.askRetry(msg::kRetry.str()); })) return;
  if (retry) {
    ++summary_.restarts;
    restart();
  } else {
    summary_.cancelled = true;
    end(false);
  }
}

void TransferEngine::abort(const std::string &text) {
  if (!running()) return;
  if (modalDepth_ > 0) {
    if (!pendingAbort_) pendingAbort_ = text;
    return;
  }
  awaiting_ = false;
  host_.stopReplyTimer();
  if (!message(text, MessageIcon::Error)) return;
  end(false);
}

void TransferEngine::end(bool success) {
  if (!running()) return;
  awaiting_ = false;
  buffer_.clear();
  host_.closePort();
  retryCount_ = 0;
  lastPercent_ = 0;
  host_.stopReplyTimer();
  type_ = TransferType::None;
  readState_ = writeState_ = kIdle;
  pendingAbort_.reset();
  ++epoch_;
  host_.finished(success);
}

}  // namespace n27
