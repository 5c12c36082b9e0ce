// Test helper, not one of the programs: a library preloaded into a program
// under test (LD_PRELOAD) that logs each XML library call the program makes,
// one line per call, to the file named by CALL_LOG, and appends the bytes the
// program hands to the parser to CALL_LOG.data. The tests check the order and
// arguments of the calls, which the programs' output cannot show. Calls the
// library makes into its own exported functions (newer releases call
// xmlInitParser from inside xmlReadFile, for instance) reach this library too;
// they are passed on without a line.
//
// CALL_LOG_REFUSE names functions, separated by blanks, whose calls by the
// program get the library's answer for a failure instead of going to it (no
// name, no node, -1, no document, a refused registration, no inclusion
// made): what a program does then is in its contract, but no input makes the
// library answer so. Those calls are not logged. A refused xmlGetLastError
// reports a failed allocation, as 2.9.14 may after handing back a document it
// could not finish.
// CALL_LOG_WIDEST names reader queries of a number whose calls by the program
// get INT_MIN instead, the widest number a node line can hold: no document
// gives it, but the line must have room for it.

#include "common/library.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xinclude.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlmemory.h>
#include <libxml/xmlreader.h>
#include <libxml/xpath.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/auxv.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The buffers and documents seen so far, so that a line can say which one a call received.
const void *buffers[16];
int buffer_count = 0;
const void *parsed_document = nullptr;

template <typename Function>
Function next_definition(Function, const char *name)
{
    void *symbol = dlsym(RTLD_NEXT, name);
    if (symbol == nullptr) {
        std::fprintf(stderr, "call_log: %s not found\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

// The start of the loaded object that holds an address, or null.
const void *object_of(const void *address)
{
    Dl_info info{};
    return dladdr(address, &info) != 0 ? info.dli_fbase : nullptr;
}

// Whether a wrapper was called from the program's own executable. The
// library's calls into itself come from the library, or, where it ends a
// function with a jump to another (xmlCheckVersion into xmlInitParser), from
// the wrapper that called it, or from the loader that runs its destructor.
// The wrappers are built without such jumps, so their own calls keep a
// return address inside this helper.
bool called_by_program(const void *caller)
{
    static const void *program = object_of(reinterpret_cast<const void *>(getauxval(AT_PHDR)));
    return program != nullptr && object_of(caller) == program;
}

void append(const char *suffix, const void *bytes, size_t size)
{
    const char *log = std::getenv("CALL_LOG");
    if (log == nullptr || size == 0) {
        return;
    }
    const std::string path = std::string(log) + suffix;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) {
        return;
    }
    if (write(fd, bytes, size) != static_cast<ssize_t>(size)) {
        std::fputs("call_log: short write\n", stderr);
    }
    close(fd);
}

__attribute__((format(printf, 1, 2))) void log_line(const char *format, ...)
{
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line - 1, format, arguments);
    va_end(arguments);
    if (length < 0) {
        return;
    }
    size_t size = std::min(static_cast<size_t>(length), sizeof line - 2);
    line[size++] = '\n';
    append("", line, size);
}

// Numbers each distinct buffer address in the order first seen: 1, 2, ...
int buffer_number(const void *buffer)
{
    for (int i = 0; i < buffer_count; ++i) {
        if (buffers[i] == buffer) {
            return i + 1;
        }
    }
    if (buffer_count < 16) {
        buffers[buffer_count++] = buffer;
        return buffer_count;
    }
    return 0;
}

const char *text(const char *value)
{
    return value != nullptr ? value : "(null)";
}

const char *document_name(const void *doc)
{
    if (doc == nullptr) {
        return "(null)";
    }
    return doc == parsed_document ? "parsed" : "other";
}

// A document a parse handed to the program is "parsed" in later lines.
xmlDocPtr parsed(bool logged, xmlDocPtr doc)
{
    if (logged) {
        parsed_document = doc;
    }
    return doc;
}

bool listed(const char *variable, const char *name)
{
    const char *list = std::getenv(variable);
    return list != nullptr && (" " + std::string(list) + " ").find(" " + std::string(name) + " ") != std::string::npos;
}

} // namespace

