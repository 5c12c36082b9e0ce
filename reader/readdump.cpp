// readdump: streams an XML file through the text reader and writes one node
// line per node it stops on, in document order.
// Usage: readdump <xml-file>

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"
#include "reader/node_line.h"

#include <cassert>
#include <cstdio>

namespace {

// Prints every node of the file. A parse failure is reported only after the
// reader is freed, so its message follows the library's diagnostics.
void stream_file(const char *filename)
{
    assert(filename != nullptr);

    ReaderPtr reader(xmlReaderForFile(filename, nullptr, 0));
    if (!reader) {
        std::fprintf(stderr, "Unable to open %s\n", filename);
        return;
    }

    int result = xmlTextReaderRead(reader.get());
    while (result == 1) {
        print_reader_node(reader.get());
        result = xmlTextReaderRead(reader.get());
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
