#pragma once
// Lays the printed report out on a printer (or a PDF writer).

#include <functional>

#include "print/report.h"

class QPaintDevice;
class QPagedPaintDevice;

namespace n27::print {

// Draws every page of the report on the device, which must be idle. The channel pages are
// divided anew for the paper (as many channels as fit at no less than 8 pt). False when the
// device could not be opened for painting (a printer error); nothing is drawn then.
bool PaintReport(const Report &report, QPagedPaintDevice &device);

// The same on any paint device; `newPage` starts the next page. Returns the pages drawn (0:
// the device could not be opened).
int PaintReportOn(const Report &report, QPaintDevice &device, const std::function<void()> &newPage);

}  // namespace n27::print
