#pragma once
// Qt's own texts (file dialogs, the print dialog, message-box and dialog buttons) in the
// program's language: the Chinese interface loads Qt's Chinese translations (qtbase_zh_CN
// from Qt's translations folder, Debian package qt6-translations-l10n); English removes them.

#include <QString>

namespace n27 {

// Installs or removes Qt's translations for a language index. True when Qt's texts now
// follow the language (always for English; for Chinese only when the .qm file was found).
bool ApplyQtTranslations(int language);

// The translation file Qt's texts use for a language index; empty for English.
QString QtTranslationsFile(int language);

}  // namespace n27
