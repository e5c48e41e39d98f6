#pragma once
// Lays the printed report out on a printer (or a PDF writer).

#include "print/report.h"

class QPagedPaintDevice;

namespace n27::print {

// Draws every page of the report on the device, which must be idle. False when the device
// could not be opened for painting (a printer error); nothing is drawn then.
bool PaintReport(const Report &report, QPagedPaintDevice &device);

}  // namespace n27::print
