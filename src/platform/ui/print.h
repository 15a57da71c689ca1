// PrintForm: the form's client area, controls included, on paper at its
// size on the screen.
#pragma once

#include <functional>
#include <string>

namespace zarv {

class Form;

struct PrintJob {
  std::string caption;      // the form's caption (the print job's name)
  int width = 0;            // image size in pixels
  int height = 0;
  bool toPdf = false;       // no printer: written to a PDF file
  std::string pdfPath;      // the first free name now ("" when none)
};

// Prints through the print dialog; where no printer is installed the page
// goes to a PDF file "printNNN.pdf" (first free number, 000 to 999; never
// over a file) in the program folder instead. False when the dialog was
// cancelled or printing failed.
bool PrintForm(Form& form);
// The PDF file the last print wrote ("" when it went to a printer).
const std::string& LastPrintFile();
// The PDF file the last print could not write (a full disk, a file-size
// limit, a folder that may not be written): nothing of it is left.
const std::string& LastUnsavedPrintFile();
// The program folder when the last print found print000.pdf to
// print999.pdf all taken there (it wrote nothing); "" otherwise.
const std::string& LastPrintFolderFull();
// True when the last PrintForm returned false because the user cancelled,
// not because printing failed.
bool LastPrintCancelled();

// Test hook: decides instead of the print dialog (true prints, false
// cancels). nullptr restores the dialog.
void SetPrintDialogResponder(std::function<bool(const PrintJob&)> responder);
// Test hook: print to the PDF file even when printers exist.
void SetPrintToPdf(bool on);

}  // namespace zarv
