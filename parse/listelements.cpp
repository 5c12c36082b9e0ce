// listelements: parses one XML file and prints the name of every element,
// depth first, each element before its descendants.
// Usage: listelements <file>

#include "common/handles.h"
#include "common/output.h"

#include <cstdio>

namespace {

// Prints a line for each element of the sibling chain and, recursively, below it.
void walk_elements(const xmlNode *node)
{
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            std::printf("node type: Element, name: %s\n", text_or_null(node->name));
        }
        // The children of an entity reference are the entity's declaration in
        // the DTD, not part of the document; following them would list foreign
        // elements and can recurse without end when entities refer to each other.
        if (node->type != XML_ENTITY_REF_NODE) {
            walk_elements(node->children);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        return 1;
    }

    xmlCheckVersion(LIBXML_VERSION);

    DocPtr doc(xmlReadFile(argv[1], nullptr, 0));
    if (!doc) {
        std::printf("error: could not parse file %s\n", argv[1]);
    }

    // An absent document has no root element, so the walk then does nothing.
    walk_elements(xmlDocGetRootElement(doc.get()));

    doc.reset();
    xmlCleanupParser();
    return finish_output(0);
}
