// memdump: builds a document whose only element is "root" with the text
// "content", serialises it indented into a library-allocated buffer and prints it.
// Usage: memdump

#include "common/handles.h"
#include "common/library.h"
#include "common/output.h"

#include <cstdio>

namespace {

// Adds the root element with its text; false if the library could not.
bool add_root(xmlDoc *doc)
{
    xmlNode *root = xmlNewDocNode(doc, nullptr, library_text("root"), nullptr);
    if (root == nullptr) {
        return false;
    }
    xmlDocSetRootElement(doc, root);
    const auto *content = library_text("content");
#if XMLTOOLS_SET_CONTENT_HAS_STATUS
    return xmlNodeSetContent(root, content) == 0;
#else
    xmlNodeSetContent(root, content);
    return true;
#endif
}

} // namespace

int main()
{
    // A document the library could not build (for lack of memory) gives no
    // buffer either.
    const DocPtr doc(xmlNewDoc(library_text("1.0")));
    xmlChar *buffer = nullptr;
    if (doc && add_root(doc.get())) {
        int size = 0;
        xmlDocDumpFormatMemory(doc.get(), &buffer, &size, 1);
    }
    // Declared after the document, so the buffer is released first.
    const XmlStringPtr dump(buffer);
    if (!dump) {
        std::fputs("Failed to dump document\n", stderr);
        return finish_output(1);
    }

    std::fprintf(stdout, "%s", reinterpret_cast<const char *>(dump.get()));
    return finish_output(0);
}
