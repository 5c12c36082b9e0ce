// pushparse: checks one XML file for well-formedness by feeding it to the
// push parser in chunks of at most 4 bytes; reports failures on standard error.
// Usage: pushparse <file>

#include "common/handles.h"
#include "common/library.h"

#include <cstdio>

namespace {

constexpr int chunk_size = 4;

// The file being parsed, shared by the entry point and read_chunk.
FILE *input_file = nullptr;

// Reads the next chunk into the start of the buffer; 0 at end of file or on a read error.
int read_chunk(char *chunk)
{
    return static_cast<int>(std::fread(chunk, 1, chunk_size, input_file));
}

void report_failure(const char *filename)
{
    std::fprintf(stderr, "Failed to parse %s\n", filename);
}

// Pushes the whole of input_file through the parser and reports a document
// that is not well formed. The first chunk goes in at context creation, so
// no data call ever carries 0 bytes; only the terminating call does.
void push_parse(const char *filename, char *chunk)
{
    int size = read_chunk(chunk);
    if (size == 0) {
        report_failure(filename);
        return;
    }

    ParserCtxtPtr context(xmlCreatePushParserCtxt(nullptr, nullptr, chunk, size, filename));
    if (!context) {
        std::fputs("Failed to create parser context !\n", stderr);
        return;
    }

    // The parser's verdict is read only at the end, so the whole file is fed even after an error.
    while ((size = read_chunk(chunk)) > 0) {
        xmlParseChunk(context.get(), chunk, size, 0);
    }
    xmlParseChunk(context.get(), chunk, 0, 1);

    const int well_formed = context->wellFormed;
    DocPtr doc(context->myDoc);
    context.reset();
    if (well_formed == 0) {
        report_failure(filename);
    }
    doc.reset();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        return 1;
    }

    xmlCheckVersion(LIBXML_VERSION);

    input_file = std::fopen(argv[1], "rb");
    if (input_file == nullptr) {
        report_failure(argv[1]);
    } else {
        char chunk[chunk_size];
        push_parse(argv[1], chunk);
        std::fclose(input_file);
        input_file = nullptr;
    }

    cleanup_library();
    return 0;
}
