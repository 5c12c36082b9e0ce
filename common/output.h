// Output helpers shared by every program.
#pragma once

#include <libxml/tree.h>
#include <libxml/xmlstring.h>

// The text to print for a library string: the string itself, or "(null)"
// where it is absent, so formatted output never receives a null pointer.
const char *text_or_null(const xmlChar *text);
const char *text_or_null(const char *text);

// The last step of a program that writes to standard output: flushes it and,
// if any write failed, reports "Failed to write output" on standard error and
// returns 1; otherwise returns the program's own status unchanged.
int finish_output(int status);

// Writes a document to standard output with the library's serialiser. A
// serialisation the library could not complete (for lack of memory) counts as
// output that could not be written, which finish_output then reports.
void dump_document(xmlDoc *doc);
