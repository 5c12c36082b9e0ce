// floor_push: the library's own cost of push parsing a file in 4-byte chunks,
// as pushparse does, into a tree that is then freed. The file is read in large
// blocks, so what is left is the parser's work per chunk. The floor pushparse
// is measured against. Usage: floor_push FILE
// Exit status 1 when the file cannot be read or does not parse.

#include "common/handles.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        return 2;
    }

    xmlCheckVersion(LIBXML_VERSION);

    constexpr std::size_t chunk_size = 4;
    static char block[1 << 16]; // a multiple of chunk_size: every chunk but the last has 4 bytes
    int well_formed = 0;
    FILE *input = std::fopen(argv[1], "rb");
    if (input != nullptr) {
        std::size_t size = std::fread(block, 1, sizeof block, input);
        const auto first = static_cast<int>(size < chunk_size ? size : chunk_size);
        ParserCtxtPtr context(xmlCreatePushParserCtxt(nullptr, nullptr, block, first, argv[1]));
        std::size_t at = static_cast<std::size_t>(first);
        while (context && size > 0) {
            for (; at < size; at += chunk_size) {
                const std::size_t left = size - at;
                xmlParseChunk(context.get(), block + at, static_cast<int>(left < chunk_size ? left : chunk_size), 0);
            }
            size = std::fread(block, 1, sizeof block, input);
            at = 0;
        }
        if (context) {
            xmlParseChunk(context.get(), block, 0, 1);
            well_formed = context->wellFormed;
            DocPtr doc(context->myDoc);
            context.reset();
        }
        std::fclose(input);
    }

    xmlCleanupParser();
    return well_formed != 0 ? 0 : 1;
}
