// readmany: reads several XML files one after another with a single text
// reader, reset for each further file, and writes one outcome line per file.
// Usage: readmany <xml-file> [<xml-file> ...]

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"

#include <cassert>
#include <cstdio>

namespace {

// Reads the reader's file to its end and reports it under the document's URL.
// The document stays with the reader; the next reset or the end of main
// disposes of it.
void drain_and_report(xmlTextReader *reader)
{
    assert(reader != nullptr);

    int result = xmlTextReaderRead(reader);
    while (result == 1) {
        result = xmlTextReaderRead(reader);
    }

    const xmlDoc *doc = xmlTextReaderCurrentDoc(reader);
    if (doc == nullptr) {
        std::fputs("failed to obtain document\n", stderr);
        return;
    }

    const xmlChar *url = doc->URL;
    if (url == nullptr) {
        std::fputs("Failed to obtain URL\n", stderr);
    }

    if (result == 0) {
        std::fprintf(stdout, "%s: Processed ok\n", text_or_null(url));
    } else {
        std::fprintf(stderr, "%s: Failed to parse\n", text_or_null(url));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        return 1;
    }

    xmlCheckVersion(LIBXML_VERSION);

    ReaderPtr reader(xmlReaderForFile(argv[1], nullptr, 0));
    if (!reader) {
        std::fprintf(stderr, "%s: failed to create reader\n", argv[1]);
        return finish_output(1);
    }
    drain_and_report(reader.get());

    for (int i = 2; i < argc; ++i) {
        // A failed reset leaves the reader on the previous file; draining it
        // again would report that file's outcome under this argument's turn.
        if (xmlReaderNewFile(reader.get(), argv[i], nullptr, 0) != 0) {
            std::fprintf(stderr, "%s: Failed to parse\n", argv[i]);
            continue;
        }
        drain_and_report(reader.get());
    }

    // Taking a document made the reader give it up, so the last file's
    // document is freed here, before the reader.
    DocPtr last_doc(xmlTextReaderCurrentDoc(reader.get()));
    last_doc.reset();
    reader.reset();

    cleanup_library();
    return finish_output(0);
}
