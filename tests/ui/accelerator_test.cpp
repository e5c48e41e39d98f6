// Alt keys: in every window each accelerator letter reaches one control, and a child window
// of the main window uses none of the menu bar's letters.

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/language.h"
#include "base/main_window_texts.h"
#include "channels/batch_engine.h"
#include "channels/channel_context.h"
#include "channels/ui/FrmCHBatch.h"
#include "channels/ui/frmCommChInfo.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "common/test_folder.h"
#include "features/ui/feature_windows.h"
#include "print/ui/FrmPrintList.h"

namespace n27 {
namespace {

// The letter after '&' (upper case), or 0.
QChar mnemonic(const QString &text) {
  for (int i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '&') {
      if (text[i + 1] == '&') {
        ++i;
        continue;
      }
      return text[i + 1].toUpper();
    }
  return QChar();
}

std::set<QChar> menuBarLetters() {
  std::set<QChar> letters;
  for (const Tr *t : {&mainText::kMenuFile, &mainText::kMenuModel, &mainText::kMenuChannelEdit,
                      &mainText::kMenuEdit, &mainText::kMenuProgram, &mainText::kMenuTools,
                      &mainText::kMenuSetting, &mainText::kMenuView, &mainText::kMenuWindow,
                      &mainText::kMenuHelp})
    letters.insert(mnemonic(QString::fromUtf8(t->get())));
  return letters;
}

// Every accelerator of a window's buttons, boxes and labels, with the controls using it.
std::map<QChar, QStringList> accelerators(QWidget &w) {
  std::map<QChar, QStringList> out;
  for (auto *b : w.findChildren<QAbstractButton *>())
    if (QChar m = mnemonic(b->text()); !m.isNull()) out[m] << b->objectName() + " " + b->text();
  for (auto *l : w.findChildren<QLabel *>())
    if (QChar m = mnemonic(l->text()); !m.isNull()) out[m] << l->objectName() + " " + l->text();
  for (auto *g : w.findChildren<QGroupBox *>())
    if (QChar m = mnemonic(g->title()); !m.isNull()) out[m] << g->objectName() + " " + g->title();
  return out;
}

void expectOwnLetters(QWidget &w, bool child, const char *what) {
  const auto menu = menuBarLetters();
  for (const auto &[letter, users] : accelerators(w)) {
    EXPECT_EQ(users.size(), 1) << what << ": Alt+" << QString(letter).toStdString() << " on "
                               << users.join(", ").toStdString();
    if (child) {
      EXPECT_FALSE(menu.count(letter)) << what << ": Alt+" << QString(letter).toStdString()
                                       << " is a menu of the main window (" << users.join(", ").toStdString()
                                       << ")";
    }
  }
}

using Accelerators = TestFolderFixture;

TEST_F(Accelerators, EachLetterReachesOneControl) {
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    Workspace ws;
    NewConfiguration(ws);
    ws.bandText = kBand400;
    SetBandLimits(ws);
    ChannelContext ctx(ws);
    {
      frmCommChInfo grid(ctx);
      expectOwnLetters(grid, true, "channel grid");
    }
    {
      BatchItems items = DefaultBatchItems();
      FrmCHBatch batch(ctx, items, dir.string());
      expectOwnLetters(batch, true, "batch edit");
    }
    {
      FrmOptFeatures options(ctx);
      expectOwnLetters(options, true, "Function Setup");
      FrmDTMF dtmf(ctx);
      expectOwnLetters(dtmf, true, "DTMF");
    }
    {
      FrmPrintList print(ctx);
      expectOwnLetters(print, false, "print list");
    }
  }
  SetLanguageIndex(kEnglish);
}

}  // namespace
}  // namespace n27
