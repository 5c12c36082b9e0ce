// floor_parse: the library's own cost of parsing a file whole into a tree and
// freeing it; the floor the tree-building tools are measured against.
// Usage: floor_parse FILE   (exit status 1 when the file does not parse)

#include "common/handles.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        return 2;
    }

    xmlCheckVersion(LIBXML_VERSION);

    DocPtr doc(xmlReadFile(argv[1], nullptr, 0));
    const bool parsed = doc != nullptr;
    doc.reset();

    xmlCleanupParser();
    return parsed ? 0 : 1;
}
