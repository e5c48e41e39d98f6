#pragma once
// The Open and Save dialogs of the program. They speak the interface language however it was
// chosen: at start from the system locale or later with Set Language. Qt's own texts come
// from its translation; the sizes, types and dates of the file list are written here in the
// interface language, so a switch at run time gives the same dialog as a start in it.

#include <QFileDialog>
#include <QLocale>
#include <memory>

class QWidget;

namespace n27 {

// The locale of the interface language: Chinese (China) for Chinese; for English the
// system's own locale, unless that is a Chinese one (then English, United States).
QLocale InterfaceLocale();

// A file dialog (Qt's own, never the desktop's, which would keep the system's language) over
// `folder` or a proposed file, with the filter, its file list in the interface language.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget *parent, const QString &filter, const QString &start,
                                            QFileDialog::AcceptMode mode);

}  // namespace n27
