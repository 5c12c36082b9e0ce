// readvalid: streams an XML file with entity substitution, DTD default
// attributes and DTD validation, writes one node line per node and reports a
// document that does not validate.
// Usage: readvalid <xml-file>

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"
#include "reader/node_line.h"

#include <cassert>
#include <cstdio>

namespace {

// Never the network: a DTD or an entity that a document names by an http or
// ftp URL is refused like a missing file, so no document can make the
// program contact a host. Files and the system's catalogs still resolve.
constexpr int reader_options = XML_PARSE_NOENT | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID | XML_PARSE_NONET;
static_assert(reader_options == (26 | 2048));

// Prints every node, then the validity verdict, then, once the reader is
// freed, a parse failure. The verdict is asked for even after a parse error.
void stream_file(const char *filename)
{
    assert(filename != nullptr);

    ReaderPtr reader(xmlReaderForFile(filename, nullptr, reader_options));
    if (!reader) {
        std::fprintf(stderr, "Unable to open %s\n", filename);
        return;
    }

    int result = xmlTextReaderRead(reader.get());
    while (result == 1) {
        print_reader_node(reader.get());
        result = xmlTextReaderRead(reader.get());
    }

    if (xmlTextReaderIsValid(reader.get()) != 1) {
        std::fprintf(stderr, "Document %s does not validate\n", filename);
    }
    reader.reset();

    if (result != 0) {
        std::fprintf(stderr, "%s : failed to parse\n", filename);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        return 1;
    }

    xmlCheckVersion(LIBXML_VERSION);

    stream_file(argv[1]);

    cleanup_library();
    return finish_output(0);
}
