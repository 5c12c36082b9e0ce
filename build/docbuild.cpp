// docbuild: builds a fixed document node by node (a document type declaration,
// elements, attributes, a text node, generated names) and saves it indented as
// UTF-8. Usage: docbuild [<output-file>]   (standard output without an argument)

#include "common/handles.h"
#include "common/library.h"

#include <cassert>
#include <cstdio>
#include <cstring>

namespace {

// Adds node<i> under root and, below it, node<i>1 to node<i>3 with an
// attribute "odd" that is "no" on node<i>1 and node<i>3 and "yes" on node<i>2
// (the document's fixed layout). False if the library could not
// create one of them (for lack of memory).
bool add_generated_nodes(xmlNode *root, int i)
{
    assert(root != nullptr);

    char name[256];
    std::snprintf(name, sizeof name, "node%d", i);
    xmlNode *parent = xmlNewChild(root, nullptr, library_text(name), nullptr);
    if (parent == nullptr) {
        return false;
    }
    for (int j = 1; j <= 3; ++j) {
        std::snprintf(name, sizeof name, "node%d%d", i, j);
        xmlNode *child = xmlNewChild(parent, nullptr, library_text(name), nullptr);
        if (child == nullptr ||
            xmlNewProp(child, library_text("odd"), library_text(j % 2 != 0 ? "no" : "yes")) == nullptr) {
            return false;
        }
    }
    return true;
}

// Adds node4 under root, with its text made as a node of its own.
bool add_text_node(xmlDoc *doc, xmlNode *root)
{
    xmlNode *node4 = xmlNewDocNode(doc, nullptr, library_text("node4"), nullptr);
    if (node4 == nullptr) {
        return false;
    }
    xmlNode *text = xmlNewDocText(doc, library_text("other way to create content (which is also a node)"));
    if (text == nullptr) {
        xmlFreeNode(node4);
        return false;
    }
    // Attaching cannot fail here: the library refuses only absent, identical
    // or namespace nodes, and a text node is merged (which may allocate) only
    // into a text node beside it, which node4 does not have.
    xmlAddChild(node4, text);
    xmlAddChild(root, node4);
    return true;
}

// The fixed document; empty if the library could not create one of its parts
// (for lack of memory), which is then reported as a document not saved.
DocPtr build_document()
{
    DocPtr doc(xmlNewDoc(library_text("1.0")));
    if (!doc) {
        return doc;
    }
    xmlNode *root = xmlNewDocNode(doc.get(), nullptr, library_text("root"), nullptr);
    if (root == nullptr) {
        return nullptr;
    }
    xmlDocSetRootElement(doc.get(), root);

    if (xmlCreateIntSubset(doc.get(), library_text("root"), nullptr, library_text("sampler.dtd")) == nullptr ||
        xmlNewChild(root, nullptr, library_text("node1"), library_text("content of node 1")) == nullptr ||
        xmlNewChild(root, nullptr, library_text("node2"), nullptr) == nullptr) {
        return nullptr;
    }
    xmlNode *node3 = xmlNewChild(root, nullptr, library_text("node3"), library_text("this node has attributes"));
    if (node3 == nullptr || xmlNewProp(node3, library_text("attribute"), library_text("yes")) == nullptr ||
        xmlNewProp(node3, library_text("foo"), library_text("bar")) == nullptr) {
        return nullptr;
    }
    if (!add_text_node(doc.get(), root) || !add_generated_nodes(root, 5) || !add_generated_nodes(root, 6)) {
        return nullptr;
    }
    return doc;
}

// Saves the document indented as UTF-8; "-" names standard output. Returns
// -1 when the library reports a failure or, for standard output, when the
// stream could not take the bytes: some releases count what they handed to
// the stream, so only the stream's error state shows a failed write there.
int save_document(const char *output_name, xmlDoc *doc)
{
    assert(output_name != nullptr);
    assert(doc != nullptr);

    if (xmlSaveFormatFileEnc(output_name, doc, "UTF-8", 1) < 0) {
        return -1;
    }
    if (std::strcmp(output_name, "-") == 0) {
        // A failed flush sets the error indicator too, so that alone tells.
        std::fflush(stdout);
        // 2.15 reports a failed write itself, so there this branch is untaken.
        if (std::ferror(stdout) != 0) { // GCOVR_EXCL_BR_WITHOUT_HIT: 1/2
            return -1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    xmlCheckVersion(LIBXML_VERSION);

    const char *output_name = argc > 1 ? argv[1] : "-";
    DocPtr doc = build_document();
    const int saved = doc ? save_document(output_name, doc.get()) : -1;
    if (saved < 0) {
        std::fprintf(stderr, "Failed to save %s\n", output_name);
    }

    doc.reset();
    cleanup_library();
    return saved < 0 ? 1 : 0;
}
