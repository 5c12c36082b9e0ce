// readmany: reads several XML files one after another with a single text
// reader, reset for each further file, and writes one outcome line per file.
// After a file that fails, the next file gets a new reader: newer releases of
// the library keep a reader in its error state across a reset, which would
// make every later file fail too.
// Usage: readmany <xml-file> [<xml-file> ...]

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"

#include <cassert>
#include <cstdio>

namespace {

// Reads the reader's file to its end and reports it under the document's URL.
// The document stays with the reader; the next reset or release_reader
// disposes of it. Returns 0 when the file was read to its end, -1 otherwise.
int drain_and_report(xmlTextReader *reader)
{
    assert(reader != nullptr);

    int result = xmlTextReaderRead(reader);
    while (result == 1) {
        result = xmlTextReaderRead(reader);
    }

    const xmlDoc *doc = xmlTextReaderCurrentDoc(reader);
    if (doc == nullptr) {
        std::fputs("failed to obtain document\n", stderr);
        return -1;
    }

    const xmlChar *url = doc->URL;
    if (url == nullptr) {
        std::fputs("Failed to obtain URL\n", stderr);
    }

    if (result == 0) {
        std::fprintf(stdout, "%s: Processed ok\n", text_or_null(url));
        return 0;
    }
    std::fprintf(stderr, "%s: Failed to parse\n", text_or_null(url));
    return -1;
}

// Frees a reader and the document it holds: taking the document made the
// reader give it up, so it is freed here, before the reader.
void release_reader(ReaderPtr &reader)
{
    if (reader) {
        DocPtr doc(xmlTextReaderCurrentDoc(reader.get()));
        doc.reset();
        reader.reset();
    }
}

// Makes the reader ready for a further file: the same reader reset while the
// files before went well, a new one after a failure. Returns 0 when it is
// ready, -1 when the file cannot be opened.
int open_next(ReaderPtr &reader, bool reusable, const char *file)
{
    if (reusable) {
        return xmlReaderNewFile(reader.get(), file, nullptr, 0) == 0 ? 0 : -1;
    }
    release_reader(reader);
    reader.reset(xmlReaderForFile(file, nullptr, 0));
    return reader ? 0 : -1;
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
    bool reusable = drain_and_report(reader.get()) == 0;

    for (int i = 2; i < argc; ++i) {
        // A file that cannot be opened has no document to report under its
        // URL, so it is reported under its argument.
        if (open_next(reader, reusable, argv[i]) != 0) {
            std::fprintf(stderr, "%s: Failed to parse\n", argv[i]);
            reusable = reader != nullptr;
            continue;
        }
        reusable = drain_and_report(reader.get()) == 0;
    }

    release_reader(reader);
    cleanup_library();
    return finish_output(0);
}
