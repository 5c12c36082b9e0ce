// The node line shared by readdump and readvalid. It uses only the reader's
// borrowed strings, so printing a node allocates nothing.
#include "reader/node_line.h"

#include <cassert>
#include <cstdio>

void print_reader_node(xmlTextReader *reader)
{
    assert(reader != nullptr);

    const xmlChar *name = xmlTextReaderConstName(reader);
    const xmlChar *value = xmlTextReaderConstValue(reader);
    const int has_value = xmlTextReaderHasValue(reader);
    const int is_empty = xmlTextReaderIsEmptyElement(reader);
    const int type = xmlTextReaderNodeType(reader);
    const int depth = xmlTextReaderDepth(reader);

    std::printf("%d %d %s %d %d", depth, type,
                name != nullptr ? reinterpret_cast<const char *>(name) : "--", is_empty, has_value);
    if (value == nullptr) {
        std::putchar('\n');
    } else if (xmlStrlen(value) > 40) {
        // The cut counts bytes, so it may fall inside a multi-byte character.
        std::printf(" %.40s...\n", reinterpret_cast<const char *>(value));
    } else {
        std::printf(" %s\n", reinterpret_cast<const char *>(value));
    }
}
