// Test helper, not one of the programs: a library preloaded into a program
// under test (LD_PRELOAD) that logs each XML library call the program makes,
// one line per call, to the file named by CALL_LOG, and appends the bytes the
// program hands to the parser to CALL_LOG.data. The tests check the order and
// arguments of the calls, which the programs' output cannot show.

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlmemory.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
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

} // namespace

extern "C" {

void xmlCheckVersion(int version)
{
    if (version == LIBXML_VERSION) {
        log_line("xmlCheckVersion LIBXML_VERSION");
    } else {
        log_line("xmlCheckVersion %d", version);
    }
    next_definition(&xmlCheckVersion, "xmlCheckVersion")(version);
}

void xmlInitParser(void)
{
    log_line("xmlInitParser");
    next_definition(&xmlInitParser, "xmlInitParser")();
}

xmlParserCtxtPtr xmlCreatePushParserCtxt(xmlSAXHandlerPtr sax, void *user_data, const char *chunk, int size,
                                         const char *filename)
{
    log_line("xmlCreatePushParserCtxt sax=%s user_data=%s buffer=%d size=%d filename=%s", sax ? "set" : "(null)",
             user_data ? "set" : "(null)", buffer_number(chunk), size, text(filename));
    append(".data", chunk, size > 0 ? static_cast<size_t>(size) : 0);
    return next_definition(&xmlCreatePushParserCtxt, "xmlCreatePushParserCtxt")(sax, user_data, chunk, size,
                                                                               filename);
}

int xmlParseChunk(xmlParserCtxtPtr ctxt, const char *chunk, int size, int terminate)
{
    log_line("xmlParseChunk buffer=%d size=%d terminate=%d", buffer_number(chunk), size, terminate);
    append(".data", chunk, size > 0 ? static_cast<size_t>(size) : 0);
    return next_definition(&xmlParseChunk, "xmlParseChunk")(ctxt, chunk, size, terminate);
}

xmlParserCtxtPtr xmlNewParserCtxt(void)
{
    log_line("xmlNewParserCtxt");
    return next_definition(&xmlNewParserCtxt, "xmlNewParserCtxt")();
}

void xmlFreeParserCtxt(xmlParserCtxtPtr ctxt)
{
    if (ctxt != nullptr && ctxt->myDoc != nullptr) {
        parsed_document = ctxt->myDoc;
    }
    log_line("xmlFreeParserCtxt%s", ctxt != nullptr ? "" : " (null)");
    next_definition(&xmlFreeParserCtxt, "xmlFreeParserCtxt")(ctxt);
}

xmlDocPtr xmlCtxtReadFile(xmlParserCtxtPtr ctxt, const char *filename, const char *encoding, int options)
{
    log_line("xmlCtxtReadFile filename=%s encoding=%s options=%d", text(filename), text(encoding), options);
    xmlDocPtr doc = next_definition(&xmlCtxtReadFile, "xmlCtxtReadFile")(ctxt, filename, encoding, options);
    parsed_document = doc;
    return doc;
}

xmlDocPtr xmlReadFile(const char *filename, const char *encoding, int options)
{
    log_line("xmlReadFile filename=%s encoding=%s options=%d", text(filename), text(encoding), options);
    xmlDocPtr doc = next_definition(&xmlReadFile, "xmlReadFile")(filename, encoding, options);
    parsed_document = doc;
    return doc;
}

xmlDocPtr xmlReadMemory(const char *buffer, int size, const char *URL, const char *encoding, int options)
{
    log_line("xmlReadMemory size=%d URL=%s encoding=%s options=%d", size, text(URL), text(encoding), options);
    append(".data", buffer, size > 0 ? static_cast<size_t>(size) : 0);
    xmlDocPtr doc = next_definition(&xmlReadMemory, "xmlReadMemory")(buffer, size, URL, encoding, options);
    parsed_document = doc;
    return doc;
}

void xmlFreeDoc(xmlDocPtr cur)
{
    log_line("xmlFreeDoc %s", document_name(cur));
    next_definition(&xmlFreeDoc, "xmlFreeDoc")(cur);
}

void xmlCleanupParser(void)
{
    log_line("xmlCleanupParser");
    next_definition(&xmlCleanupParser, "xmlCleanupParser")();
}

void xmlMemoryDump(void)
{
    log_line("xmlMemoryDump");
    next_definition(&xmlMemoryDump, "xmlMemoryDump")();
}

} // extern "C"
