// memdump: builds a document whose only element is "root" with the text
// "content", serialises it indented into a library-allocated buffer and prints it.
// Usage: memdump

#include "common/handles.h"
#include "common/output.h"

#include <cstdio>

int main()
{
    const auto *root_name = reinterpret_cast<const xmlChar *>("root");
    const auto *content = reinterpret_cast<const xmlChar *>("content");

    const DocPtr doc(xmlNewDoc(reinterpret_cast<const xmlChar *>("1.0")));
    xmlNode *root = xmlNewDocNode(doc.get(), nullptr, root_name, nullptr);
    xmlNodeSetContent(root, content);
    xmlDocSetRootElement(doc.get(), root);

    xmlChar *buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemory(doc.get(), &buffer, &size, 1);
    // Declared after the document, so the buffer is released first.
    const XmlStringPtr dump(buffer);
    if (!dump) {
        std::fputs("Failed to dump document\n", stderr);
        return finish_output(1);
    }

    std::fprintf(stdout, "%s", reinterpret_cast<const char *>(dump.get()));
    return finish_output(0);
}
