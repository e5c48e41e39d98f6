#pragma once
// A channel window on a fresh workspace, with the message boxes answered by the test.

#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "base/language.h"
#include "base/ui/prompter.h"
#include "channels/channel_context.h"
#include "channels/channel_ops.h"
#include "channels/ui/frmCommChInfo.h"
#include "codeplug/bands.h"
#include "codeplug/workspace.h"

#include <gtest/gtest.h>

namespace n27::testing {

// Records every message box instead of showing it; questions are answered with `answer`.
class RecordingPrompter : public Prompter {
 public:
  void message(QWidget *, const QString &text, BoxIcon) override { messages.push_back(text); }
  Answer ask(QWidget *, const QString &text, Prompt) override {
    questions.push_back(text);
    return answer;
  }
  std::vector<QString> messages;
  std::vector<QString> questions;
  Answer answer = Answer::Ok;
};

class ChannelWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLanguageIndex(kEnglish);
    SetPrompter(&prompter);
    ws.bandText = kBand400;
    SetBandLimits(ws);
  }
  void TearDown() override {
    window.reset();
    SetPrompter(nullptr);
    SetLanguageIndex(kEnglish);
  }

  // Opens the channel window and makes it the active window, as a user sees it.
  frmCommChInfo &open() {
    window = std::make_unique<frmCommChInfo>(ctx);
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->grid()->setFocus();
    return *window;
  }

  // Adds a channel through the channel list, as a read or a load would leave it.
  void addChannel(int number, const char *rx) { AddChannel(ctx, 1, number, rx); }
  const ChannelRecord *channel(int number) const {
    int slot = ws.working.findChannel(number);
    return slot ? ws.working.slot(slot) : nullptr;
  }

  QString cell(int row, int col) const { return window->grid()->item(row - 1, col)->text(); }
  // The grid's current cell as (row, column).
  std::pair<int, int> cursor() const {
    return {window->grid()->currentRow() + 1, window->grid()->currentColumn()};
  }
  void moveTo(int row, int col) { window->grid()->setCurrentCell(row - 1, col); }
  void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
  void type(const char *text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  void doubleClick(int row, int col) {
    QTableWidget *g = window->grid();
    QRect r = g->visualItemRect(g->item(row - 1, col));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
  }

  RecordingPrompter prompter;
  Workspace ws;
  std::vector<std::string> codecMessages;
  ChannelContext ctx{ws, [this](const std::string &text, MessageIcon) { codecMessages.push_back(text); }};
  std::unique_ptr<frmCommChInfo> window;
};

}  // namespace n27::testing
