// parsefile: parses one XML file whole and reports on standard error only
// when it cannot be parsed.
// Usage: parsefile <file>

#include "common/handles.h"
#include "common/library.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        return 1;
    }

    xmlCheckVersion(LIBXML_VERSION);

    DocPtr doc(xmlReadFile(argv[1], nullptr, 0));
    if (!doc) {
        std::fprintf(stderr, "Failed to parse %s\n", argv[1]);
    }
    doc.reset();

    cleanup_library();
    return 0;
}
