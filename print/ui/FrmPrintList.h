#pragma once
// The print list: the user ticks the parts of the configuration to print, then prints them
// on a printer or into a PDF file.

#include <QDialog>
#include <array>
#include <functional>

#include "print/report.h"

class QCheckBox;
class QPrinter;
class QPushButton;

namespace n27 {

class ChannelContext;
class EditorRegistry;

class FrmPrintList : public QDialog {
  Q_OBJECT

 public:
  // Asks for the printer to use; false when the user cancelled.
  using PrinterChooser = std::function<bool(QPrinter &printer, QWidget *parent)>;

  explicit FrmPrintList(ChannelContext &ctx, QWidget *parent = nullptr);

  // Replaces the system printer dialog (tests).
  void setPrinterChooser(PrinterChooser chooser) { chooser_ = std::move(chooser); }

  // The ticks, by printing order.
  print::PrintSelection selection() const;
  // The "Licence check" box: the plan checked against the attached licence, after the rest.
  bool licenceCheckTicked() const;
  // The "Set" button: prints the ticked parts after the printer dialog. True when printed.
  bool printTicked();
  // The PDF button: asks for a file name and writes the ticked parts there. True when written.
  bool saveTickedAsPdf();
  // The file the PDF button proposes: the data file's folder and name with ".pdf"; for an
  // untitled configuration "new.pdf" in the user's documents folder.
  QString proposedPdfName() const;

 private:
  bool anyTicked();
  bool printOn(QPrinter &printer);

  ChannelContext &ctx_;
  std::array<QCheckBox *, print::kPrintItemCount> check1_{};  // by box number Check1(0..6)
  QCheckBox *licenceCheck_ = nullptr;
  PrinterChooser chooser_;
};

// Makes the print list known to the main window (File > Print and the toolbar button).
void RegisterPrintWindow(EditorRegistry &registry);

}  // namespace n27
