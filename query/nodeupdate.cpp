// nodeupdate: parses an XML file, replaces the content of every node an XPath
// expression selects by the given value, and prints the changed document.
// Usage: nodeupdate <xml-file> <xpath-expr> <value>

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"

#include <libxml/xmlerror.h>
#include <libxml/xpathInternals.h>

#include <cassert>
#include <cstdio>

namespace {

void usage(const char *name)
{
    std::fprintf(stderr, "Usage: %s <xml-file> <xpath-expr> <value>\n", text_or_null(name));
}

// Sets the content of every node of the set, last first: in reverse document
// order a descendant is updated before the ancestor whose update discards it.
// Each updated entry is cleared from the set, so releasing the result later
// never touches a node that is gone. A namespace entry is the set's own copy,
// linked to the element that declares it; the copy is released here, while
// that element still exists, because releasing it looks at the element and an
// ancestor's update may discard the element before the result is released.
// False if an update failed (for lack of memory, where the release reports
// it); the entries not yet updated are left to the result's release.
bool update_xpath_nodes(xmlNodeSet *nodes, const xmlChar *value)
{
    assert(value != nullptr);

    const int size = nodes != nullptr ? nodes->nodeNr : 0;
    for (int i = size - 1; i >= 0; --i) {
        xmlNode *node = nodes->nodeTab[i];
        assert(node != nullptr);
#if XMLTOOLS_SET_CONTENT_HAS_STATUS
        if (xmlNodeSetContent(node, value) < 0) {
            return false;
        }
#else
        xmlNodeSetContent(node, value);
#endif
        if (node->type == XML_NAMESPACE_DECL) {
            xmlXPathNodeSetFreeNs(reinterpret_cast<xmlNs *>(node));
        }
        nodes->nodeTab[i] = nullptr;
    }
    return true;
}

int example4(const char *filename, const xmlChar *expression, const xmlChar *value)
{
    assert(filename != nullptr);
    assert(expression != nullptr);
    assert(value != nullptr);

    xmlResetLastError();
    DocPtr doc(xmlParseFile(filename));
    // Only 2.9.14 hands back a document after a failed allocation; the tests' call log feigns one.
    if (!doc || library_out_of_memory()) {
        std::fprintf(stderr, "Error: unable to parse file \"%s\"\n", filename);
        return -1;
    }

    XPathContextPtr context(xmlXPathNewContext(doc.get()));
    if (!context) {
        std::fputs("Error: unable to create new XPath context\n", stderr);
        return -1;
    }

    xmlResetLastError();
    XPathObjectPtr result(xmlXPathEvalExpression(expression, context.get()));
    // Only 2.9.14 hands back a result after a failed allocation: 2.15 leaves those branches untaken.
    if (result && library_out_of_memory()) { // GCOVR_EXCL_BR_WITHOUT_HIT: 2/6
        // Left unreleased: freeing it may free what the library already has.
        static_cast<void>(result.release());
    }
    if (!result) {
        std::fprintf(stderr, "Error: unable to evaluate xpath expression \"%s\"\n",
                     reinterpret_cast<const char *>(expression));
        return -1;
    }

    if (!update_xpath_nodes(result->nodesetval, value)) {
        std::fputs("Error: unable to update the selected nodes\n", stderr);
        return -1;
    }

    // The result and the context go before the document is written.
    result.reset();
    context.reset();
    dump_document(doc.get());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("Error: wrong number of arguments.\n", stderr);
        usage(argv[0]);
        return -1;
    }

    xmlInitParser();
    xmlCheckVersion(LIBXML_VERSION);

    if (example4(argv[1], library_text(argv[2]), library_text(argv[3])) < 0) {
        usage(argv[0]);
        return finish_output(-1);
    }

    cleanup_library();
    return finish_output(0);
}
