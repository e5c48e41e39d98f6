#pragma once
// A scripted host for the transfer engine: records what the engine sends and shows, answers
// its questions from a script, and can connect the engine to a simulated radio, delivering
// each reply after the request is sent (never from inside sendBytes).

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/workspace.h"
#include "link/transfer_engine.h"
#include "sim/simulated_radio.h"

namespace n27::test {

using link::Bytes;

struct ScriptedHost : TransferHost {
  std::vector<Bytes> sent;
  std::deque<Bytes> toRadio;  // sent but not yet seen by the radio
  bool timerRunning = false;
  int closes = 0;
  std::vector<std::string> questions;
  std::vector<std::pair<std::string, MessageIcon>> messages;
  std::vector<int> progressValues;
  std::vector<bool> results;
  std::optional<std::string> switchedTo;

  std::deque<bool> retryAnswers;  // empty: Cancel
  std::function<void(std::string &)> passwordDialog;
  int passwordDialogs = 0;
  bool switchAnswer = false;
  std::function<void()> duringQuestion;  // runs while a question is open
  std::vector<std::string> notes;

  void sendBytes(const std::vector<uint8_t> &bytes) override {
    sent.push_back(bytes);
    toRadio.push_back(bytes);
  }
  void startReplyTimer() override { timerRunning = true; }
  void stopReplyTimer() override { timerRunning = false; }
  void closePort() override { ++closes; }
  bool askRetry(const std::string &text) override {
    questions.push_back(text);
    if (duringQuestion) duringQuestion();
    if (retryAnswers.empty()) return false;
    bool a = retryAnswers.front();
    retryAnswers.pop_front();
    return a;
  }
  void askPassword(std::string &password) override {
    ++passwordDialogs;
    if (duringQuestion) duringQuestion();
    if (passwordDialog) passwordDialog(password);
  }
  bool askSwitchRelease(const std::string &text) override {
    questions.push_back(text);
    return switchAnswer;
  }
  void showMessage(const std::string &text, MessageIcon icon) override {
    messages.emplace_back(text, icon);
  }
  void progress(int percent) override { progressValues.push_back(percent); }
  void note(const std::string &text) override { notes.push_back(text); }
  void finished(bool success) override { results.push_back(success); }
  void switchRelease(const std::string &v) override { switchedTo = v; }
};

// A workspace the simulated radio's default identification passes.
inline Workspace MakeWorkspace() {
  Workspace ws;
  ws.modelName = "N27PR";
  ws.bandText = "400 - 490 MHz";
  ws.dataVersion = "V200";
  return ws;
}

inline VersionTable MakeVersions() {
  VersionTable v;
  v.addPair("V200V101");
  v.addPair("V300V102");
  return v;
}

// The engine wired to a simulated radio.
struct Bench {
  Workspace ws = MakeWorkspace();
  VersionTable versions = MakeVersions();
  ScriptedHost host;
  TransferEngine engine{ws, versions, host};
  sim::SimulatedRadio radio;
  // The line between them: may change or replace each reply of the radio on its way.
  std::function<void(const Bytes &request, Bytes &reply)> line;

  explicit Bench(sim::RadioSettings s = {}, sim::Faults f = {}) : radio(s, f) {}

  // Delivers requests to the radio and its replies to the engine until nothing moves; then,
  // while the transfer runs and the reply timer is armed, fires the timer. Returns the number
  // of timer events fired.
  int run(int maxTimeouts = 100) {
    int timeouts = 0;
    while (engine.running()) {
      if (!host.toRadio.empty()) {
        Bytes request = host.toRadio.front();
        host.toRadio.pop_front();
        for (Bytes reply : radio.receive(request)) {
          if (line) line(request, reply);
          engine.onBytesReceived(reply);
        }
        continue;
      }
      if (!host.timerRunning || timeouts >= maxTimeouts) break;
      ++timeouts;
      radio.resetFraming();
      engine.onReplyTimeout();
    }
    return timeouts;
  }
};

}  // namespace n27::test
