// The node line shared by the reader dumps: one line per node the text reader
// stands on, "depth type name empty has-value" followed by the value, if any.
#pragma once

#include <libxml/xmlreader.h>

// Writes the node line of the reader's current node to standard output. The
// last xmlTextReaderRead on the reader must have returned 1. Values longer
// than 40 bytes are cut to their first 40 bytes and marked with "...".
void print_reader_node(xmlTextReader *reader);
