#pragma once

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

// Printing for every window: a job that fails is reported, never passes for
// printed, and leaves neither a cut-off PDF file nor a broken printer.

// Names the job after the executable and runs paint on a painter begun on the
// printer. A PDF file is written beside its target and takes its place only
// when complete; otherwise EFileError names it. Throws Exception when the job
// cannot be started or ended.
void PrintThroughPartFile(QPrinter &printer, const std::function<void(QPainter &)> &paint);

// A printer with the settings of the given one. Qt's PDF engine stays broken
// after a failed write and would print every later job as an empty file, so
// a printer whose job failed is replaced by this copy.
std::unique_ptr<QPrinter> CopyOfPrinter(const QPrinter &printer);

// Runs the job on *printer; when it throws, *printer is first replaced by
// its copy, so the next job gets a printer that works.
void PrintKeepingPrinter(std::unique_ptr<QPrinter> &printer,
                         const std::function<void(QPrinter &)> &job);
