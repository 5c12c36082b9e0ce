#include "common/library.h"

#include <libxml/parser.h>
#include <libxml/xmlmemory.h>

void cleanup_library()
{
    xmlCleanupParser();
#if XMLTOOLS_HAVE_MEMORY_DUMP
    xmlMemoryDump();
#endif
}