// Each wrapper looks up the library's definition once, logs its line if the
// program made the call, and passes the call on.
#define FORWARD(name) static const auto real = next_definition(&name, #name)
#define FROM_PROGRAM called_by_program(__builtin_return_address(0))
#define REFUSED(name) (FROM_PROGRAM && listed("CALL_LOG_REFUSE", #name))
#define WIDEST(name) (FROM_PROGRAM && listed("CALL_LOG_WIDEST", #name))
// A reader's query of a number: -1 when refused, INT_MIN when widest.
#define NUMBER_QUERY(name)                                                                                             \
    int name(xmlTextReaderPtr reader)                                                                                  \
    {                                                                                                                  \
        FORWARD(name);                                                                                                 \
        return REFUSED(name) ? -1 : WIDEST(name) ? INT_MIN : real(reader);                                             \
    }

// A call logged by its name alone.
#define LOGGED(result, name, parameters, arguments)                                                                    \
    result name parameters                                                                                             \
    {                                                                                                                  \
        FORWARD(name);                                                                                                 \
        if (FROM_PROGRAM) {                                                                                            \
            log_line(#name);                                                                                           \
        }                                                                                                              \
        return real arguments;                                                                                         \
    }

extern "C" {

void xmlCheckVersion(int version)
{
    FORWARD(xmlCheckVersion);
    if (FROM_PROGRAM && version == LIBXML_VERSION) {
        log_line("xmlCheckVersion LIBXML_VERSION");
    } else if (FROM_PROGRAM) {
        log_line("xmlCheckVersion %d", version);
    }
    real(version);
}

xmlParserCtxtPtr xmlCreatePushParserCtxt(xmlSAXHandlerPtr sax, void *user_data, const char *chunk, int size,
                                         const char *filename)
{
    FORWARD(xmlCreatePushParserCtxt);
    if (FROM_PROGRAM) {
        log_line("xmlCreatePushParserCtxt sax=%s user_data=%s buffer=%d size=%d filename=%s",
                 sax ? "set" : "(null)", user_data ? "set" : "(null)", buffer_number(chunk), size, text(filename));
        append(".data", chunk, size > 0 ? static_cast<size_t>(size) : 0);
    }
    return real(sax, user_data, chunk, size, filename);
}

int xmlParseChunk(xmlParserCtxtPtr ctxt, const char *chunk, int size, int terminate)
{
    FORWARD(xmlParseChunk);
    if (FROM_PROGRAM) {
        log_line("xmlParseChunk buffer=%d size=%d terminate=%d", buffer_number(chunk), size, terminate);
        append(".data", chunk, size > 0 ? static_cast<size_t>(size) : 0);
    }
    return real(ctxt, chunk, size, terminate);
}

void xmlFreeParserCtxt(xmlParserCtxtPtr ctxt)
{
    FORWARD(xmlFreeParserCtxt);
    if (FROM_PROGRAM) {
        if (ctxt != nullptr && ctxt->myDoc != nullptr) {
            parsed_document = ctxt->myDoc;
        }
        log_line("xmlFreeParserCtxt%s", ctxt != nullptr ? "" : " (null)");
    }
    real(ctxt);
}

xmlDocPtr xmlCtxtReadFile(xmlParserCtxtPtr ctxt, const char *filename, const char *encoding, int options)
{
    FORWARD(xmlCtxtReadFile);
    const bool logged = FROM_PROGRAM;
    if (logged) {
        log_line("xmlCtxtReadFile filename=%s encoding=%s options=%d", text(filename), text(encoding), options);
    }
    return parsed(logged, real(ctxt, filename, encoding, options));
}

xmlDocPtr xmlReadFile(const char *filename, const char *encoding, int options)
{
    FORWARD(xmlReadFile);
    const bool logged = FROM_PROGRAM;
    if (logged) {
        log_line("xmlReadFile filename=%s encoding=%s options=%d", text(filename), text(encoding), options);
    }
    return parsed(logged, real(filename, encoding, options));
}

xmlDocPtr xmlParseFile(const char *filename)
{
    FORWARD(xmlParseFile);
    const bool logged = FROM_PROGRAM;
    if (logged) {
        log_line("xmlParseFile filename=%s", text(filename));
    }
    return parsed(logged, real(filename));
}

xmlDocPtr xmlReadMemory(const char *buffer, int size, const char *URL, const char *encoding, int options)
{
    FORWARD(xmlReadMemory);
    const bool logged = FROM_PROGRAM;
    if (logged) {
        log_line("xmlReadMemory size=%d URL=%s encoding=%s options=%d", size, text(URL), text(encoding), options);
        append(".data", buffer, size > 0 ? static_cast<size_t>(size) : 0);
    }
    return parsed(logged, real(buffer, size, URL, encoding, options));
}

void xmlFreeDoc(xmlDocPtr cur)
{
    FORWARD(xmlFreeDoc);
    if (FROM_PROGRAM) {
        log_line("xmlFreeDoc %s", document_name(cur));
    }
    real(cur);
}

int xmlDocDump(FILE *stream, xmlDocPtr cur)
{
    FORWARD(xmlDocDump);
    if (FROM_PROGRAM) {
        log_line("xmlDocDump %s %s", stream == stdout ? "stdout" : "other", document_name(cur));
    }
    return real(stream, cur);
}

void xmlDocDumpFormatMemory(xmlDocPtr cur, xmlChar **mem, int *size, int format)
{
    FORWARD(xmlDocDumpFormatMemory);
    if (FROM_PROGRAM) {
        log_line("xmlDocDumpFormatMemory %s format=%d", document_name(cur), format);
    }
    real(cur, mem, size, format);
}

int xmlRegisterInputCallbacks(xmlInputMatchCallback match, xmlInputOpenCallback opener, xmlInputReadCallback reader,
                              xmlInputCloseCallback closer)
{
    FORWARD(xmlRegisterInputCallbacks);
    return REFUSED(xmlRegisterInputCallbacks) ? -1 : real(match, opener, reader, closer);
}

decltype(xmlGetLastError()) xmlGetLastError()
{
    FORWARD(xmlGetLastError);
    static xmlError out_of_memory{};
    out_of_memory.code = XML_ERR_NO_MEMORY;
    return REFUSED(xmlGetLastError) ? &out_of_memory : real();
}

xmlNodePtr xmlNewDocText(const xmlDoc *doc, const xmlChar *content)
{
    FORWARD(xmlNewDocText);
    return REFUSED(xmlNewDocText) ? nullptr : real(doc, content);
}

// Refused, no inclusion is made, as 2.9.14 answers after a failed allocation it absorbed.
int xmlXIncludeProcess(xmlDocPtr doc)
{
    FORWARD(xmlXIncludeProcess);
    return REFUSED(xmlXIncludeProcess) ? 0 : real(doc);
}

const xmlChar *xmlTextReaderConstName(xmlTextReaderPtr reader)
{
    FORWARD(xmlTextReaderConstName);
    return REFUSED(xmlTextReaderConstName) ? nullptr : real(reader);
}

xmlTextReaderPtr xmlReaderForFile(const char *filename, const char *encoding, int options)
{
    FORWARD(xmlReaderForFile);
    if (FROM_PROGRAM) {
        log_line("xmlReaderForFile filename=%s encoding=%s options=%d", text(filename), text(encoding), options);
    }
    return real(filename, encoding, options);
}

int xmlReaderNewFile(xmlTextReaderPtr reader, const char *filename, const char *encoding, int options)
{
    FORWARD(xmlReaderNewFile);
    if (FROM_PROGRAM) {
        log_line("xmlReaderNewFile filename=%s encoding=%s options=%d", text(filename), text(encoding), options);
    }
    return real(reader, filename, encoding, options);
}

NUMBER_QUERY(xmlTextReaderIsEmptyElement)
NUMBER_QUERY(xmlTextReaderHasValue)
NUMBER_QUERY(xmlTextReaderNodeType)
NUMBER_QUERY(xmlTextReaderDepth)

xmlDocPtr xmlTextReaderCurrentDoc(xmlTextReaderPtr reader)
{
    FORWARD(xmlTextReaderCurrentDoc);
    return REFUSED(xmlTextReaderCurrentDoc) ? nullptr : real(reader);
}

LOGGED(void, xmlInitParser, (void), ())
LOGGED(xmlParserCtxtPtr, xmlNewParserCtxt, (void), ())
LOGGED(void, xmlCleanupParser, (void), ())
LOGGED(void, xmlResetLastError, (void), ())
LOGGED(void, xmlFreeNode, (xmlNodePtr node), (node))
LOGGED(void, xmlFreeTextReader, (xmlTextReaderPtr reader), (reader))
LOGGED(void, xmlXPathFreeObject, (xmlXPathObjectPtr object), (object))
LOGGED(void, xmlXPathFreeContext, (xmlXPathContextPtr context), (context))
#if XMLTOOLS_HAVE_MEMORY_DUMP
LOGGED(void, xmlMemoryDump, (void), ())
#endif

} // extern "C"
