// memparse: parses a fixed document held in memory and reports on standard
// error only if the library cannot parse it.
// Usage: memparse (any arguments are ignored)

#include "common/handles.h"
#include "common/library.h"

#include <cstdio>

namespace {

// Exactly the 6 bytes of the document, without a terminating zero.
constexpr char document[] = {'<', 'd', 'o', 'c', '/', '>'};

} // namespace

int main()
{
    xmlCheckVersion(LIBXML_VERSION);

    // The name only labels the document in diagnostics and serves as its base URL; nothing is opened.
    DocPtr doc(xmlReadMemory(document, sizeof document, "noname.xml", nullptr, 0));
    if (!doc) {
        std::fputs("Failed to parse document\n", stderr);
    }
    doc.reset();

    cleanup_library();
    return 0;
}
