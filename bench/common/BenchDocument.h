#pragma once

namespace richedit {
class RichEditDocument;
}

namespace bench {

// Fills a document with about `pages` pages of generated text: paragraphs
// with mixed character formatting, headings, bulleted and numbered lists, a
// table about every ten pages, and a second section halfway.
void generateDocument(richedit::RichEditDocument *doc, int pages);

// Peak resident memory of this process, in megabytes.
double peakRssMb();

// Prints one benchmark figure as a JSON line.
void report(const char *name, double value, const char *unit);

} // namespace bench
