// readextract: streams an XML file with a preserve pattern, so that the reader
// keeps the nodes matching it, then writes the kept document as XML.
// Usage: readextract [<xml-file> <pattern>] (default: test3.xml preserved)

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"

#include <cassert>
#include <cstdio>

namespace {

// Reads the whole file, keeping what the pattern matches, and writes the
// document the reader kept. The document is taken before the reader is freed
// and outlives it.
void extract_file(const char *filename, const char *pattern)
{
    assert(filename != nullptr);
    assert(pattern != nullptr);

    ReaderPtr reader(xmlReaderForFile(filename, nullptr, 0));
    if (!reader) {
        std::fprintf(stderr, "Unable to open %s\n", filename);
        return;
    }

    if (xmlTextReaderPreservePattern(reader.get(), library_text(pattern), nullptr) < 0) {
        std::fprintf(stderr, "%s : failed add preserve pattern %s\n", filename, pattern);
    }

    int result = xmlTextReaderRead(reader.get());
    while (result == 1) {
        result = xmlTextReaderRead(reader.get());
    }

    if (result != 0) {
        std::fprintf(stderr, "%s : failed to parse\n", filename);
        return;
    }

    DocPtr doc(xmlTextReaderCurrentDoc(reader.get()));
    reader.reset();
    if (doc) {
        dump_document(doc.get());
    }
}

} // namespace

int main(int argc, char **argv)
{
    const char *filename = "test3.xml";
    const char *pattern = "preserved";
    if (argc == 3) {
        filename = argv[1];
        pattern = argv[2];
    }

    xmlCheckVersion(LIBXML_VERSION);

    extract_file(filename, pattern);

    cleanup_library();
    return finish_output(0);
}
