// Reading back what the PDF printer of tests/support/with-cups.sh wrote, from a test under
// Wine: the file, and its text through pdftotext.
#pragma once

#include <string>

namespace pdfcheck {

// The printer's output folder (a Linux path) from the test command; empty outside it.
std::string OutputFolder();
// The newest PDF in folder once it is complete (a Linux path); empty after seconds.
std::string WaitForPdf(const std::string& folder, int seconds);
// The PDF's text, pages ended by form feeds (UTF-8); empty when it cannot be had.
std::string PdfText(const std::string& pdf);
// cp1250 text as UTF-8, to compare with pdftotext's output.
std::string Utf8(const char* cp1250);

} // namespace pdfcheck
