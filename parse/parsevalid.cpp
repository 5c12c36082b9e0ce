// parsevalid: parses one XML file with DTD validation through a parser
// context of its own and reports a file that cannot be parsed or is not valid.
// Usage: parsevalid <file>

#include "common/handles.h"
#include "common/library.h"

#include <cstdio>

namespace {

// Never the network: a DTD or an entity that a document names by an http or
// ftp URL is refused like a missing file. Files and catalogs still resolve.
constexpr int parse_options = XML_PARSE_DTDVALID | XML_PARSE_NONET;
static_assert(parse_options == (16 | 2048));

void validate_file(const char *filename)
{
    // Declared in creation order, so the document is freed before the context.
    const ParserCtxtPtr context(xmlNewParserCtxt());
    if (!context) {
        std::fputs("Failed to allocate parser context\n", stderr);
        return;
    }

    const DocPtr doc(xmlCtxtReadFile(context.get(), filename, nullptr, parse_options));
    if (!doc) {
        std::fprintf(stderr, "Failed to parse %s\n", filename);
        return;
    }
    if (context->valid == 0) {
        std::fprintf(stderr, "Failed to validate %s\n", filename);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        return 1;
    }

    xmlCheckVersion(LIBXML_VERSION);

    validate_file(argv[1]);

    cleanup_library();
    return 0;
}
