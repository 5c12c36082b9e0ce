// What differs between the releases of the XML library the programs build
// against, decided once from LIBXML_VERSION of the headers.
#pragma once

#include <libxml/xmlstring.h>
#include <libxml/xmlversion.h>

// The library's memory-debugging report, xmlMemoryDump, became an empty,
// deprecated call in release 2.13.
#define XMLTOOLS_HAVE_MEMORY_DUMP (LIBXML_VERSION < 21300)

// xmlNodeSetContent returns a status from release 2.13, negative when an
// allocation failed; before, it returns nothing and a failure goes unseen.
#define XMLTOOLS_SET_CONTENT_HAS_STATUS (LIBXML_VERSION >= 21300)

// A C string (a literal or a command-line argument) handed to the library as
// its own string type: the same bytes, taken as UTF-8.
inline const xmlChar *library_text(const char *text)
{
    return reinterpret_cast<const xmlChar *>(text);
}

// The end of a program's normal path: the library's global clean-up, then its
// memory-debugging report where the release still provides one.
void cleanup_library();

// Whether the library reported a failed allocation since its last error was
// reset (xmlResetLastError). Release 2.9.14 may carry on after one and hand
// back a document cut short, or an XPath result that is incomplete or refers
// to memory it has already freed: such a result is not to be used.
bool library_out_of_memory();
