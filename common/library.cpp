#include "common/library.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlmemory.h>

void cleanup_library()
{
    xmlCleanupParser();
#if XMLTOOLS_HAVE_MEMORY_DUMP
    xmlMemoryDump();
#endif
}

bool library_out_of_memory()
{
    const xmlError *error = xmlGetLastError();
    return error != nullptr && error->code == XML_ERR_NO_MEMORY;
}
