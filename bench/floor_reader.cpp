// floor_reader: the library's own cost of streaming a file with the text
// reader: xmlTextReaderRead to the end, no queries, no output. The floor the
// reader tools are measured against. Usage: floor_reader FILE OPTIONS
// Exit status 1 when the file cannot be opened or read to its end.

#include "common/handles.h"

#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3) {
        return 2;
    }

    xmlCheckVersion(LIBXML_VERSION);

    int result = -1;
    ReaderPtr reader(xmlReaderForFile(argv[1], nullptr, std::atoi(argv[2])));
    if (reader) {
        do {
            result = xmlTextReaderRead(reader.get());
        } while (result == 1);
    }
    reader.reset();

    xmlCleanupParser();
    return result == 0 ? 0 : 1;
}
