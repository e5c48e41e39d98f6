#include "app/ui/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "base/language.h"

namespace n27 {

namespace {

// One translator for the whole run, installed while the interface is Chinese.
QTranslator &qtTranslator() {
  static QTranslator *translator = new QTranslator(QCoreApplication::instance());
  return *translator;
}

bool qtInstalled = false;

}  // namespace

QString QtTranslationsFile(int language) {
  if (language != kChinese) return {};
  return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath("qtbase_zh_CN.qm");
}

bool ApplyQtTranslations(int language) {
  if (!QCoreApplication::instance()) return false;
  QTranslator &translator = qtTranslator();
  if (language != kChinese) {
    if (qtInstalled) QCoreApplication::removeTranslator(&translator);
    qtInstalled = false;
    return true;
  }
  if (qtInstalled) return true;
  if (translator.isEmpty() && !translator.load(QtTranslationsFile(language))) return false;
  qtInstalled = QCoreApplication::installTranslator(&translator);
  return qtInstalled;
}

}  // namespace n27
